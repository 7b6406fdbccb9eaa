#include "mainwindow/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <functional>

namespace {

constexpr int Size = 32;

QIcon draw(const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

// Send message: an envelope.
void envelope(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 90), 1.5));
    p.setBrush(QColor(250, 240, 200));
    p.drawRect(QRectF(3, 8, 26, 17));
    p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(16, 18), QPointF(29, 8)}));
}

// Settings: a gear.
void gear(QPainter &p)
{
    const QPointF centre(16, 16);
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal angle = M_PI * i / teeth;
        const qreal radius = (i % 2 == 0) ? 14 : 10;
        const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    path.addEllipse(centre, 4.5, 4.5);
    p.setPen(QPen(QColor(50, 50, 50), 1));
    p.setBrush(QColor(150, 155, 165));
    p.drawPath(path);
}

// Command manager: a sheet with lines.
void sheet(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 70), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 20, 26));
    p.setPen(QPen(QColor(40, 90, 170), 2));
    for (int y = 9; y <= 23; y += 5)
        p.drawLine(QPointF(10, y), QPointF(22, y));
}

// About: an "i" in a blue disc.
void info(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 200));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 7, 4, 4));
    p.drawRect(QRectF(14, 13, 4, 12));
}

// Group manager: two people.
void people(QPainter &p)
{
    p.setPen(QPen(QColor(40, 60, 40), 1));
    p.setBrush(QColor(110, 170, 110));
    p.drawEllipse(QRectF(16, 5, 9, 9));
    p.drawChord(QRectF(12, 15, 17, 20), 0, 180 * 16);
    p.setBrush(QColor(70, 140, 200));
    p.drawEllipse(QRectF(6, 8, 9, 9));
    p.drawChord(QRectF(2, 18, 17, 20), 0, 180 * 16);
}

// The program: a speech bubble.
void bubble(QPainter &p)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(2, 3, 28, 20), 6, 6);
    path.moveTo(8, 22);
    path.lineTo(6, 30);
    path.lineTo(15, 22);
    p.setPen(QPen(QColor(20, 90, 30), 1.5));
    p.setBrush(QColor(90, 190, 80));
    p.drawPath(path.simplified());
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    for (int x = 9; x <= 23; x += 7)
        p.drawEllipse(QPointF(x, 13), 2.2, 2.2);
}

} // namespace

namespace Pictures {

QIcon toolbarPicture(const QString &key)
{
    if (key == u"too1")
        return draw(envelope);
    if (key == u"too2")
        return draw(gear);
    if (key == u"too3")
        return draw(sheet);
    if (key == u"too4")
        return draw(info);
    if (key == u"too5")
        return draw(people);
    return QIcon();
}

QIcon programIcon()
{
    return draw(bubble);
}

} // namespace Pictures
