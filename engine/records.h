#pragma once

#include "session/messagestate.h"

#include <QString>

// The records the operator reads: per-day statistics and the message log.
namespace Records {

inline const QString StatisticsFolder = QStringLiteral("\\Статистика");
inline const QString UsersPath = QStringLiteral("\\Статистика\\Пользователи.txt");
inline const QString MessageLogPath = QStringLiteral("\\Логи\\логи.txt");
inline const QString UnknownLogPath = QStringLiteral("\\Логи\\Не известные команды.txt");

// "<date> - <time> - <uin> : <text>", as the day files and the message log hold it.
QString logLine(const MessageState &state);

} // namespace Records

// Counts the message in the day's statistics: the users since start-up, the sender's
// day file, the request counter and the day's distinct numbers. True when the sender
// was new to "\Статистика\Пользователи.txt" (the user list window then refreshes).
bool RecordStatistics(const MessageState &state);

// Puts the message at the top of the message log (rewritten atomically; the folder is
// created when missing).
void LogMessage(const MessageState &state);
