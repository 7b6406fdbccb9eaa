#include "moderation/warningfile.h"

#include "core/textfile.h"

#include <QStringList>

#include <optional>

namespace {

struct Entry
{
    QString nick;
    int count = 0;
};

// nullopt for a line without a blank or without a count after its last blank.
std::optional<Entry> parse(const QString &line)
{
    const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    bool ok = false;
    const int count = line.mid(blank + 1).toInt(&ok);
    if (!ok || count < 0)
        return std::nullopt;
    return Entry{line.left(blank), count};
}

// Tells the operator of a line parse() refused (once per version of the file).
void reportRefused(qsizetype index, const QString &line)
{
    QString why = TextFile::lineTrouble(line);
    if (why.isEmpty()) {
        const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
        why = blank < 0 ? TextFile::missingSeparator(u" ")
                        : TextFile::notANumber(QStringView(line).mid(blank + 1));
    }
    TextFile::reportBadLine(WarningFile::FilePath, int(index + 1), why);
}

QString format(const QString &nick, int count)
{
    return nick + QLatin1Char(' ') + QString::number(count);
}

} // namespace

int WarningFile::count(const QString &nick)
{
    int result = 0;
    const QStringList lines = TextFile::readLines(FilePath);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const std::optional<Entry> entry = parse(lines.at(n));
        if (!entry && !lines.at(n).isEmpty())
            reportRefused(n, lines.at(n));
        else if (entry && entry->nick == nick)
            result = entry->count;
    }
    return result;
}

int WarningFile::addWarning(const QString &nick, bool *wasEmpty)
{
    if (nick.contains(QLatin1Char('\r')) || nick.contains(QLatin1Char('\n')))
        return 0;
    const QString text = TextFile::readAll(FilePath);
    if (wasEmpty)
        *wasEmpty = text.isEmpty();
    if (text.isEmpty()) {
        TextFile::writeLines(FilePath, {QString(), format(nick, 1)});
        return 1;
    }
    QStringList lines = TextFile::splitLines(text);
    int newCount = 0;
    for (QString &line : lines) {
        const std::optional<Entry> entry = parse(line);
        if (!entry || entry->nick != nick)
            continue;
        // A count that cannot grow any further stays where it is.
        newCount = entry->count < INT_MAX ? entry->count + 1 : entry->count;
        line = format(nick, newCount);
    }
    if (newCount == 0) {
        TextFile::appendLine(FilePath, format(nick, 1));
        return 1;
    }
    // The moderation rewrite: empty lines before the first entry are not written back.
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    TextFile::writeLines(FilePath, lines);
    return newCount;
}
