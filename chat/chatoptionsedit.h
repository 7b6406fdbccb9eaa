#pragma once

#include <QDateTime>
#include <QString>

// The example line of the chat options window: the prefix that chat lines carry with the
// ticked display options.
namespace ChatOptionsExample {
inline const QString AllOff = QStringLiteral("Все параметры выключены");
QString text(bool date, bool time, bool senderUin, bool nick, const QDateTime &now);
} // namespace ChatOptionsExample
