#include "files/distributionlist.h"

#include "core/cp1251.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kMaxNumberDigits = 10;

} // namespace

std::optional<qint32> DistributionList::loginNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > kMaxNumberDigits)
        return std::nullopt;
    qint64 number = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    if (number < 1 || number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(number);
}

std::optional<DistributionList::PasswordProblem> DistributionList::passwordProblem(const QString &password)
{
    if (password.isEmpty())
        return PasswordProblem::Empty;
    for (const QChar c : password) {
        if (c.isSpace())
            return PasswordProblem::HasBlank;
    }
    // Any length: the login packet roasts a password cyclically.
    if (!Cp1251::canEncode(password))
        return PasswordProblem::NotStorable;
    return std::nullopt;
}

std::optional<DistributionList::Entry> DistributionList::parseLine(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3)
        return std::nullopt;
    Entry entry;
    bool ok = false;
    entry.index = fields.at(0).toInt(&ok);
    if (!ok || entry.index < 2 || entry.index > MaxSlot)
        return std::nullopt;
    entry.number = fields.at(1);
    if (!isLoginNumber(entry.number))
        return std::nullopt;
    entry.password = fields.at(2);
    if (fields.size() >= 4) {
        entry.count = fields.at(3).toInt(&ok);
        if (!ok)
            entry.count = 0;
    }
    entry.count = std::max(entry.count, 0);
    return entry;
}

QString DistributionList::formatLine(const Entry &entry)
{
    const QChar blank(QLatin1Char(' '));
    return QString::number(entry.index) + blank + entry.number + blank + entry.password + blank +
           QString::number(entry.count);
}

QStringList DistributionList::fileLines(const QList<Account> &accounts)
{
    QStringList lines;
    lines.reserve(accounts.size());
    for (qsizetype i = 0; i < accounts.size(); ++i)
        lines.append(formatLine({int(i) + 2, accounts.at(i).number, accounts.at(i).password, 0, int(i)}));
    return lines;
}

DistributionList::State DistributionList::state()
{
    switch (TextFile::readState(FilePath)) {
    case TextFile::ReadState::Missing:
        return State::Missing;
    case TextFile::ReadState::Unreadable:
        return State::Unreadable;
    case TextFile::ReadState::Readable:
        break;
    }
    return TextFile::readAll(FilePath).isEmpty() ? State::Empty : State::Listed;
}

DistributionList DistributionList::load()
{
    DistributionList list;
    list.m_state = state();
    list.m_lines = TextFile::readLines(FilePath);
    for (int n = 0; n < list.m_lines.size(); ++n) {
        const QString &line = list.m_lines.at(n);
        if (line.isEmpty())
            break;
        std::optional<Entry> entry = parseLine(line);
        if (!entry) {
            // Never the password in a report: the line's number is enough to find it.
            const QString trouble = TextFile::lineTrouble(line);
            TextFile::reportBadLine(FilePath, n + 1,
                                    trouble.isEmpty() ? QStringLiteral("нужны номер бота, UIN и пароль через пробел")
                                                      : trouble);
            list.m_skipped.append(line);
            continue;
        }
        entry->line = n;
        list.m_entries.append(*entry);
    }
    return list;
}

bool DistributionList::isEmpty()
{
    const State now = state();
    return now == State::Missing || now == State::Empty;
}

QList<DistributionList::Account> DistributionList::accounts() const
{
    QList<Account> found;
    found.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        found.append({entry.number, entry.password});
    return found;
}

std::optional<DistributionList::Entry> DistributionList::entryForSlot(int slot) const
{
    for (const Entry &entry : m_entries) {
        if (entry.index == slot)
            return entry;
    }
    return std::nullopt;
}

int DistributionList::slotForNumber(const QString &number) const
{
    const std::optional<qint32> wanted = loginNumber(number);
    if (!wanted)
        return 1;
    for (const Entry &entry : m_entries) {
        if (loginNumber(entry.number) == wanted)
            return entry.index;
    }
    return 1;
}

bool DistributionList::changeCount(int slot, int delta)
{
    bool found = false;
    for (Entry &entry : m_entries) {
        if (entry.index != slot)
            continue;
        found = true;
        // A hand-edited count may stand at the top of the range: it stays there.
        entry.count = int(std::clamp<qint64>(qint64(entry.count) + delta, 0, std::numeric_limits<int>::max()));
        m_lines[entry.line] = formatLine(entry);
    }
    if (!found)
        return false;
    return bool(TextFile::writeLines(FilePath, m_lines, TextFile::Option::OwnerOnly));
}

TextFile::Result DistributionList::write(const QList<Account> &accounts)
{
    if (accounts.isEmpty())
        return {false, QStringLiteral("no bot numbers")};
    // Storage refuses to rewrite an unreadable file too; say so in the result.
    if (TextFile::readState(FilePath) == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(FilePath))};
    return TextFile::writeLines(FilePath, fileLines(accounts), TextFile::Option::OwnerOnly);
}
