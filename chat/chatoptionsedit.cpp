#include "chat/chatoptionsedit.h"

#include "core/datetexts.h"

#include <QStringList>

QString ChatOptionsExample::text(bool date, bool time, bool senderUin, bool nick, const QDateTime &now)
{
    if (!date && !time && !senderUin && !nick)
        return AllOff;
    QStringList parts;
    if (date)
        parts.append(DateTexts::dateText(now.date()));
    if (time)
        parts.append(DateTexts::timeText(now.time()));
    if (senderUin)
        parts.append(QStringLiteral("ICQ-номер"));
    if (nick)
        parts.append(QStringLiteral("ник"));
    return parts.join(QLatin1Char(' '));
}
