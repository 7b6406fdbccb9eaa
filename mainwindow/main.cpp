#include "core/programfolder.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/pictures.h"
#include "platform/platformservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The program ends through its exit sequence only, never because the last visible
    // window closed (the main window may be hidden in the tray).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setWindowIcon(Pictures::programIcon());
    ProgramFolder::init(QApplication::arguments());
    const auto services = installPlatformServices(QApplication::arguments());

    BotApplication bot;
    // A termination signal ends the run the way the exit menu item does.
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::received, &bot.exitSequence(), &ExitSequence::run);
    bot.startup().hooks().askQuestion = StartupSequence::questionWithoutBlocking(&bot.mainWindow());
    bot.run();
    return QApplication::exec();
}
