#pragma once

#include "commands/commandeditor.h"

#include <QLabel>
#include <QString>

#include <functional>

class QWidget;

namespace CommandWindows {

// Shows a window of the main window by its name (created on first use, raised when
// open); nullptr when it could not be shown.
using ShowWindow = std::function<QWidget *(const QString &name)>;

// Hides the window, or its frame in the main window's area; it stays loaded.
void hideWindow(QWidget *window);

// The box of a failed edit; nothing for a success.
void showFailure(const CommandEditor::Result &result);
// An "Ошибка" box with the information icon.
void showError(const QString &text);

} // namespace CommandWindows

// A label that acts as a link: a click emits clicked().
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
