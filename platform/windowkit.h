#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

class QMouseEvent;

// What every window repeats: its controls named, the frame it sits in, a label to click.
namespace WindowKit {

// A control named as the tests and the other windows find it.
template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The decorations: a framed area, and a sunken line across.
QFrame *shape(const char *name, QWidget *parent);
QFrame *line(const char *name, QWidget *parent);

// The frame a window sits in inside the main window's area, else the window itself.
QWidget *frameOf(QWidget *window);
// Hides a window, or its frame in the main window's area; it stays loaded, and showing
// it again through the frame brings it back as it was. Nothing for nullptr.
void hideInFrame(QWidget *window);

} // namespace WindowKit

// A label that acts as a link, underlined under a pointing hand: a left click released
// on it emits clicked().
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
