#pragma once

#include "files/automessages.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The chat files the operator keeps and the chat only reads (besides the auto-message
// counters): the staff roles and the obscenity lists; the auto-messages are in files/.

// "\Подпрограммы\Чат_администрация.txt": "Администратор:<UIN>", "Модератор:<UIN>",
// "Премодератор:<UIN>", one role a line.
class ChatStaff
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Чат_администрация.txt");
    static inline const QString Administrator = QStringLiteral("Администратор");
    static inline const QString Moderator = QStringLiteral("Модератор");
    static inline const QString Premoderator = QStringLiteral("Премодератор");

    struct Entry
    {
        QString role; // the text before the first ":"
        QString uin;  // the text after it
    };
    // Every line that holds a ":", in file order; other lines are skipped.
    static QList<Entry> entries();
    // The file holds no entry (missing, empty, or only lines without ":").
    static bool isEmpty() { return entries().isEmpty(); }
    // The number holds the role: a line of exactly that role word and that number.
    static bool holds(const QString &uin, const QString &role);
    // The number holds any of the three roles.
    static bool isStaff(const QString &uin);

    // The role command's changes. add appends "role:uin" (an empty or missing file is
    // written anew). removeAll drops every line whose number is uin, keeping the others
    // in order (a file left without lines holds one empty line); false when none was there.
    static bool add(const QString &role, const QString &uin);
    static bool removeAll(const QString &uin);
};

// "\Подпрограммы\Антимат.txt" (one word a line; an empty line ends the list) and
// "\Подпрограммы\Антимат_исключения.txt" (one exception a line).
class ObscenityLists
{
public:
    static inline const QString WordsPath = QStringLiteral("\\Подпрограммы\\Антимат.txt");
    static inline const QString ExceptionsPath = QStringLiteral("\\Подпрограммы\\Антимат_исключения.txt");

    // The words up to the first empty line.
    static QStringList words();
    // The non-empty exception lines.
    static QStringList exceptions();

    // The first word of the list that the text holds (letter case ignored, anywhere in
    // the text) where no exception forgives it; nullopt when the text is clean. An
    // exception forgives an occurrence of the word when the exception holds the word and
    // stands in the text over that occurrence ("ОСКОРБЛЯТЬ" in the exceptions forgives
    // "СКОРБ" inside it, but not a second, bare "СКОРБ" elsewhere in the text).
    static std::optional<QString> findObscenity(const QString &text);
    static std::optional<QString> findObscenity(const QString &text, const QStringList &words,
                                                const QStringList &exceptions);
};
