#include "session/botpresence.h"

#include "session/icqsession.h"

BotPresence::BotPresence(IcqSession &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{}

bool BotPresence::isSignedOn(int slot) const
{
    return m_session.isSignedOn(slot) && !m_session.WorkSlotUin(slot).isEmpty();
}

bool BotPresence::isLoggingIn(int slot) const
{
    return m_session.loginInProgress(slot);
}
