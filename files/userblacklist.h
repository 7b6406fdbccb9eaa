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

    // The start-up's purge of a non-empty file: lines whose ban has ended (until today or
    // earlier) and lines without an until field (empty lines too) leave; the others stay
    // in their order. The file is rewritten
    // (only CR LF when nothing is kept). A missing, empty or unreadable file is left
    // alone. Returns how many lines went.
    static int purgeExpired(const QDate &today);
    // The text edit of the purge.
    static QStringList keptAfterPurge(const QStringList &lines, const QDate &today);

    // Every ban in file order (empty lines and lines without a ban left out).
    static QList<Entry> entries();
    // True when a line for that number stands in the file: a second one is refused.
    static bool contains(const QString &number);
    // Appends a ban; refused when the number is listed already or is empty.
    static TextFile::Result add(const Entry &entry);
    // Rewrites, in place, every line of entry.number with the entry; the other lines stay
    // as they are, in their order. A number without a line leaves the file unchanged; a
    // missing or empty file stays missing (an empty one is deleted). Refused when the
    // file cannot be read or the number is empty.
    static TextFile::Result change(const Entry &entry);
    // Why an entry the operator typed may not be written, empty when it may: the number
    // must be digits, the until field a date ("dd.MM.yyyy"), the reason not empty; no
    // field may hold a line break, and the number and the date not the separator.
    static QString refusal(const Entry &entry);
};
