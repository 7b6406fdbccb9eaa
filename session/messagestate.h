#pragma once

#include <QString>

// One incoming message on its way from the reader through the engine, chat and
// moderation. Each message has its own, passed by reference: a second message never
// overwrites the first one's sender or answer.
struct MessageState
{
    QString SenderUin;   // 1 to 15 ASCII digits, checked by the reader
    QString MessageText; // the stages may normalise it in place
    QString ReplyText;   // the answer, or the ban text from the ban check
    bool SenderBanned = false;
    bool MessageHandled = false;
    int slot = 0; // the bot slot that received the message; answers go out on it
};
