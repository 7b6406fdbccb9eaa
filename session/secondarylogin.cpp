#include "session/secondarylogin.h"

#include "core/namedtimer.h"
#include "session/botpresence.h"
#include "files/distributionlist.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSecondaryLogin, "korvane.secondarylogin", QtInfoMsg)

namespace {

void setTimer(TimerRegistry &timers, const QString &name, bool enabled)
{
    if (NamedTimer *timer = timers.timer(name))
        timer->setEnabled(enabled);
}

} // namespace

SecondaryLogin::SecondaryLogin(TimerRegistry &timers, const BotPresence &presence, LoginStarter start,
                               LoginAbandoner abandon, QObject *parent)
    : QObject(parent)
    , m_timers(timers)
    , m_presence(presence)
    , m_start(std::move(start))
    , m_abandon(std::move(abandon))
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(SignOnTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &SecondaryLogin::onTimeout);
}

void SecondaryLogin::rasperdTick()
{
    setTimer(m_timers, QStringLiteral("rasperd"), false);
    const DistributionList list = DistributionList::load();

    while (!m_retry.isEmpty()) {
        const int slot = m_retry.takeFirst();
        const std::optional<DistributionList::Entry> entry = list.entryForSlot(slot);
        if (entry && !m_presence.isSignedOn(slot) && !m_presence.isLoggingIn(slot) &&
            !(m_holdBack && m_holdBack(slot))) {
            start(entry->index, entry->number, entry->password);
            return;
        }
    }

    ++m_count;
    for (const DistributionList::Entry &entry : list.entries()) {
        if (entry.line < m_nextLine)
            continue;
        m_nextLine = entry.line + 1;
        start(entry.index, entry.number, entry.password);
        return;
    }
    // Past the last line (or a line that ends the list): the watchdog takes over.
    setTimer(m_timers, QStringLiteral("perepodk"), true);
}

void SecondaryLogin::start(int slot, const QString &number, const QString &password)
{
    m_pendingSlot = slot;
    m_timeout.start();
    emit loginStarted(slot, number);
    if (m_start)
        m_start(slot, number, password);
}

void SecondaryLogin::noteSignedOn(int slot)
{
    if (slot == m_pendingSlot) {
        m_pendingSlot = 0;
        m_timeout.stop();
    }
    if (slot != 1 || m_nextLine == 0)
        return;
    // A fresh main sign-on brings back the secondary bots that went down meanwhile.
    m_retry.clear();
    const DistributionList list = DistributionList::load();
    for (const DistributionList::Entry &entry : list.entries()) {
        if (entry.line < m_nextLine && entry.index != m_pendingSlot && !m_presence.isSignedOn(entry.index))
            m_retry.append(entry.index);
    }
}

void SecondaryLogin::noteLoginFailed(int slot)
{
    if (slot == 0 || slot != m_pendingSlot)
        return;
    m_timeout.stop();
    m_pendingSlot = 0;
    qCInfo(lcSecondaryLogin).noquote() << "log-in of the bot on slot" << slot << "failed; next line";
    armNextTick();
}

void SecondaryLogin::stop()
{
    m_timeout.stop();
    m_pendingSlot = 0;
    m_retry.clear();
    setTimer(m_timers, QStringLiteral("rasperd"), false);
}

void SecondaryLogin::onTimeout()
{
    const int slot = m_pendingSlot;
    m_pendingSlot = 0;
    qCInfo(lcSecondaryLogin).noquote() << "bot on slot" << slot << "did not sign on in time; next line";
    if (m_abandon)
        m_abandon(slot);
    emit loginTimedOut(slot);
    armNextTick();
}

void SecondaryLogin::armNextTick()
{
    if (NamedTimer *timer = m_timers.timer(QStringLiteral("rasperd"))) {
        timer->setInterval(100);
        timer->setEnabled(true);
    }
}
