#include "session/botpresence.h"

#include "session/icqsession.h"
#include "session/socketcontrol.h"

BotPresence::BotPresence(IcqSession &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    connect(&session, &IcqSession::signedOn, this, [this](int slot) { m_signedOn.insert(slot); });
    connect(&session, &IcqSession::handedOver, this, [this](int slot) { m_signedOn.remove(slot); });
}

bool BotPresence::isSignedOn(int slot) const
{
    if (!m_signedOn.contains(slot) || m_session.WorkSlotUin(slot).isEmpty())
        return false;
    const T *work = m_session.Work(slot);
    return work && !work->peerClosed();
}

void BotPresence::forget(int slot)
{
    m_signedOn.remove(slot);
}

void BotPresence::forgetAll()
{
    m_signedOn.clear();
}
