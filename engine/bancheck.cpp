#include "engine/bancheck.h"

#include "core/clock.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"

bool CheckBans(MessageState &state)
{
    const QString &uin = state.SenderUin;
    if (ChatBanList::isBanned(uin)) {
        state.SenderBanned = true;
        state.ReplyText = BanCheck::ChatBanText;
        return true;
    }

    const std::optional<UserBlacklist::Entry> ban = UserBlacklist::banOf(uin);
    if (!ban)
        return state.SenderBanned;
    if (UserBlacklist::isStanding(*ban, Clock::instance().today())) {
        state.SenderBanned = true;
        state.ReplyText = QStringLiteral("Вы забанены до: ") + ban->until + QStringLiteral("\r\n") +
                          QStringLiteral("Причина бана: ") + ban->reason;
        return true;
    }
    state.SenderBanned = false;
    UserBlacklist::lift(uin);
    return false;
}
