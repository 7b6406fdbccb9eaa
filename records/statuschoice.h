#pragma once

#include <QString>
#include <QStringList>

// The status choice: six status names, each with its code, the chosen code kept in the
// status file as one digit and CR LF.
namespace StatusChoice {

inline const QString FilePath = QStringLiteral("\\Настройки\\Статус.txt");

// In list order: "Онлайн" 1, "Отошёл" 2, "Не доступен" 3, "Занят" 4, "Не видимый" 5,
// "Готов поболтать" 6.
QStringList names();
// The code of a name (exact comparison); 0 for any other text.
int codeOf(const QString &name);
// The bot's own status (1 online, 2 occupied, 3 invisible) for a chosen code; 0 when
// the bot has no such status.
int botStatusOf(int code);

// Writes the code of the name into the status file; 0 and nothing written for a text
// that names no status (or when the file could not be written).
int choose(const QString &name);

} // namespace StatusChoice
