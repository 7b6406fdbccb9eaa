#include "recordwindows/day_chart.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

namespace {

constexpr int Margin = 4;
// Room between two neighbouring labels.
constexpr int LabelGap = 6;
// The bars a chart is usually asked to show; its minimum width keeps them apart.
constexpr int UsualDays = 14;

QString labelOf(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM"));
}

} // namespace

DayChart::DayChart(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DayChart::setDays(const QList<StatisticsRecords::DayCount> &days)
{
    m_days = days;
    updateGeometry();
    update();
}

QSize DayChart::sizeHint() const
{
    return {420, 160};
}

QSize DayChart::minimumSizeHint() const
{
    // Every bar at least as wide as an upright count, so counts never touch.
    const int bars = std::max(UsualDays, int(m_days.size()));
    const int slot = fontMetrics().height() + 2;
    return {std::max(200, bars * slot + 2 * Margin), 100};
}

DayChart::Layout DayChart::layout() const
{
    Layout result;
    if (m_days.isEmpty())
        return result;
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height();
    int widestValue = 0;
    qint64 most = 1;
    for (const StatisticsRecords::DayCount &day : m_days) {
        most = std::max(most, day.requests);
        widestValue = std::max(widestValue, metrics.horizontalAdvance(QString::number(day.requests)));
    }
    const int areaWidth = width() - 2 * Margin;
    if (areaWidth <= 0)
        return result;
    const double slot = double(areaWidth) / double(m_days.size());
    result.uprightValues = widestValue + 2 > slot;
    const int valueHeight = result.uprightValues ? widestValue : textHeight;
    const QRect area = rect().adjusted(Margin, valueHeight + Margin, -Margin, -(textHeight + Margin));
    if (area.height() <= 0)
        return result;

    const int barWidth = std::max(1, int(slot * 0.7));
    for (int i = 0; i < m_days.size(); ++i) {
        const StatisticsRecords::DayCount &day = m_days.at(i);
        const int x = area.left() + int(slot * i + (slot - barWidth) / 2);
        const int height = int(double(area.height()) * double(day.requests) / double(most));
        result.bars.append(QRect(x, area.bottom() + 1 - height, barWidth, height));
        const int center = x + barWidth / 2;
        const QString value = QString::number(day.requests);
        const int valueWidth = metrics.horizontalAdvance(value);
        const int top = result.bars.last().top() - 2;
        if (result.uprightValues)
            result.values.append(QRect(center - textHeight / 2, top - valueWidth, textHeight, valueWidth));
        else
            result.values.append(QRect(center - valueWidth / 2, top - textHeight, valueWidth, textHeight));
    }

    // Every step-th day is labelled, counting back from the last day; a label pushed
    // inside the chart at its edge is left out when it would touch its neighbour.
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("00.00"));
    const int step = std::max(1, int(std::ceil(double(labelWidth + LabelGap) / slot)));
    for (int i = int(m_days.size()) - 1; i >= 0; i -= step) {
        const int center = result.bars.at(i).center().x();
        QRect label(center - labelWidth / 2, area.bottom() + 2, labelWidth, textHeight);
        if (label.left() < 0)
            label.moveLeft(0);
        if (label.right() > width() - 1)
            label.moveRight(width() - 1);
        if (!result.labels.isEmpty() && label.right() + LabelGap / 2 >= result.labels.first().left())
            continue;
        result.labelled.prepend(i);
        result.labels.prepend(label);
    }
    return result;
}

void DayChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const Layout shown = layout();
    if (shown.bars.isEmpty())
        return;
    const QColor bar = palette().color(QPalette::Highlight);
    painter.setPen(palette().color(QPalette::Text));
    const int baseline = shown.bars.first().bottom();
    painter.drawLine(QPoint(Margin, baseline), QPoint(width() - Margin, baseline));
    for (int i = 0; i < shown.bars.size(); ++i) {
        painter.fillRect(shown.bars.at(i), bar);
        const QString value = QString::number(m_days.at(i).requests);
        const QRect place = shown.values.at(i);
        if (shown.uprightValues) {
            painter.save();
            painter.translate(place.bottomLeft() + QPoint(0, 1));
            painter.rotate(-90);
            painter.drawText(QRect(0, 0, place.height(), place.width()), Qt::AlignLeft | Qt::AlignVCenter, value);
            painter.restore();
        } else {
            painter.drawText(place, Qt::AlignCenter, value);
        }
    }
    for (int i = 0; i < shown.labels.size(); ++i)
        painter.drawText(shown.labels.at(i), Qt::AlignCenter, labelOf(m_days.at(shown.labelled.at(i)).date));
}
