#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// "\Подпрограммы\Автосообщения.txt": line 1 the interval in seconds, line 2 the random
// flag (" 1 " random, " 0 " in order), then one entry a line: text "&^" count "&^"
// direction. The count is "+&" (endless) or a whole number; the direction ">" counts up,
// "=" leaves the count alone, anything else counts down and the entry goes when its
// count would fall below 0. The chat's auto-message page edits it; the chat reads it at
// its ticks and arms its timer at start when the file holds text.
class AutoMessages
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Автосообщения.txt");
    static inline const QString FieldSeparator = QStringLiteral("&^");
    static inline const QString Endless = QStringLiteral("+&");
    static constexpr int MinInterval = 1;
    static constexpr int MaxInterval = 86400;

    struct Entry
    {
        QString text;
        QString count;
        QString direction;
        static Entry parse(const QString &line);
        QString line() const;
    };

    struct File
    {
        QString intervalLine;
        QString randomLine;
        QStringList entries; // the entry lines as stored, empty ones included
        // Line 1 as whole seconds within MinInterval..MaxInterval; nullopt otherwise.
        std::optional<int> interval() const;
        bool random() const;
    };
    // The file's text and its lines as views into it (an entry may be megabytes).
    struct View
    {
        QString text;
        QList<QStringView> lines;
        QStringView line(qsizetype n) const { return n < lines.size() ? lines[n] : QStringView(); }
        // The entries, counted from 0.
        qsizetype entryCount() const { return lines.size() > 2 ? lines.size() - 2 : 0; }
        QStringView entry(qsizetype n) const { return lines[n + 2]; }
        // Lines 1 and 2 as a File without entries.
        File header() const;
    };

    // The file holds any text (a missing or empty file holds none).
    static bool hasText();
    static File read();
    static View readView();
    // Rewrites the file: line 1, line 2, the entries (one empty line when none).
    static bool write(const File &file);
    // Rewrites the file with exactly these lines.
    static bool write(const QString &intervalLine, const QString &randomLine, const QStringList &entries);

    // The entry after it went out once: nullopt when it is removed.
    static std::optional<QString> afterSending(const QString &entryLine);
    // True when sending leaves the entry as it is (an endless or "=" entry, an empty line).
    static bool staysAfterSending(QStringView entryLine);
    // The text field of an entry line.
    static QStringView textOf(QStringView entryLine);
};
