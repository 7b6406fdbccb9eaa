#pragma once

#include "core/textfile.h"
#include "files/distributionlist.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The bot numbers page without its window: the secondary bot numbers with their
// passwords, kept in the distribution list (files/distributionlist.h owns the file, its
// format and the number rule). The page shows the bots the session would log in, and
// accepts only numbers the session can log in with.
class BotNumbers : public QObject
{
    Q_OBJECT
public:
    struct Row
    {
        QString number;
        QString password;
        // What the list shows: the number, a blank and the password.
        QString text() const { return number + QLatin1Char(' ') + password; }
        bool operator==(const Row &other) const = default;
    };

    enum class AddOutcome {
        Added,
        NothingEntered,      // both boxes cancelled or left empty
        BadNumber,           // not a number the session can log in with
        AlreadyListed,       // the bot would log in on two slots
        EmptyPassword,
        PasswordWithBlank,   // a blank would split the line's fields
        PasswordNotStorable, // a character the file's code page cannot hold
    };

    enum class SaveOutcome {
        Saved,
        EmptyList,   // refused: the file is left as it was
        WriteFailed, // the old file is left as it was
    };
    struct SaveResult
    {
        SaveOutcome outcome = SaveOutcome::Saved;
        QString error; // why the write failed
        explicit operator bool() const { return outcome == SaveOutcome::Saved; }
    };

    explicit BotNumbers(QObject *parent = nullptr);

    // Fills the rows from the file: the bots the session reads from it. A missing, empty
    // or unreadable file gives no rows. True when the file had rows.
    bool load();
    // Writes every row, slots from 2, counts 0, owner-only and atomically.
    SaveResult save();
    // Drops the rows (the page as it first appears without a file).
    void defaults();
    // True when the rows differ from what load() or the last save() left.
    bool hasChanged() const;

    // Checks the two boxes' texts and appends the row.
    AddOutcome add(const QString &number, const QString &password);
    // Removes the row at index; false when there is no such row.
    bool remove(int index);

    const QList<Row> &rows() const { return m_rows; }
    QStringList rowTexts() const;

signals:
    void rowsChanged();

private:
    QList<Row> m_rows;
    QList<Row> m_stored;
};
