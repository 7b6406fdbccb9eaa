#include "chat/chatreference.h"

#include "chat/chatfiles.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QSet>

#include <cmath>

// --- ChatStaff -------------------------------------------------------------------------

namespace {

// The staff file parsed once per version of its text. Roles are asked for on every
// moderation command and chat line, and a staff file may be long.
struct StaffTable
{
    QString text; // the text parsed: the storage layer hands out this same shared text
                  // while the file is unchanged
    QList<ChatStaff::Entry> entries;
    QSet<QString> lines; // "role:uin" of every entry
};

const StaffTable &staffTable()
{
    static StaffTable table;
    const QString text = TextFile::readAll(ChatStaff::FilePath);
    if (text.isSharedWith(table.text))
        return table;
    // A copy read afresh (a file too large to keep, a storage layer started anew): an
    // equal text needs no parse.
    if (text.size() == table.text.size() && text == table.text) {
        table.text = text;
        return table;
    }
    table = StaffTable{text, {}, {}};
    const QStringList lines = TextFile::splitLines(text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            if (!line.isEmpty())
                ChatFiles::reportSkipped(ChatStaff::FilePath, n, line, TextFile::missingSeparator(u":"));
            continue;
        }
        table.entries.append(ChatStaff::Entry{line.left(colon), line.mid(colon + 1)});
        table.lines.insert(line);
    }
    return table;
}

} // namespace

QList<ChatStaff::Entry> ChatStaff::entries()
{
    return staffTable().entries;
}

bool ChatStaff::holds(const QString &uin, const QString &role)
{
    return staffTable().lines.contains(role + QLatin1Char(':') + uin);
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
    return bool(TextFile::writeLines(FilePath, kept, TextFile::Option::KeepsLines));
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
