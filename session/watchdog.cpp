#include "session/watchdog.h"

#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "platform/dialogs.h"
#include "session/botpresence.h"
#include "session/connectionlog.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"
#include "session/loginform.h"

#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <limits>

Q_LOGGING_CATEGORY(lcWatchdog, "korvane.watchdog", QtInfoMsg)

ReconnectWatchdog::ReconnectWatchdog(IcqSession &session, BotPresence &presence, TimerRegistry &timers,
                                     QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_presence(presence)
    , m_timers(timers)
    , m_retryTimer(new QTimer(this))
{
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer, &QTimer::timeout, this, &ReconnectWatchdog::retryWaiting);
    connect(&session, &IcqSession::sessionLost, this, [this](int slot, IcqSession::SessionEnd how) {
        noteSessionLost(slot, how != IcqSession::SessionEnd::AnotherClient);
    });
    connect(&session, &IcqSession::loginFailed, this, [this](int slot) { noteLoginFailed(slot); });
}

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
    m_down.removeAll(slot);
    History &history = m_history[slot];
    history.signedOn = Clock::instance().now();
    history.retryAt = QDateTime();
    history.minuteTick = false;
    if (slot == 1 && !m_session.WorkSlotUin(1).isEmpty())
        m_mainNumber = m_session.WorkSlotUin(1);
}

void ReconnectWatchdog::suspend()
{
    m_suspended = true;
    m_down.clear();
    for (History &history : m_history) {
        history.retryAt = QDateTime();
        history.minuteTick = false;
    }
    m_retryTimer->stop();
}

void ReconnectWatchdog::markDown(int slot)
{
    if (!m_down.contains(slot))
        m_down.append(slot);
    // The minute tick retries; it runs from here on even before the log-in chain ended.
    setTimer(QStringLiteral("perepodk"), true);
}

void ReconnectWatchdog::noteSessionLost(int slot, bool atOnce)
{
    if (m_interval <= 0 || m_suspended)
        return;
    markDown(slot);
    History &history = m_history[slot];
    history.minuteTick = !atOnce;
    if (!atOnce)
        return;
    const QDateTime now = Clock::instance().now();
    const qint64 upSecs = history.signedOn.isValid() ? history.signedOn.secsTo(now) : -1;
    history.quickDrops = upSecs >= 0 && upSecs < QuickDropSecs ? history.quickDrops + 1 : 0;
    if (history.quickDrops == 0) {
        // Not from inside the session's handler that noticed the loss.
        QMetaObject::invokeMethod(
            this, [this, slot] { retry({slot}); }, Qt::QueuedConnection);
        return;
    }
    if (history.quickDrops <= int(std::size(QuickDropWaitSecs))) {
        history.retryAt = now.addSecs(QuickDropWaitSecs[history.quickDrops - 1]);
        armRetryTimer();
        return;
    }
    history.minuteTick = true;
}

bool ReconnectWatchdog::holdsBack(int slot) const
{
    if (m_interval <= 0 || m_suspended || !m_down.contains(slot))
        return false;
    const History history = m_history.value(slot);
    return history.minuteTick || (history.retryAt.isValid() && history.retryAt > Clock::instance().now());
}

void ReconnectWatchdog::noteLoginFailed(int slot)
{
    if (m_interval <= 0 || m_suspended)
        return;
    markDown(slot);
}

void ReconnectWatchdog::retryWaiting()
{
    const QDateTime now = Clock::instance().now();
    QList<int> due;
    for (auto it = m_history.begin(); it != m_history.end(); ++it) {
        if (it->retryAt.isValid() && it->retryAt <= now) {
            it->retryAt = QDateTime();
            due.append(it.key());
        }
    }
    retry(due);
    armRetryTimer();
}

void ReconnectWatchdog::armRetryTimer()
{
    QDateTime next;
    for (const History &history : std::as_const(m_history)) {
        if (history.retryAt.isValid() && (!next.isValid() || history.retryAt < next))
            next = history.retryAt;
    }
    if (!next.isValid()) {
        m_retryTimer->stop();
        return;
    }
    const qint64 ms = Clock::instance().now().msecsTo(next);
    m_retryTimer->start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
}

