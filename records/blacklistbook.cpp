#include "records/blacklistbook.h"

#include "core/cp1251.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"

BlacklistBook::BlacklistBook(QObject *parent)
    : QObject(parent)
{
}

QList<BlacklistBook::Row> BlacklistBook::rows()
{
    const QList<UserBlacklist::Entry> users = UserBlacklist::entries();
    const QList<ChatBanList::Entry> bans = ChatBanList::entries();
    QList<Row> result;
    result.reserve(users.size() + bans.size());
    for (const UserBlacklist::Entry &entry : users) {
        if (!entry.number.isEmpty())
            result.append({entry.number, entry.until, entry.reason, false});
    }
    for (const ChatBanList::Entry &entry : bans) {
        if (!entry.number.isEmpty())
            result.append({entry.number, entry.until, entry.reason, true});
    }
    return result;
}

BlacklistBook::SaveOutcome BlacklistBook::save(SaveMode mode, const QString &number, const QString &until,
                                               const QString &reason)
{
    TextFile::ensureFolder(QStringLiteral("\\Списки пользователей"));
    const UserBlacklist::Entry entry{number, until, reason};
    if (!UserBlacklist::refusal(entry).isEmpty())
        return SaveOutcome::FieldsMissing;
    // Written as it is, such a reason would come back with question marks.
    if (!Cp1251::canEncode(reason))
        return SaveOutcome::NotEncodable;
    if (mode == SaveMode::Add) {
        if (UserBlacklist::contains(number))
            return SaveOutcome::NumberListed;
        if (!UserBlacklist::add(entry))
            return SaveOutcome::NotWritten;
    } else {
        bool found = false;
        if (!UserBlacklist::change(entry, &found))
            return SaveOutcome::NotWritten;
        if (!found)
            return SaveOutcome::NotListed;
    }
    Q_EMIT changed();
    return SaveOutcome::Saved;
}

bool BlacklistBook::remove(const Row &row)
{
    // A user blacklist deleted meanwhile holds nothing more to delete.
    const bool done = row.chatBan ? bool(ChatBanList::removeNumber(row.number))
                                  : TextFile::readState(UserBlacklist::FilePath) == TextFile::ReadState::Missing ||
                                        UserBlacklist::lift(row.number);
    if (done)
        Q_EMIT changed();
    return done;
}

std::optional<int> BlacklistBook::find(const QList<Row> &rows, const QString &number, int from)
{
    for (int i = std::max(from, 0); i < rows.size(); ++i) {
        if (rows.at(i).number == number)
            return i;
    }
    return std::nullopt;
}

QString BlacklistBook::searchPrompt()
{
    return QStringLiteral("Найден номер. Что вы хотите сдлеать:\r\n0 - искать дальше\r\n"
                          "1 - просмотреть информацию\r\n2 - удалить");
}
