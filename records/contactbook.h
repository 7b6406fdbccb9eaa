#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// One contact of the book: seven free-text fields in file order.
struct Contact
{
    QString fio;     // ФИО
    QString uin;     // Номер ICQ, as typed
    QString phone;   // Телефон
    QString email;   // e-mail
    QString age;     // Возраст
    QString work;    // Работа
    QString address; // Домашний адрес

    static constexpr int FieldCount = 7;

    QStringList fields() const { return {fio, uin, phone, email, age, work, address}; }
    static Contact fromFields(const QStringList &fields);
    // The fill rule: fields 1 to 6 are each cut at the next ":^:", the seventh is the rest
    // of the line. A line with fewer separators leaves its last fields empty.
    static Contact fromLine(const QString &line);
    // The fields joined by ":^:", nothing trimmed.
    QString line() const;

    bool operator==(const Contact &) const = default;
};

// A contact and the line of the file it stands on (1 for the first line).
struct ContactEntry
{
    int line = 0;
    Contact contact;
};

// The contact book file: one contact per line in the order of adding; empty lines are
// skipped by every reader. A missing file is an empty book; the file goes when its last
// contact does. The windows share one instance, so every open window learns of a change.
class ContactBook : public QObject
{
    Q_OBJECT
public:
    static inline const QString FolderPath = QStringLiteral("\\Списки пользователей");
    static inline const QString FilePath = QStringLiteral("\\Списки пользователей\\Контакты.txt");

    enum class Result {
        Done,
        Duplicate,    // add: a contact with the same ФИО and number is there
        InvalidField, // a field holds the separator, a line break or a letter the file cannot store
        Moved,        // change or delete: the line no longer holds that contact
        WriteFailed,
    };

    enum class Key { Fio, Uin };

    explicit ContactBook(QObject *parent = nullptr);

    // Every contact, skipping empty lines.
    static QList<ContactEntry> entries();
    // True when every field can be stored as it is.
    static bool isStorable(const Contact &contact);

    // Appends the contact unless one with the same ФИО and number is there.
    Result add(const Contact &contact);
    // Rewrites the line, if it still holds `original`, with `updated`; every other line
    // stays as it was.
    Result change(int line, const Contact &original, const Contact &updated);
    // Removes the line, if it still holds `contact`; empty lines go with it.
    Result remove(int line, const Contact &contact);

    // The first contact after line `afterLine` whose key field equals the text exactly.
    static std::optional<ContactEntry> find(const QString &text, Key key, int afterLine = 0);

signals:
    // The file changed through this book, or a change or delete found it changed
    // behind the windows' back: whoever shows the book reads it again.
    void changed();
};
