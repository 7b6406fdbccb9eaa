#include "recordwindows/day_chart.h"

#include <QPainter>
#include <QPalette>

DayChart::DayChart(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DayChart::setDays(const QList<StatisticsRecords::DayCount> &days)
{
    m_days = days;
    update();
}

QSize DayChart::sizeHint() const
{
    return {420, 160};
}

QSize DayChart::minimumSizeHint() const
{
    return {200, 100};
}

void DayChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (m_days.isEmpty())
        return;
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height();
    const QRect area = rect().adjusted(4, textHeight + 4, -4, -(textHeight + 4));
    if (area.height() <= 0 || area.width() <= 0)
        return;
    qint64 most = 1;
    for (const StatisticsRecords::DayCount &day : m_days)
        most = std::max(most, day.requests);
    const double slot = double(area.width()) / double(m_days.size());
    const int barWidth = std::max(1, int(slot * 0.7));
    const QColor bar = palette().color(QPalette::Highlight);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    for (int i = 0; i < m_days.size(); ++i) {
        const StatisticsRecords::DayCount &day = m_days.at(i);
        const int x = area.left() + int(slot * i + (slot - barWidth) / 2);
        const int height = int(double(area.height()) * double(day.requests) / double(most));
        const QRect barRect(x, area.bottom() - height, barWidth, height);
        painter.fillRect(barRect, bar);
        const QRect column(area.left() + int(slot * i), 0, int(slot), textHeight);
        painter.drawText(column.translated(0, barRect.top() - textHeight - 2), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(day.requests));
        painter.drawText(column.translated(0, area.bottom() + 2), Qt::AlignHCenter | Qt::AlignTop,
                         day.date.toString(QStringLiteral("dd.MM")));
    }
}
