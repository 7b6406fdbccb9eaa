#pragma once

#include "core/textfile.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The bot numbers page without its window: the secondary bot numbers with their
// passwords, kept in the distribution list "\Настройки\Распределение.txt".
//
// A line of the file: slot, number, password and count, one blank between fields:
// "2 123456 secret 0". The slots count from 2 (slot 1 is the main bot); the ICQ
// session raises and lowers the count, this page always writes 0.
class BotNumbers : public QObject
{
    Q_OBJECT
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Распределение.txt");

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
        NothingEntered, // both boxes cancelled or left empty
        BadNumber,      // not 1 to 15 digits
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

    // Fills the rows from the file. A missing or empty file gives no rows; a line
    // without a number and a password is passed over. True when the file had rows.
    bool load();
    // Writes every row, slots from 2, counts 0, owner-only and atomically.
    SaveResult save();
    // Drops the rows (the page as it first appears without a file).
    void defaults();
    // True when the rows differ from what load() or the last save() left.
    bool hasChanged() const;

    // Checks the two boxes' texts and appends the row; a listed number may be added again.
    AddOutcome add(const QString &number, const QString &password);
    // Removes the row at index; false when there is no such row.
    bool remove(int index);

    const QList<Row> &rows() const { return m_rows; }
    QStringList rowTexts() const;

    // The file's lines for these rows.
    static QStringList fileLines(const QList<Row> &rows);
    // The number and password of one line; nullopt when the line lacks either.
    static std::optional<Row> parseLine(const QString &line);
    static bool isBotNumber(const QString &number);

signals:
    void rowsChanged();

private:
    QList<Row> m_rows;
    QList<Row> m_stored;
};
