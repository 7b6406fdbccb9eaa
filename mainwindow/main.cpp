#include "core/clock.h"
#include "core/programfolder.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/pictures.h"
#include "mainwindow/programstart.h"
#include "platform/dialogs.h"
#include "platform/translations.h"
#include "platform/platformservices.h"

#include <QApplication>
#include <QLockFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    SystemClock::settleTimeZone();
    QApplication app(argc, argv);
    // The program ends through its exit sequence only, never because the last visible
    // window closed (the main window may be hidden in the tray).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setWindowIcon(Pictures::programIcon());
    useRussianLocale();
    ProgramFolder::init(QApplication::arguments());
    const auto services = installPlatformServices(QApplication::arguments());

    // Checked before any file is touched: a second Korvane on one folder would write
    // over the first one's files.
    const ProgramStart::Claim claim = ProgramStart::claimFolder(ProgramFolder::home());
    if (!claim.ok) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(claim.refusal));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            Dialogs::instance().message(QStringLiteral("Ошибка"), claim.refusal, Dialogs::Icon::Critical);
        return 1;
    }

    BotApplication bot;
    // A termination signal ends the run the way the exit menu item does.
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::received, &bot.exitSequence(), &ExitSequence::run);
    bot.startup().hooks().askQuestion = StartupSequence::questionWithoutBlocking(&bot.mainWindow());
    bot.run();
    return QApplication::exec();
}
