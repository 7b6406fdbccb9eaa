#include "engine/admincontact.h"

#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/servicetext.h"

#include <utility>

AdminContact::AdminContact(SendFunction send)
    : m_send(std::move(send))
{}

QString AdminContact::forwardedText(const QString &senderUin, const QString &text)
{
    return QStringLiteral("Использована функция 'Связь с админом'") + ServiceText::CrLf +
           QStringLiteral("Пользователь: ") + senderUin + ServiceText::CrLf + QStringLiteral("Прислал вам:") +
           text;
}

StageOutcome AdminContact::HandleAdminContact(MessageState &state)
{
    const AdminContactFile::Contents settings = AdminContactFile::read();
    if (!settings.on)
        return StageOutcome::Continue;
    const QString &admin = settings.admin;
    const QString &text = state.MessageText;

    const std::optional<QString> word = ServiceText::firstWord(text);
    if (word && VbValues::upperCase(*word) == ToAdminWord) {
        if (ServiceText::isUin(admin)) {
            const QString userText = text.mid(word->size() + 1);
            ServiceText::send(m_send, state, forwardedText(state.SenderUin, userText), admin);
        }
        return StageOutcome::Stop;
    }

    // Only the administrator may speak for the bot; anyone else's relay is an ordinary message.
    const std::optional<QString> line = ServiceText::firstLine(text);
    if (!line || VbValues::upperCase(*line) != ToUserWord || !ServiceText::isUin(admin) ||
        state.SenderUin != admin)
        return StageOutcome::Continue;
    const QString rest = ServiceText::afterFirstLine(text);
    const std::optional<QString> target = ServiceText::firstLine(rest);
    if (!target || !ServiceText::isUin(*target))
        return StageOutcome::Continue;
    ServiceText::send(m_send, state, ServiceText::afterFirstLine(rest), *target);
    return StageOutcome::Stop;
}