void ReconnectWatchdog::retry(const QList<int> &bots)
{
    if (m_interval <= 0 || m_suspended) {
        m_down.clear();
        return;
    }
    const QDateTime now = Clock::instance().now();
    for (const int slot : bots) {
        if (!m_down.contains(slot))
            continue;
        if (m_presence.isSignedOn(slot)) {
            m_down.removeAll(slot);
            continue;
        }
        if (m_presence.isLoggingIn(slot))
            continue; // its outcome decides
        const QDateTime retryAt = m_history.value(slot).retryAt;
        if (retryAt.isValid() && retryAt > now)
            continue; // still waiting after a quick drop
        // Back in the list if this attempt fails too.
        m_down.removeAll(slot);
        relogin(slot);
    }
}

void ReconnectWatchdog::setTimer(const QString &name, bool enabled)
{
    if (NamedTimer *timer = m_timers.timer(name))
        timer->setEnabled(enabled);
}

void ReconnectWatchdog::perepodkTick()
{
    for (History &history : m_history)
        history.minuteTick = false;
    if (!m_down.isEmpty())
        retry(QList<int>(m_down)); // a copy: retrying changes the list

    if (m_minuteCount < std::numeric_limits<qint16>::max())
        ++m_minuteCount;
    if (m_minuteCount != m_interval)
        return;
    m_minuteCount = 0;
    if (m_suspended)
        return;
    // A main bot on its way back has no session to probe.
    if (m_presence.isLoggingIn(1) || m_down.contains(1))
        return;
    m_session.setProbeReturned(false);
    // The main bot's own number, through the main bot's own connection.
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
    // A log-in started since the probe went out is left to finish.
    if (m_presence.isLoggingIn(1))
        return;
    const QString number = m_session.WorkSlotUin(1).isEmpty() ? probeNumber() : m_session.WorkSlotUin(1);
    ConnectionLog::prepend(ConnectionLog::ProbeLostText.arg(number));
    m_session.closeSlot(1);
    m_session.releaseSlot(1);
    emit connectionLost();
    relogin(1);
}

std::optional<Credentials> ReconnectWatchdog::storedLogin() const
{
    const Settings settings = Settings::read();
    if (settings.isEmpty() || !settings.autoEnter())
        return std::nullopt;
    const std::optional<StoredLogin::Credentials> stored = StoredLogin::fromSettings(settings);
    if (!stored || stored->uin <= 0 || stored->password.isEmpty())
        return std::nullopt;
    return Credentials{QString::number(stored->uin), stored->password};
}

std::optional<Credentials> ReconnectWatchdog::reloginCredentials(int slot) const
{
    // The last log-in that worked: a password the operator corrected by hand comes back
    // with the bot instead of a stored one the server refuses.
    if (std::optional<Credentials> last = m_session.lastSuccessfulLogin(slot))
        return last;
    // Then the log-in that never got through because the server stalled or hung up; one
    // the server refused is not sent again as it was.
    const Credentials attempt = m_session.lastLoginAttempt(slot);
    if (!attempt.isEmpty() && !m_session.lastLoginRefused(slot))
        return attempt;
    if (slot == 1)
        return storedLogin();
    if (const std::optional<DistributionList::Entry> entry = DistributionList::load().entryForSlot(slot))
        return Credentials{entry->number, entry->password};
    return std::nullopt;
}

void ReconnectWatchdog::relogin(int slot)
{
    const std::optional<Credentials> credentials = reloginCredentials(slot);
    if (!credentials || !credentials->uin()) {
        qCInfo(lcWatchdog) << "nothing to log slot" << slot << "in again with";
        return;
    }
    if (slot == 1) {
        if (m_agreementAccepted && !m_agreementAccepted())
            return;
        if (DistributionList::isEmpty()) {
            Dialogs::instance().notify(DistributionTitle, DistributionText, Dialogs::Icon::Information,
                                       QStringLiteral("distribution-list-empty"));
            emit distributionPageRequested();
            return;
        }
    }
    m_session.setMainUin(*credentials->uin());
    m_session.setMainPassword(credentials->password);
    emit reloggingIn(slot);
    if (m_relogin) {
        m_relogin(slot, *credentials);
        return;
    }
    m_session.startLogin(slot, *credentials, LoginForm::loginServer());
}
