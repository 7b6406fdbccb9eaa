#include "chat/chatreconnectnotice.h"

#include "chat/chatdelivery.h"
#include "chat/chatfiles.h"
#include "chat/chatreference.h"
#include "chat/chattexts.h"
#include "core/namedtimer.h"

#include <QSet>

ChatReconnectNotice::ChatReconnectNotice(TimerRegistry &timers, ChatDelivery &delivery)
    : m_timers(timers)
    , m_delivery(delivery)
{}

void ChatReconnectNotice::noteSignedOn()
{
    if (!m_notifyAfterLogin)
        return;
    m_notifyAfterLogin = false;
    if (NamedTimer *timer = m_timers.timer(TimerName))
        timer->setEnabled(true);
}

void ChatReconnectNotice::tick()
{
    if (NamedTimer *timer = m_timers.timer(TimerName))
        timer->setEnabled(false);
    if (!ChatSwitch::holdsOne())
        return;
    // The list is read whole before the first send.
    const QList<ChatMember> members = ChatMemberList::members();
    const QHash<QString, int> slotOf = ChatDelivery::assignments();
    QSet<QString> told;
    for (const ChatMember &member : members) {
        if (told.contains(member.uin))
            continue;
        told.insert(member.uin);
        m_delivery.sendParts(slotOf.value(member.uin, 1), ChatTexts::ReconnectedText, member.uin, 1);
    }
}
