#include "files/chatbanlist.h"

#include "core/listfile.h"
#include "core/textfile.h"

#include <QRegularExpression>
#include <QSet>

namespace {

const QString &separator()
{
    return ListFile::Separator;
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool isDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

std::optional<ChatBanList::Entry> ChatBanList::parseLine(const QString &line)
{
    const QString &sep = separator();
    const qsizetype first = TextFile::find(line, sep);
    if (first < 0)
        return std::nullopt;
    Entry entry;
    entry.nick = line.left(line.indexOf(QLatin1Char(':')));
    const qsizetype numberStart = first + sep.size();
    const qsizetype numberEnd = line.indexOf(QLatin1Char(':'), numberStart);
    entry.number = numberEnd < 0 ? line.mid(numberStart) : line.mid(numberStart, numberEnd - numberStart);
    const qsizetype second = TextFile::find(line, sep, numberStart);
    if (second < 0)
        return entry;
    const qsizetype untilStart = second + sep.size();
    const qsizetype third = TextFile::find(line, sep, untilStart);
    if (third < 0) {
        entry.until = line.mid(untilStart);
        return entry;
    }
    entry.until = line.mid(untilStart, third - untilStart);
    entry.reason = line.mid(third + sep.size());
    return entry;
}

QString ChatBanList::formatLine(const Entry &entry)
{
    return ListFile::join({entry.nick, entry.number, entry.until, entry.reason});
}

QString ChatBanList::refusal(const Entry &entry)
{
    if (!isDigits(entry.number))
        return QStringLiteral("the number \"%1\" is not digits").arg(entry.number);
    for (const QString *field : {&entry.nick, &entry.until, &entry.reason}) {
        if (field->contains(separator()))
            return QStringLiteral("\"%1\" holds the separator").arg(*field);
        if (holdsLineBreak(*field))
            return QStringLiteral("\"%1\" holds a line break").arg(*field);
    }
    // An until ending in the head of the separator after it would read back shifted. (A
    // nick is never refused for it: the ban must hold whatever nick the member took; the
    // number after it is what the checks look for.)
    if (!ListFile::canHoldField(entry.until))
        return QStringLiteral("\"%1\" ends with the separator's head").arg(entry.until);
    return QString();
}

std::optional<QDateTime> ChatBanList::untilMoment(const QString &until)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{1,4}) (\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = form.match(until);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    const int hour = match.captured(4).toInt();
    const int minute = match.captured(5).toInt();
    const int second = match.captured(6).isEmpty() ? 0 : match.captured(6).toInt();
    // The until computations carry only above 24 hours and 60 minutes.
    if (hour > 24 || minute > 60 || second > 59)
        return std::nullopt;
    return QDateTime(date, QTime(0, 0)).addSecs(qint64(hour) * 3600 + qint64(minute) * 60 + second);
}

QList<ChatBanList::Entry> ChatBanList::entries()
{
    const QStringList lines = TextFile::readLines(FilePath);
    QList<Entry> found;
    found.reserve(lines.size()); // a list regrown line by line copies every entry again
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (const std::optional<Entry> entry = parseLine(lines.at(n))) {
            found.append(*entry);
        } else if (!lines.at(n).isEmpty()) {
            TextFile::reportSkippedLine(FilePath, int(n + 1), lines.at(n), TextFile::missingSeparator(separator()));
        }
    }
    return found;
}

bool ChatBanList::isBanned(const QString &number)
{
    if (number.isEmpty())
        return false;
    const QString text = TextFile::readAll(FilePath);
    const QString &sep = separator();
    // A number that could run into a separator is looked for in the text itself.
    if (number.contains(QLatin1Char(':')) || number.contains(QLatin1Char('^')))
        return text.contains(sep + number + sep);
    // Asked for every message: what stands between each separator and the next one is
    // gathered once per version of the text. A number without ':' or '^' stands between
    // two separators exactly when it is such a piece.
    thread_local TextFile::PerVersion<QString, QSet<QString>> pieces;
    return pieces
        .of(text,
            [&sep](const QString &text) {
                QSet<QString> found;
                // Every separator, overlapping ones too (":^:^:" holds two).
                for (qsizetype at = TextFile::find(text, sep); at >= 0; at = TextFile::find(text, sep, at + 1)) {
                    const qsizetype start = at + sep.size();
                    const qsizetype next = TextFile::find(text, sep, start);
                    if (next < 0)
                        break;
                    found.insert(text.sliced(start, next - start));
                }
                return found;
            })
        .contains(number);
}

TextFile::Result ChatBanList::add(const Entry &entry)
{
    const QString refused = refusal(entry);
    if (!refused.isEmpty())
        return {false, refused};
    if (TextFile::readState(FilePath) == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(FilePath))};
    return TextFile::appendLine(FilePath, formatLine(entry));
}

namespace {

// Reads the lines, drops those drop() names, rewrites when any went.
TextFile::Result rewriteWithout(const std::function<bool(const QString &line)> &drop, int *removedCount)
{
    const QString &path = ChatBanList::FilePath;
    if (removedCount)
        *removedCount = 0;
    const TextFile::ReadState state = TextFile::readState(path);
    if (state == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(path))};
    if (state == TextFile::ReadState::Missing)
        return {true, QString()};
    const QStringList lines = TextFile::readLines(path);
    QStringList kept;
    for (const QString &line : lines) {
        if (!drop(line))
            kept.append(line);
    }
    const int removed = int(lines.size() - kept.size());
    if (removedCount)
        *removedCount = removed;
    if (removed == 0)
        return {true, QString()};
    return TextFile::writeLines(path, ChatBanList::keptForRewrite(kept));
}

// Removes the ban lines drop(line, entry) names; the removed entries come back in file order.
TextFile::Result removeEntries(const std::function<bool(const QString &, const ChatBanList::Entry &)> &drop,
                               QList<ChatBanList::Entry> *removed)
{
    QList<ChatBanList::Entry> dropped;
    const TextFile::Result result = rewriteWithout(
        [&](const QString &line) {
            const std::optional<ChatBanList::Entry> entry = ChatBanList::parseLine(line);
            if (!entry || !drop(line, *entry))
                return false;
            dropped.append(*entry);
            return true;
        },
        nullptr);
    if (removed)
        *removed = result ? dropped : QList<ChatBanList::Entry>();
    return result;
}

} // namespace

TextFile::Result ChatBanList::removeNumber(const QString &number, int *removed)
{
    const QString needle = separator() + number + separator();
    return rewriteWithout([&](const QString &line) { return !number.isEmpty() && line.contains(needle); },
                          removed);
}

TextFile::Result ChatBanList::removeNick(const QString &nick, QList<Entry> *removed)
{
    // A nick with ":" reads back cut at its first ":"; its whole field (the text before
    // the first separator) names it too.
    return removeEntries(
        [&](const QString &line, const Entry &entry) {
            return entry.nick == nick || line.left(line.indexOf(separator())) == nick;
        },
        removed);
}

TextFile::Result ChatBanList::removeIf(const std::function<bool(const Entry &)> &drop, QList<Entry> *removed)
{
    return removeEntries([&](const QString &, const Entry &entry) { return drop(entry); }, removed);
}

QStringList ChatBanList::keptForRewrite(const QStringList &lines)
{
    qsizetype first = 0;
    while (first < lines.size() && lines.at(first).isEmpty())
        ++first;
    // TextFile::writeLines writes an empty list as one empty line.
    return lines.mid(first);
}
