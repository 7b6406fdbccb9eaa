#include "engine/bancheck.h"

#include "core/clock.h"
#include "core/listfile.h"
#include "core/textfile.h"
#include "files/userblacklist.h"

bool CheckBans(MessageState &state)
{
    const QString &uin = state.SenderUin;
    const QString chatBans = TextFile::readAll(BanCheck::ChatBanListPath);
    if (!chatBans.isEmpty() && chatBans.contains(ListFile::Separator + uin + ListFile::Separator)) {
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
