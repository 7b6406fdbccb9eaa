#pragma once

#include "records/statisticsrecords.h"

#include <QList>
#include <QWidget>

// Bars of a count per day, drawn with QPainter: the day under each bar, the count above.
class DayChart : public QWidget
{
    Q_OBJECT
public:
    explicit DayChart(QWidget *parent = nullptr);

    void setDays(const QList<StatisticsRecords::DayCount> &days);
    QList<StatisticsRecords::DayCount> days() const { return m_days; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<StatisticsRecords::DayCount> m_days;
};
