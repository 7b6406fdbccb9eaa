#pragma once

#include "engine/answerengine.h"
#include "files/admincontactfile.h"

#include <QString>

// A line between users and the bot's administrator: "!АДМИН <text>" forwards the text
// with the sender's number; the administrator relays an answer with "!ПОЛЬЗОВАТЕЛЬ",
// the number and the text on the following lines.
class AdminContact
{
public:
    static inline const QString SettingsPath = AdminContactFile::FilePath;
    static inline const QString ToAdminWord = QStringLiteral("!АДМИН");
    static inline const QString ToUserWord = QStringLiteral("!ПОЛЬЗОВАТЕЛЬ");

    explicit AdminContact(SendFunction send);

    // What the administrator receives for a user's text.
    static QString forwardedText(const QString &senderUin, const QString &text);

    // Stop when the message was taken (its one message has gone out). Never changes the
    // state of the message being handled.
    StageOutcome HandleAdminContact(MessageState &state);

private:
    SendFunction m_send;
};
