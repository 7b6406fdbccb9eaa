#include "chat/chatreference.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

#include <cmath>

// --- ChatStaff -------------------------------------------------------------------------

QList<ChatStaff::Entry> ChatStaff::entries()
{
    QList<Entry> list;
    for (const QString &line : TextFile::readLines(FilePath)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        list.append(Entry{line.left(colon), line.mid(colon + 1)});
    }
    return list;
}

bool ChatStaff::holds(const QString &uin, const QString &role)
{
    for (const Entry &entry : entries()) {
        if (entry.role == role && entry.uin == uin)
            return true;
    }
    return false;
}

bool ChatStaff::isStaff(const QString &uin)
{
    return holds(uin, Administrator) || holds(uin, Moderator) || holds(uin, Premoderator);
}

bool ChatStaff::add(const QString &role, const QString &uin)
{
    const QString line = role + QLatin1Char(':') + uin;
    if (TextFile::readAll(FilePath).isEmpty())
        return bool(TextFile::writeLines(FilePath, {line}));
    return bool(TextFile::appendLine(FilePath, line));
}

bool ChatStaff::removeAll(const QString &uin)
{
    QStringList kept;
    bool removed = false;
    for (const QString &line : TextFile::readLines(FilePath)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon >= 0 && line.mid(colon + 1) == uin) {
            removed = true;
            continue;
        }
        if (kept.isEmpty() && line.isEmpty())
            continue;
        kept.append(line);
    }
    if (!removed)
        return false;
    return bool(TextFile::writeLines(FilePath, kept));
}

// --- ObscenityLists --------------------------------------------------------------------

QStringList ObscenityLists::words()
{
    QStringList words;
    for (const QString &line : TextFile::readLines(WordsPath)) {
        if (line.isEmpty())
            break;
        words.append(line);
    }
    return words;
}

QStringList ObscenityLists::exceptions()
{
    QStringList list = TextFile::readLines(ExceptionsPath);
    list.removeAll(QString());
    return list;
}

std::optional<QString> ObscenityLists::findObscenity(const QString &text)
{
    const QStringList list = words();
    if (list.isEmpty())
        return std::nullopt;
    return findObscenity(text, list, exceptions());
}

std::optional<QString> ObscenityLists::findObscenity(const QString &text, const QStringList &words,
                                                     const QStringList &exceptions)
{
    const QString message = VbValues::upperCase(text);
    QStringList upperExceptions;
    for (const QString &exception : exceptions)
        upperExceptions.append(VbValues::upperCase(exception));

    for (const QString &word : words) {
        const QString upperWord = VbValues::upperCase(word);
        if (upperWord.isEmpty())
            continue;
        // Every occurrence must be covered by an exception that holds the word.
        for (qsizetype at = message.indexOf(upperWord); at >= 0; at = message.indexOf(upperWord, at + 1)) {
            bool forgiven = false;
            for (const QString &exception : upperExceptions) {
                for (qsizetype inner = exception.indexOf(upperWord); inner >= 0 && !forgiven;
                     inner = exception.indexOf(upperWord, inner + 1)) {
                    const qsizetype start = at - inner;
                    forgiven = start >= 0 && QStringView(message).mid(start).startsWith(exception);
                }
                if (forgiven)
                    break;
            }
            if (!forgiven)
                return word;
        }
    }
    return std::nullopt;
}

// --- AutoMessages ----------------------------------------------------------------------

AutoMessages::Entry AutoMessages::Entry::parse(const QString &line)
{
    Entry entry;
    const qsizetype first = line.indexOf(FieldSeparator);
    if (first < 0) {
        entry.text = line;
        return entry;
    }
    entry.text = line.left(first);
    const qsizetype second = line.indexOf(FieldSeparator, first + FieldSeparator.size());
    if (second < 0) {
        entry.count = line.mid(first + FieldSeparator.size());
        return entry;
    }
    entry.count = line.mid(first + FieldSeparator.size(), second - first - FieldSeparator.size());
    entry.direction = line.mid(second + FieldSeparator.size());
    return entry;
}

QString AutoMessages::Entry::line() const
{
    return text + FieldSeparator + count + FieldSeparator + direction;
}

std::optional<int> AutoMessages::File::interval() const
{
    const std::optional<double> seconds = VbValues::toNumber(intervalLine);
    if (!seconds)
        return std::nullopt;
    const double whole = VbValues::roundHalfEven(*seconds);
    if (whole < MinInterval || whole > MaxInterval)
        return std::nullopt;
    return int(whole);
}

bool AutoMessages::File::random() const
{
    return VbValues::holdsNumber(randomLine, 1);
}

AutoMessages::File AutoMessages::read()
{
    const QStringList lines = TextFile::readLines(FilePath);
    File file;
    file.intervalLine = lines.value(0);
    file.randomLine = lines.value(1);
    file.entries = lines.mid(2);
    return file;
}

bool AutoMessages::write(const File &file)
{
    QStringList lines = {file.intervalLine, file.randomLine};
    if (file.entries.isEmpty())
        lines.append(QString());
    else
        lines += file.entries;
    return bool(TextFile::writeLines(FilePath, lines));
}

std::optional<QString> AutoMessages::afterSending(const QString &entryLine)
{
    if (entryLine.isEmpty())
        return entryLine;
    Entry entry = Entry::parse(entryLine);
    if (entry.count == Endless || entry.direction == QLatin1String("="))
        return entryLine;
    const std::optional<double> count = VbValues::toNumber(entry.count);
    if (!count)
        return std::nullopt;
    const double next = VbValues::roundHalfEven(*count) + (entry.direction == QLatin1String(">") ? 1 : -1);
    if (next < 0)
        return std::nullopt;
    entry.count = VbValues::numberText(next);
    return entry.line();
}
