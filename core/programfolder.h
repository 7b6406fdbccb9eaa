#pragma once

#include <QString>
#include <QStringList>

// The program folder every data path is relative to: --home DIR, else
// KORVANE_HOME, else the executable's folder.
class ProgramFolder
{
public:
    // Reads --home DIR (or --home=DIR) from the arguments, then the environment.
    static void init(const QStringList &arguments);
    static void setHome(const QString &directory);
    static QString home();

    // Maps a program path such as "\Настройки\Общие.txt" to a file path inside the
    // program folder (backslashes become slashes, Cyrillic kept).
    static QString path(const QString &programPath);
};
