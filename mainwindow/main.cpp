#include "core/programfolder.h"
#include "mainwindow/main_window.h"
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

    MDIForm1 window;
    window.show();
    return QApplication::exec();
}
