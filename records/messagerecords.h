#pragma once

#include "session/messagestate.h"

#include <QString>
#include <QStringList>

#include <optional>

// The records the operator reads: per-day statistics and the message log.
namespace Records {

inline const QString StatisticsFolder = QStringLiteral("\\Статистика");
inline const QString UsersPath = QStringLiteral("\\Статистика\\Пользователи.txt");
inline const QString MessageLogPath = QStringLiteral("\\Логи\\логи.txt");
inline const QString UnknownLogPath = QStringLiteral("\\Логи\\Не известные команды.txt");

// "<date> - <time> - <uin> : <text>", as the day files and the message log hold it.
QString logLine(const MessageState &state);

// The number a day's request counter "\Статистика\<date>\Обращения.txt" holds (blanks
// and line ends around it allowed); nullopt when the file is missing or empty, or holds
// no one number: then the line that spoils it is reported once (TextFile::reportBadLine()),
// and the next message writes a number over it.
std::optional<double> requestCounter(const QString &programPath);

// Takes the message log into the storage layer's care; a journal an earlier run left
// behind (it was killed or lost power) is folded into the log now. Start-up calls it;
// LogMessage does it on first use.
void openMessageLog();

// The files that hold every message (the administrator's password among them).
inline const QStringList SecretFiles = {MessageLogPath, StatisticsFolder};

} // namespace Records

// Counts the message in the day's statistics: the users since start-up, the sender's
// day file, the request counter and the day's distinct numbers. The numbers of the two
// lists are kept in memory (read again when their file changes on disk) and the counter
// is written in batches by the storage layer; the files are owner-only. True when the sender
// was new to "\Статистика\Пользователи.txt" (the user list window then refreshes).
bool RecordStatistics(const MessageState &state);

// Puts the message at the top of the message log (through the journal of the storage
// layer; the folder is created when missing).
void LogMessage(const MessageState &state);
