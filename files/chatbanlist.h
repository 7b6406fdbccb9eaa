#pragma once

#include "core/textfile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The chat ban list "\Подпрограммы\Черный список.txt": one ban a line, in the order the
// bans were given, four fields joined by ":^:" and ended by CR LF:
//
//     nick ":^:" number ":^:" until ":^:" reason
//
// e.g. "Вася:^:123456:^:30.1.2009 10:1:00:^:флуд". The until text is a day, a month and
// a year joined by dots, a blank, and an hour, a minute and a second joined by colons;
// components may or may not carry leading zeros, the hour may read 24 and the minute 60
// (see untilMoment()). The same number or nick may stand on several lines; a number is
// banned from the whole bot while any line holds it between separators. A rewrite that
// leaves no ban writes one empty line instead of deleting the file; an empty line holds
// no ban, and later bans are appended after it.
//
// Every reader and writer of the file goes through this class: the ban check of the
// answer engine, the chat moderation commands (ban, unban, expiry) and the blacklist
// window. Failures follow TextFile: a missing file reads as empty; an unreadable file is
// never rewritten, and writers then return a failed Result.
class ChatBanList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Черный список.txt");

    struct Entry
    {
        QString nick;
        QString number;
        QString until;  // as stored, see untilMoment()
        QString reason; // free text to the end of the line
        bool operator==(const Entry &other) const = default;
    };

    // --- the line format -----------------------------------------------------------

    // Cuts a line as every reader does: nick = the text before the first ":"; number =
    // the text between the first ":^:" and the next ":"; until = the text between the
    // second and the third ":^:"; reason = the text after the third ":^:". Missing
    // fields are empty. nullopt for a line without any ":^:" (an empty line among them).
    static std::optional<Entry> parseLine(const QString &line);
    // The four fields joined by ":^:" (no line end).
    static QString formatLine(const Entry &entry);
    // Why an entry may not be written, empty when it may: the number must be digits;
    // no field may hold ":^:" or a line break (the line would read back differently).
    static QString refusal(const Entry &entry);

    // The moment an until text stands for: "d.M.yyyy H:m:s", each part one or more
    // digits ("05.03.2008 09:05:07", "2.4.2008 15:5:07"), the second optional. An hour
    // of 24 and a minute of 60 carry into the next day and hour ("31.12.2008 24:10:00"
    // is 01.01.2009 00:10). nullopt when the text is not of that form or names no date.
    static std::optional<QDateTime> untilMoment(const QString &until);

    // --- reading -------------------------------------------------------------------

    // Every ban in file order (empty lines and lines without a separator left out).
    static QList<Entry> entries();
    // True when the list holds ":^:" number ":^:" anywhere: the ban check's test. The
    // until text is not looked at. False for an empty number.
    static bool isBanned(const QString &number);

    // --- writing -------------------------------------------------------------------

    // Appends one ban line (the file and its folder are created when missing). Refused,
    // with nothing written, for an entry refusal() names or when the file cannot be read.
    static TextFile::Result add(const Entry &entry);

    // Removes every line that holds ":^:" number ":^:" (the blacklist window's delete).
    // *removed (optional) counts the lines that went. See rewrite below.
    static TextFile::Result removeNumber(const QString &number, int *removed = nullptr);
    // Removes every line whose nick, or whole text before the first ":^:", equals nick
    // exactly (the unban command) and returns
    // the removed entries in file order through *removed (optional).
    static TextFile::Result removeNick(const QString &nick, QList<Entry> *removed = nullptr);
    // Removes every ban line for which drop(entry) is true (the expiry); lines that do
    // not parse are kept. The removed entries come back through *removed (optional).
    static TextFile::Result removeIf(const std::function<bool(const Entry &)> &drop,
                                     QList<Entry> *removed = nullptr);

    // The rewrite that every remove ends in: when nothing matched, the file is left
    // untouched; otherwise the remaining lines are written joined by CR LF, empty lines
    // before the first non-empty one left out, with one CR LF at the end; when no line
    // remains the file holds one empty line. An unreadable file is never rewritten.
    static QStringList keptForRewrite(const QStringList &lines);
};
