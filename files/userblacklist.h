#pragma once

#include "core/textfile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The user blacklist "\Списки пользователей\Черный список.txt": one ban a line,
// number ":^:" until ":^:" reason, CR LF-terminated. The until field is a date
// ("dd.MM.yyyy"); the reason is free text to the end of the line and may hold the
// separator itself. The ban check, the start-up's purge and the blacklist windows read
// and write it through this class.
class UserBlacklist
{
public:
    static inline const QString FilePath = QStringLiteral("\\Списки пользователей\\Черный список.txt");

    struct Entry
    {
        QString number;
        QString until;  // as stored
        QString reason; // as stored, separators included
        bool operator==(const Entry &other) const = default;
    };

    // nullopt for a line without a separator (no ban).
    static std::optional<Entry> parseLine(const QString &line);
    static QString formatLine(const Entry &entry);

    // A ban stands while its until field is later than today or is not a date.
    static bool isStanding(const Entry &entry, const QDate &today);

    // The ban of a number, as the ban check sees it: the first line with that number
    // decides; the list ends at the first empty line.
    static std::optional<Entry> banOf(const QString &number);

    // Removes every line of that number (the file goes when nothing remains). False
    // when the file could not be rewritten or deleted; it is then left as it was.
    static bool lift(const QString &number);

    // What the start-up's purge removed: bans that had ended, and lines that hold no ban
    // (no until field). Empty lines go too but are not counted.
    struct Purged
    {
        int expired = 0;
        int malformed = 0;
        int total() const { return expired + malformed; }
        bool operator==(const Purged &other) const = default;
    };
    // The start-up's purge of a non-empty file: lines whose ban has ended (until today or
    // earlier), lines without an until field and empty lines leave; the others stay in
    // their order. The file is rewritten, or deleted when nothing is kept (an empty line
    // left behind would end the ban check before any later ban). A missing, empty or
    // unreadable file is left alone.
    static Purged purgeExpired(const QDate &today);
    // The operator's report of a purge; empty when nothing was removed.
    static QString purgeReport(const Purged &purged);
    // The text edit of the purge; purged, when given, counts what went.
    static QStringList keptAfterPurge(const QStringList &lines, const QDate &today, Purged *purged = nullptr);

    // Every ban in file order (empty lines and lines without a ban left out).
    static QList<Entry> entries();
    // True when a line for that number stands in the file: a second one is refused.
    static bool contains(const QString &number);
    // Appends a ban; refused when the number is listed already or is empty. A file with
    // empty lines or an unended last line is rewritten without them, the ban last, so
    // the ban check reaches it.
    static TextFile::Result add(const Entry &entry);
    // Rewrites, in place, every line of entry.number with the entry; the other lines stay
    // as they are, in their order. A number without a line leaves the file unchanged; a
    // missing or empty file stays missing (an empty one is deleted). Refused when the
    // file cannot be read or the number is empty. *found (when given) tells whether a
    // line of that number was there to change.
    static TextFile::Result change(const Entry &entry, bool *found = nullptr);
    // Why an entry the operator typed may not be written, empty when it may: the number
    // must be digits, the until field a date ("dd.MM.yyyy"), the reason not empty; no
    // field may hold a line break, and the number and the date not the separator.
    static QString refusal(const Entry &entry);

private:
    // Every writer's rewrite: empty lines are dropped, and a file left with no line is
    // deleted.
    static TextFile::Result rewrite(const QStringList &lines);
};
