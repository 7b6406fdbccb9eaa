#include "settings/settingspage.h"

SettingsPage::SettingsPage(QWidget *parent)
    : QWidget(parent)
{}

SettingsPage::SaveResult SettingsPage::apply()
{
    const SaveResult result = save();
    // The operator clicked: a modal box is fine here.
    if (!result.text.isEmpty())
        Dialogs::instance().message(result.title, result.text, result.icon(), Dialogs::Buttons::Ok);
    return result;
}
