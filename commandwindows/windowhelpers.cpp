#include "commandwindows/windowhelpers.h"

#include "platform/dialogs.h"

namespace CommandWindows {

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
