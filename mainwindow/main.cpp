#include "core/programfolder.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/pictures.h"
#include "platform/platformservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setWindowIcon(Pictures::programIcon());
    ProgramFolder::init(QApplication::arguments());
    const auto services = installPlatformServices(QApplication::arguments());

    BotApplication bot;
    bot.start();
    return QApplication::exec();
}
