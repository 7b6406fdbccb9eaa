#include "settings/install.h"

#include "platform/windowhost.h"
#include "settings/about_window.h"
#include "settings/admin_contact_window.h"
#include "settings/agreement_window.h"
#include "settings/antispam_window.h"
#include "settings/help_window.h"
#include "settings/news_window.h"
#include "settings/notepad_window.h"
#include "settings/redirect_window.h"
#include "settings/sendmessagefill.h"
#include "settings/settings_window.h"
#include "settings/signature_window.h"
#include "settings/subbot_switch_windows.h"
#include "settings/support_window.h"
#include "settings/tutorial_window.h"
#include "settings/vote_window.h"

void installSettingsWindows(WindowHost &windows)
{
    windows.registerFactory(QStringLiteral("Form1"), [](QWidget *parent) -> QWidget * { return new Form1(parent); });
    windows.registerFactory(QStringLiteral("Form48"),
                            [](QWidget *parent) -> QWidget * { return new Form48(parent); });
    windows.registerFactory(QStringLiteral("Form44"),
                            [](QWidget *parent) -> QWidget * { return new Form44(parent); });
    windows.registerFactory(QStringLiteral("Form45"),
                            [](QWidget *parent) -> QWidget * { return new Form45(parent); });
    windows.registerFactory(QStringLiteral("Form46"),
                            [](QWidget *parent) -> QWidget * { return new Form46(parent); });
    windows.registerFactory(QStringLiteral("Form26"),
                            [&windows](QWidget *parent) -> QWidget * { return new Form26(windows, parent); });
    windows.registerFactory(QStringLiteral("Form4"), [&windows](QWidget *parent) -> QWidget * {
        return new Form4(composeInSendMessageWindow(windows), parent);
    });
    windows.registerFactory(QStringLiteral("Form8"), [&windows](QWidget *parent) -> QWidget * {
        return new Form8(composeInSendMessageWindow(windows), parent);
    });
    windows.registerFactory(QStringLiteral("Form27"),
                            [](QWidget *parent) -> QWidget * { return new Form27(parent); });
    // Nothing in the program opens the news window by itself.
    windows.addWindow(QStringLiteral("Form22"), Form22::Caption, WindowHost::Placement::Child,
                      [](QWidget *parent) -> QWidget * { return new Form22(parent); });
    installFeatureWindows(windows);
}

void installFeatureWindows(WindowHost &windows)
{
    // The frame outlives its windows: they show their neighbours through it.
    windows.registerFactory(QStringLiteral("Form18"), [](QWidget *parent) -> QWidget * { return new Form18(parent); });
    windows.registerFactory(QStringLiteral("Form23"),
                            [&windows](QWidget *parent) -> QWidget * { return new Form23(windows, parent); });
    windows.registerFactory(QStringLiteral("Form24"),
                            [&windows](QWidget *parent) -> QWidget * { return new Form24(windows, parent); });
    windows.registerFactory(QStringLiteral("Form32"), [](QWidget *parent) -> QWidget * { return new Form32(parent); });
    windows.registerFactory(QStringLiteral("Form34"), [](QWidget *parent) -> QWidget * { return new Form34(parent); });
    windows.registerFactory(QStringLiteral("Form39"),
                            [&windows](QWidget *parent) -> QWidget * { return new Form39(windows, parent); });
    windows.addWindow(QStringLiteral("Form40"), QStringLiteral("Результаты голосваний"), WindowHost::Placement::Child,
                      [](QWidget *parent) -> QWidget * { return new Form40(parent); });
}

void showDistributionPage(WindowHost &windows)
{
    if (auto *settings = windows.show<Form1>(QStringLiteral("Form1")))
        settings->showDistributionPage();
}
