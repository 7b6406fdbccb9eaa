#include "files/userblacklist.h"

#include "core/datetexts.h"
#include "core/listfile.h"
#include "core/textfile.h"

#include <QHash>
#include <QScopeGuard>

namespace {

// Tells the operator of a line without an entry (once per version of the file).
void reportRefused(qsizetype index, const QString &line)
{
    TextFile::reportSkippedLine(UserBlacklist::FilePath, int(index + 1), line,
                                TextFile::missingSeparator(ListFile::Separator));
}

} // namespace

std::optional<UserBlacklist::Entry> UserBlacklist::parseLine(const QString &line)
{
    const QString &sep = ListFile::Separator;
    const qsizetype first = TextFile::find(line, sep);
    if (first < 0)
        return std::nullopt;
    Entry parsed;
    parsed.number = line.left(first);
    const qsizetype start = first + sep.size();
    const qsizetype second = TextFile::find(line, sep, start);
    if (second < 0) {
        parsed.until = line.mid(start);
    } else {
        parsed.until = line.mid(start, second - start);
        parsed.reason = line.mid(second + sep.size());
    }
    return parsed;
}

QString UserBlacklist::formatLine(const Entry &entry)
{
    return ListFile::join({entry.number, entry.until, entry.reason});
}

bool UserBlacklist::isStanding(const Entry &entry, const QDate &today)
{
    const std::optional<QDate> until = DateTexts::parseDate(entry.until);
    return !until || *until > today;
}

std::optional<UserBlacklist::Entry> UserBlacklist::banOf(const QString &number)
{
    const QStringList lines = TextFile::readLines(FilePath);
    // Asked for every message: each number's first entry is gathered once per version of
    // the lines.
    thread_local TextFile::PerVersion<QStringList, QHash<QString, Entry>> index;
    const QHash<QString, Entry> &first = index.of(lines, [](const QStringList &lines) {
        QHash<QString, Entry> found;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (lines.at(n).isEmpty())
                break; // nothing after an empty line is examined
            std::optional<Entry> entry = parseLine(lines.at(n));
            if (!entry)
                reportRefused(n, lines.at(n));
            else if (!found.contains(entry->number))
                found.insert(entry->number, std::move(*entry));
        }
        return found;
    });
    const auto it = first.constFind(number);
    if (it == first.cend())
        return std::nullopt;
    return *it;
}

bool UserBlacklist::lift(const QString &number)
{
    if (TextFile::readState(FilePath) != TextFile::ReadState::Readable)
        return false;
    const QStringList lines = TextFile::readLines(FilePath);
    QStringList kept;
    for (const QString &line : lines) {
        const std::optional<Entry> entry = parseLine(line);
        if (entry && entry->number == number)
            continue;
        kept.append(line);
    }
    if (kept.size() == lines.size())
        return true;
    return bool(rewrite(kept));
}

TextFile::Result UserBlacklist::rewrite(const QStringList &lines)
{
    QStringList kept;
    kept.reserve(lines.size());
    for (const QString &line : lines) {
        if (!line.isEmpty())
            kept.append(line);
    }
    if (!kept.isEmpty())
        return TextFile::writeLines(FilePath, kept);
    if (TextFile::remove(FilePath) || !TextFile::exists(FilePath))
        return {true, QString()};
    return {false, QStringLiteral("%1 cannot be deleted").arg(TextFile::filePath(FilePath))};
}

QStringList UserBlacklist::keptAfterPurge(const QStringList &lines, const QDate &today, Purged *purged)
{
    Purged counted;
    QStringList kept;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        // A line without a separator has no until field either.
        const std::optional<Entry> entry = parseLine(line);
        if (!entry || entry->until.isEmpty())
            ++counted.malformed;
        else if (isStanding(*entry, today))
            kept.append(line);
        else
            ++counted.expired;
    }
    if (purged)
        *purged = counted;
    return kept;
}

