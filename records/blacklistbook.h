#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// Everyone the bot refuses, as the blacklist window and the entry window see them: the
// user blacklist's entries, then the chat ban list's bans, each in file order. Saves and
// deletes go to the files' owners (UserBlacklist, ChatBanList); every change that was
// written is announced through changed(), so an open list refills from both files.
class BlacklistBook : public QObject
{
    Q_OBJECT
public:
    struct Row
    {
        QString number;
        QString until;
        QString reason;
        bool chatBan = false; // from the chat ban list: its until text carries a time
        bool operator==(const Row &other) const = default;
    };

    enum class SaveMode { Add, Change };
    enum class SaveOutcome {
        Saved,
        FieldsMissing, // a box is empty, the number is not digits or the date not a date
        NumberListed,  // adding a number that has a line already
        NotEncodable,  // the reason holds characters the file's code page cannot hold
        NotWritten,    // the file could not be read or written
        NotListed,     // changing a number that has no line (any more): nothing written
    };
    Q_ENUM(SaveOutcome)

    explicit BlacklistBook(QObject *parent = nullptr);

    // Both lists, user blacklist rows first; rows without a number are left out.
    static QList<Row> rows();

    // The entry window's save: adds a line, or rewrites the lines of that number in
    // place. The folder is created first.
    SaveOutcome save(SaveMode mode, const QString &number, const QString &until, const QString &reason);

    // Deletes the row's lines from its own list: a chat ban row every chat ban line of its
    // number, a user row every user blacklist line of its number (the file goes when none
    // remains). False when the file could not be rewritten; it then stays as it was.
    bool remove(const Row &row);

    // The first row at or after from whose number is exactly number.
    static std::optional<int> find(const QList<Row> &rows, const QString &number, int from);

    // The texts the windows show.
    static inline const QString FieldsMissingText = QStringLiteral("Одно из полей не заполнено.");
    static inline const QString NumberListedText = QStringLiteral("Такой UIN уже есть.");
    static inline const QString NotEncodableText =
        QStringLiteral("Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.");
    static inline const QString NotFoundText = QStringLiteral("Такого номера не найдено");
    static inline const QString NotListedText =
        QStringLiteral("Этого UIN больше нет в чёрном списке. Изменения не сохранены.");
    static inline const QString NotWrittenText =
        QStringLiteral("Не удалось записать чёрный список. Изменения не сохранены.");
    static QString searchPrompt();

Q_SIGNALS:
    void changed();
};
