#pragma once

#include "files/chatbanlist.h"
#include "session/messagestate.h"

#include <QString>

// Whether the sender of a message may be served: the chat ban list and the user blacklist.
namespace BanCheck {

inline const QString &ChatBanListPath = ChatBanList::FilePath;
inline const QString ChatBanText = QStringLiteral("Вы забанены в чате. Попробуйте обратиться к боту позже.");

} // namespace BanCheck

// Sets SenderBanned and puts the ban text into ReplyText when the sender is banned.
// A blacklist ban whose date is today or earlier is lifted here: the sender's lines
// leave the blacklist (the file goes when nothing remains) and he is served.
// ReplyText is untouched for a sender who is not banned. Returns SenderBanned.
bool CheckBans(MessageState &state);
