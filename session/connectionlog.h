#pragma once

#include <QString>

// The day's connection log "\Логи\<date>.txt": newest line first, nothing reads it back.
namespace ConnectionLog {

inline const QString LogInText = QStringLiteral("Вы подключились к серверу.");
inline const QString LogOffText = QStringLiteral("Вы отключились от сервера.");

// The day's log file, named by the clock's date.
QString filePath();
// Puts "<date> - <time> - <event>" in front of the day's log; false when it cannot be written.
bool prepend(const QString &event);

} // namespace ConnectionLog
