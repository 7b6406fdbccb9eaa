#pragma once

#include "records/statisticsrecords.h"

#include <QList>
#include <QRect>
#include <QWidget>

// Bars of a count per day, drawn with QPainter: the day under each bar, the count above.
// At any width the day labels stand apart: when they do not fit under every bar, only
// every second, third... bar is labelled, counting back from the last day; a count wider
// than its bar is turned upright.
class DayChart : public QWidget
{
    Q_OBJECT
public:
    explicit DayChart(QWidget *parent = nullptr);

    void setDays(const QList<StatisticsRecords::DayCount> &days);
    QList<StatisticsRecords::DayCount> days() const { return m_days; }

    // Where the shown day labels and counts are drawn at the current size, in the order of
    // the days; the counts as they stand on screen (upright ones taller than wide).
    QList<QRect> labelRects() const { return layout().labels; }
    QList<QRect> valueRects() const { return layout().values; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Layout
    {
        QList<QRect> bars;
        QList<int> labelled; // the days whose label is shown
        QList<QRect> labels;
        QList<QRect> values;
        bool uprightValues = false;
    };
    Layout layout() const;

    QList<StatisticsRecords::DayCount> m_days;
};
