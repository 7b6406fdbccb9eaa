#include "platform/windowkit.h"

#include "platform/windowhost.h"

#include <QMdiSubWindow>
#include <QMouseEvent>

namespace WindowKit {

QFrame *shape(const char *name, QWidget *parent)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

QFrame *line(const char *name, QWidget *parent)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QWidget *frameOf(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        return frame;
    return window;
}

void hideInFrame(QWidget *window)
{
    if (window)
        frameOf(window)->hide();
}

} // namespace WindowKit

void WindowHost::hideWindow(const QString &name)
{
    WindowKit::hideInFrame(findWindow(name));
}

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
