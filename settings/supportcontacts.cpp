#include "settings/supportcontacts.h"

#include "core/generalsettings.h"

#include <QRegularExpression>

namespace SupportContacts {

std::optional<QString> value(const QString &key)
{
    const std::optional<QString> entry = Addresses::value(key);
    if (!entry)
        return std::nullopt;
    const QString text = entry->trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (key == SupportUin || key == AuthorUin) {
        static const QRegularExpression number(QStringLiteral("^[0-9]{1,15}$"));
        if (!number.match(text).hasMatch())
            return std::nullopt;
    }
    return text;
}

QString shown(const QString &key)
{
    return value(key).value_or(NotConfigured);
}

} // namespace SupportContacts

namespace SupportTopics {

const QList<SupportTopic> &all()
{
    static const QString CrLf = QStringLiteral("\r\n");
    static const QList<SupportTopic> topics = {
        {"Label5", QStringLiteral("Найдена ошибка"), QStringLiteral("Найдена ошибка"),
         QStringLiteral("Номер версии программы: 1.8 Release") + CrLf +
             QStringLiteral("Название окон(а) где произошла ошибка: ") + CrLf +
             QStringLiteral("Что вы делали (в программе) из-за чего произошла ошибка: ")},
        {"Label6", QStringLiteral("Найдена грамматическая ошибка"),
         QStringLiteral("Найдена грамматическая ошибка"),
         QStringLiteral("Название окон(а) где найдена ошибка: ")},
        {"Label7", QStringLiteral("Вопрос по программе"), QStringLiteral("Вопросы по программе"),
         QStringLiteral("Вопрос: ")},
        {"Label8", QStringLiteral("Предложение по программе или сайту"),
         QStringLiteral("Предложение по программе"), QStringLiteral("Предложение(пожелание): ")},
    };
    return topics;
}

MessageDraft draft(const SupportTopic &topic, const QString &supportUin)
{
    return MessageDraft{supportUin, topic.subject, topic.message};
}

MessageDraft contactDraft(const QString &authorUin)
{
    return MessageDraft{authorUin, ContactSubject, std::nullopt};
}

} // namespace SupportTopics
