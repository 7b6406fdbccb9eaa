#pragma once

#include <QLabel>
#include <QMouseEvent>

// A label that acts as a link: a left click on it emits clicked().
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr)
        : QLabel(text, parent)
    {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setCursor(Qt::PointingHandCursor);
    }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
    }
};
