#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The distribution list "\Настройки\Распределение.txt": one secondary bot a line,
// "index number password count" separated by blanks. The first empty line ends the list.
// The file holds passwords: every rewrite is atomic and owner-only.
class DistributionList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Распределение.txt");

    struct Entry
    {
        int index = 0; // the bot slot the number logs in on
        QString number;
        QString password;
        int count = 0; // users assigned to the bot now
        int line = 0;  // position in the file, from 0
    };

    // Reads the file. A line whose index is not a slot from 2 up, whose number is not an
    // ICQ number or that has no password is left out, with a trace; a missing count is 0.
    static DistributionList load();
    static bool isEmpty(); // the file has no text at all

    const QList<Entry> &entries() const { return m_entries; }
    // Lines that were left out, as they stand in the file.
    const QStringList &skipped() const { return m_skipped; }
    std::optional<Entry> entryForSlot(int slot) const;

    // Rewrites the file with the count of the bot on that slot changed by delta, never
    // below 0; every other line stays as it was. False when no such bot or not written.
    bool changeCount(int slot, int delta);

    static std::optional<Entry> parseLine(const QString &line);

private:
    QStringList m_lines;
    QList<Entry> m_entries;
    QStringList m_skipped;
};
