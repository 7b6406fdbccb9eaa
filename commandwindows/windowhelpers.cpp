#include "commandwindows/windowhelpers.h"

#include "platform/dialogs.h"

#include <QMdiSubWindow>
#include <QMouseEvent>

namespace CommandWindows {

void hideWindow(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->hide();
    else
        window->hide();
}

void showFailure(const CommandEditor::Result &result)
{
    const CommandEditor::Message message = CommandEditor::messageFor(result);
    if (message.text.isEmpty())
        return;
    // A refusal informs; a failed read or write warns.
    const bool refusal =
        result.outcome == CommandEditor::Outcome::NotFound || result.outcome == CommandEditor::Outcome::BadName;
    const auto icon = refusal ? Dialogs::Icon::Information : Dialogs::Icon::Warning;
    Dialogs::instance().message(message.title, message.text, icon, Dialogs::Buttons::Ok);
}

void showError(const QString &text)
{
    Dialogs::instance().message(CommandEditor::ErrorTitle, text, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

} // namespace CommandWindows

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
