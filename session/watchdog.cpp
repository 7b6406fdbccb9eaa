#include "session/watchdog.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "platform/dialogs.h"
#include "session/botpresence.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"
#include "session/loginform.h"

#include <limits>

ReconnectWatchdog::ReconnectWatchdog(IcqSession &session, BotPresence &presence, TimerRegistry &timers,
                                     QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_presence(presence)
    , m_timers(timers)
{}

int ReconnectWatchdog::intervalFromSettings()
{
    return Settings::read().reconnectMinutes();
}

QString ReconnectWatchdog::probeNumber() const
{
    return m_mainNumber.isEmpty() ? QString::number(m_session.MainUin()) : m_mainNumber;
}

void ReconnectWatchdog::noteSignedOn(int slot)
{
    m_suspended = false;
    if (slot == 1 && !m_session.WorkSlotUin(1).isEmpty())
        m_mainNumber = m_session.WorkSlotUin(1);
}

void ReconnectWatchdog::setTimer(const QString &name, bool enabled)
{
    if (NamedTimer *timer = m_timers.timer(name))
        timer->setEnabled(enabled);
}

void ReconnectWatchdog::perepodkTick()
{
    if (m_minuteCount < std::numeric_limits<qint16>::max())
        ++m_minuteCount;
    if (m_minuteCount != m_interval)
        return;
    m_minuteCount = 0;
    if (m_suspended)
        return;
    m_session.setProbeReturned(false);
    // The main bot's own number, through the main bot's own connection.
    m_session.setCurrentSlot(1);
    m_session.sendMessageOn(1, IncomingReader::ProbeText, probeNumber());
    setTimer(QStringLiteral("perepodk1"), true);
    emit probeSent();
}

void ReconnectWatchdog::perepodk1Tick()
{
    setTimer(QStringLiteral("perepodk1"), false);
    if (m_session.ProbeReturned())
        return;
    m_session.setProbeReturned(true);
    if (m_suspended)
        return;
    m_session.closeSlot(1);
    m_session.releaseSlot(1);
    m_presence.forget(1);
    emit connectionLost();
    relogin();
}

void ReconnectWatchdog::relogin()
{
    const Settings settings = Settings::read();
    if (settings.isEmpty() || !settings.autoEnter())
        return;
    const std::optional<StoredLogin::Credentials> stored = StoredLogin::fromSettings(settings);
    if (!stored || stored->uin <= 0)
        return;
    const qint32 uin = stored->uin;
    const QString password = stored->password;
    if (password.isEmpty())
        return;
    if (m_agreementAccepted && !m_agreementAccepted())
        return;
    if (DistributionList::isEmpty()) {
        Dialogs::instance().notify(DistributionTitle, DistributionText, Dialogs::Icon::Information,
                                   QStringLiteral("distribution-list-empty"));
        emit distributionPageRequested();
        return;
    }
    const QString number = QString::number(uin);
    m_session.setMainUin(uin);
    m_session.setMainPassword(password);
    if (m_relogin) {
        m_relogin(number, password);
        return;
    }
    const LoginForm::Server server = LoginForm::loginServer();
    m_session.startLogin(1, number, server.host, server.port);
}
