#include "settings/settingsinstall.h"

#include "platform/windowhost.h"
#include "settings/agreement_window.h"
#include "settings/settings_window.h"

void installSettingsWindows(WindowHost &windows)
{
    windows.registerFactory(QStringLiteral("Form1"), [](QWidget *parent) -> QWidget * { return new Form1(parent); });
    windows.registerFactory(QStringLiteral("Form48"),
                            [](QWidget *parent) -> QWidget * { return new Form48(parent); });
}

void showDistributionPage(WindowHost &windows)
{
    if (auto *settings = qobject_cast<Form1 *>(windows.showWindow(QStringLiteral("Form1"))))
        settings->showDistributionPage();
}
