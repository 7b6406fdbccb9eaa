// Bindlet: one click puts Korvane into the desktop's applications menu and its default
// sounds into its program folder, for the user who runs it.
#include "core/programfolder.h"
#include "platform/platformservices.h"
#include "platform/translations.h"
#include "registrar/bindlet_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bindlet"));
    useRussianLocale();
    // Korvane beside Bindlet finds its program folder by the same rule.
    ProgramFolder::init(QApplication::arguments());
    const auto services = installPlatformServices(QApplication::arguments());

    ProcessStarter starter;
    Bindlet::Form1 window(BindletJob(BindletJob::standardFolders(QApplication::applicationDirPath())),
                          starter);
    window.show();
    return QApplication::exec();
}