UserBlacklist::Purged UserBlacklist::purgeExpired(const QDate &today)
{
    if (TextFile::readState(FilePath) != TextFile::ReadState::Readable ||
        TextFile::readAll(FilePath).isEmpty())
        return {};
    const QStringList lines = TextFile::readLines(FilePath);
    Purged purged;
    const QStringList kept = keptAfterPurge(lines, today, &purged);
    for (qsizetype n = 0; purged.malformed > 0 && n < lines.size(); ++n) {
        if (!lines.at(n).isEmpty() && !parseLine(lines.at(n)))
            reportRefused(n, lines.at(n));
    }
    // A file already as it should be is not rewritten.
    if (kept.size() != lines.size() || !TextFile::readBytes(FilePath).endsWith('\n'))
        rewrite(kept);
    return purged;
}

QString UserBlacklist::purgeReport(const Purged &purged)
{
    if (purged.total() == 0)
        return QString();
    return QStringLiteral(
               "Из чёрного списка удалено записей: %1 (истёк срок бана: %2, повреждённых строк: %3).")
        .arg(purged.total())
        .arg(purged.expired)
        .arg(purged.malformed);
}

QList<UserBlacklist::Entry> UserBlacklist::entries()
{
    const QStringList lines = TextFile::readLines(FilePath);
    QList<Entry> found;
    found.reserve(lines.size()); // a list regrown line by line copies every entry again
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (const std::optional<Entry> entry = parseLine(lines.at(n)))
            found.append(*entry);
        else if (!lines.at(n).isEmpty())
            reportRefused(n, lines.at(n));
    }
    return found;
}

bool UserBlacklist::contains(const QString &number)
{
    for (const Entry &entry : entries()) {
        if (entry.number == number)
            return true;
    }
    return false;
}

TextFile::Result UserBlacklist::add(const Entry &entry)
{
    if (entry.number.isEmpty())
        return {false, QStringLiteral("no number")};
    if (TextFile::readState(FilePath) == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(FilePath))};
    if (contains(entry.number))
        return {false, QStringLiteral("%1 is listed already").arg(entry.number)};
    // The ban check stops at an empty line: a file holding one is rewritten without
    // it, the ban last. (An unended last line is ended by the append itself.)
    QStringList lines = TextFile::readLines(FilePath);
    if (!lines.contains(QString()))
        return TextFile::appendLine(FilePath, formatLine(entry));
    lines.append(formatLine(entry));
    return rewrite(lines);
}

TextFile::Result UserBlacklist::change(const Entry &entry, bool *found)
{
    bool changedOne = false;
    const auto tell = qScopeGuard([&] {
        if (found)
            *found = changedOne;
    });
    if (entry.number.isEmpty())
        return {false, QStringLiteral("no number")};
    const TextFile::ReadState state = TextFile::readState(FilePath);
    if (state == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(FilePath))};
    if (state == TextFile::ReadState::Missing)
        return {true, QString()};
    const QStringList lines = TextFile::readLines(FilePath);
    if (lines.isEmpty()) {
        TextFile::remove(FilePath);
        return {true, QString()};
    }
    QStringList changed;
    for (const QString &line : lines) {
        const std::optional<Entry> listed = parseLine(line);
        if (listed && listed->number == entry.number) {
            changed.append(formatLine(entry));
            changedOne = true;
        } else {
            changed.append(line);
        }
    }
    if (!changedOne)
        return {true, QString()};
    return rewrite(changed);
}

QString UserBlacklist::refusal(const Entry &entry)
{
    const auto lineBreak = [](const QString &text) {
        return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    };
    if (entry.number.isEmpty() || entry.until.isEmpty() || entry.reason.isEmpty())
        return QStringLiteral("a field is empty");
    for (const QChar c : entry.number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("the number \"%1\" is not digits").arg(entry.number);
    }
    if (entry.until.size() != 10 || !DateTexts::parseDate(entry.until))
        return QStringLiteral("\"%1\" is not a date").arg(entry.until);
    if (lineBreak(entry.reason))
        return QStringLiteral("the reason holds a line break");
    return QString();
}
