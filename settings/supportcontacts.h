#pragma once

#include "platform/messagedraft.h"

#include <QList>
#include <QString>

#include <optional>

// The program's own contacts that the support and about windows offer, from
// "\Настройки\Адреса.txt": a missing entry means the contact is not available.
namespace SupportContacts {

inline const QString SupportUin = QStringLiteral("SupportUin");     // the support's ICQ number
inline const QString SupportForum = QStringLiteral("SupportForum"); // the forum's address
inline const QString SupportMail = QStringLiteral("SupportMail");   // the support's e-mail
inline const QString AuthorUin = QStringLiteral("AuthorUin");       // the about window's contact number
inline const QString AuthorMail = QStringLiteral("AuthorMail");     // and e-mail
inline const QString Site = QStringLiteral("Site");                 // the program's web site

// Shown in place of a contact that is not configured.
inline const QString NotConfigured = QStringLiteral("не указан");
// Each says where the missing value goes.
inline const QString NoSupportUinText =
    QStringLiteral("Номер ICQ тех. поддержки не настроен. Впишите его в файл Настройки\\Адреса.txt папки "
                   "программы строкой SupportUin=номер.");
inline const QString NoAuthorUinText =
    QStringLiteral("Номер ICQ для связи не настроен. Впишите его в файл Настройки\\Адреса.txt папки программы "
                   "строкой AuthorUin=номер.");
inline const QString NoSiteText =
    QStringLiteral("Адрес сайта программы не настроен. Впишите его в файл Настройки\\Адреса.txt папки программы "
                   "строкой Site=адрес.");
inline const QString OpenFailedTitle = QStringLiteral("Ошибка");
inline const QString OpenFailedText = QStringLiteral("Не удалось открыть адрес %1 в браузере.");

// The entry's value, blanks around it dropped; nullopt when missing or blank. A
// number must be 1 to 15 digits to count.
std::optional<QString> value(const QString &key);
// The value, or NotConfigured.
QString shown(const QString &key);

} // namespace SupportContacts

// The support window's topics: a click fills the send-message window to the support.
struct SupportTopic
{
    const char *label; // the clickable label's name
    QString caption;   // what the label reads
    QString subject;   // into the subject box
    QString message;   // into the message box
};

namespace SupportTopics {

inline const QString ContactSubject = QStringLiteral("Обращение в тех. поддержку");

const QList<SupportTopic> &all();
// The draft of a topic to the support number.
MessageDraft draft(const SupportTopic &topic, const QString &supportUin);
// The about window's contact: recipient and subject; the message box keeps its text.
MessageDraft contactDraft(const QString &authorUin);

} // namespace SupportTopics
