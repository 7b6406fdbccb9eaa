#pragma once

#include "core/textfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The distribution list "\Настройки\Распределение.txt": the secondary bots, one a line,
// "index number password count" separated by blanks; the index is the bot slot the
// number logs in on (2 and up), the count the users given to that bot now. The first
// empty line ends the list. The file holds passwords: every rewrite is atomic and
// owner-only. The bot numbers page, the login paths, the start-up, the secondary
// log-in and the distribution of users all read and write it through this class.
class DistributionList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Распределение.txt");
    // The highest bot slot.
    static constexpr int MaxSlot = 32400;
    // The longest password the login packet can carry, in Windows-1251 bytes.

    struct Entry
    {
        int index = 0; // the bot slot the number logs in on
        QString number;
        QString password;
        int count = 0; // users assigned to the bot now
        int line = 0;  // position in the file, from 0
    };

    // A bot as the operator enters it: the index and count follow from the list.
    struct Account
    {
        QString number;
        QString password;
        bool operator==(const Account &other) const = default;
    };

    // What is on disk.
    enum class State {
        Missing,    // no file (a first start)
        Empty,      // a file without any text
        Unreadable, // something is there but cannot be read: never a first start
        Listed,     // a file with text
    };

    // The number rule of every log-in: 1 to 10 ASCII digits with a value from 1 to
    // 2147483647 (the login compares the number as a 32-bit value). nullopt otherwise.
    static std::optional<qint32> loginNumber(const QString &text);
    static bool isLoginNumber(const QString &text) { return loginNumber(text).has_value(); }

    // Why a password cannot stand in the list; nullopt when it can.
    enum class PasswordProblem {
        Empty,
        HasBlank,     // a blank would split the line's fields
        NotStorable,  // a character the file's code page cannot hold
    };
    static std::optional<PasswordProblem> passwordProblem(const QString &password);

    // Reads the file. A line whose index is not a slot from 2 to MaxSlot, whose number
    // breaks the number rule or that has no password is left out, with a trace; a
    // missing count is 0. Fields may be separated by more than one blank.
    static DistributionList load();
    static State state();
    // No text at all (missing or empty): no log-in and the settings' distribution page.
    // An unreadable file is not empty.
    static bool isEmpty();

    State fileState() const { return m_state; }
    const QList<Entry> &entries() const { return m_entries; }
    // The number and password of each entry, in file order.
    QList<Account> accounts() const;
    // Lines that were left out, as they stand in the file.
    const QStringList &skipped() const { return m_skipped; }
    std::optional<Entry> entryForSlot(int slot) const;
    // The slot of the first entry with that number (compared as a number); 1, the main
    // bot, for a number the list does not hold.
    int slotForNumber(const QString &number) const;

    // Rewrites the file with the count of the bot on that slot changed by delta, never
    // below 0; every other line stays as it was. False when no such bot or not written.
    bool changeCount(int slot, int delta);

    // Writes the whole list anew: slots from 2 in the accounts' order, counts 0.
    // Refused for no accounts (the old file stays) and when the file there cannot be
    // read (it is never rewritten as if it were empty).
    static TextFile::Result write(const QList<Account> &accounts);

    static std::optional<Entry> parseLine(const QString &line);
    static QString formatLine(const Entry &entry);
    // The file's lines for these accounts.
    static QStringList fileLines(const QList<Account> &accounts);

private:
    State m_state = State::Missing;
    QStringList m_lines;
    QList<Entry> m_entries;
    QStringList m_skipped;
};
