#include "engine/bancheck.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "core/listfile.h"
#include "core/textfile.h"

#include <QStringList>

namespace {

struct BlacklistLine
{
    QString number;
    QString until;
    QString reason;
};

// number ":^:" until ":^:" reason; the reason may hold the separator itself.
std::optional<BlacklistLine> parseLine(const QString &line)
{
    const QString &sep = ListFile::Separator;
    const qsizetype first = line.indexOf(sep);
    if (first < 0)
        return std::nullopt;
    BlacklistLine parsed;
    parsed.number = line.left(first);
    const QString rest = line.mid(first + sep.size());
    const qsizetype second = rest.indexOf(sep);
    if (second < 0) {
        parsed.until = rest;
    } else {
        parsed.until = rest.left(second);
        parsed.reason = rest.mid(second + sep.size());
    }
    return parsed;
}

void liftBan(const QStringList &lines, const QString &uin)
{
    QStringList kept;
    for (const QString &line : lines) {
        const std::optional<BlacklistLine> parsed = parseLine(line);
        if (parsed && parsed->number == uin)
            continue;
        kept.append(line);
    }
    if (kept.isEmpty())
        TextFile::remove(BanCheck::BlacklistPath);
    else
        TextFile::writeLines(BanCheck::BlacklistPath, kept);
}

} // namespace

bool CheckBans(MessageState &state)
{
    const QString &uin = state.SenderUin;
    const QString chatBans = TextFile::readAll(BanCheck::ChatBanListPath);
    if (!chatBans.isEmpty() && chatBans.contains(ListFile::Separator + uin + ListFile::Separator)) {
        state.SenderBanned = true;
        state.ReplyText = BanCheck::ChatBanText;
        return true;
    }

    const QStringList lines = TextFile::readLines(BanCheck::BlacklistPath);
    for (const QString &line : lines) {
        if (line.isEmpty())
            break; // nothing after an empty line is examined
        const std::optional<BlacklistLine> parsed = parseLine(line);
        if (!parsed || parsed->number != uin)
            continue;
        const std::optional<QDate> until = DateTexts::parseDate(parsed->until);
        if (!until || *until > Clock::instance().today()) {
            state.SenderBanned = true;
            state.ReplyText = QStringLiteral("Вы забанены до: ") + parsed->until + QStringLiteral("\r\n") +
                              QStringLiteral("Причина бана: ") + parsed->reason;
            return true;
        }
        state.SenderBanned = false;
        liftBan(lines, uin);
        return false;
    }
    return state.SenderBanned;
}
