#include "session/postlogin.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "files/startupsound.h"
#include "platform/sound.h"
#include "session/connectionlog.h"

namespace {

void call(const std::function<void()> &f)
{
    if (f)
        f();
}

void enable(TimerRegistry &timers, const QString &name, int intervalMs = 0)
{
    NamedTimer *timer = timers.timer(name);
    if (!timer)
        return;
    if (intervalMs > 0)
        timer->setInterval(intervalMs);
    timer->setEnabled(true);
}

} // namespace

PostLoginActions::PostLoginActions(TimerRegistry &timers, PostLoginView view)
    : m_timers(timers)
    , m_view(std::move(view))
    , m_loginSound(&PostLoginActions::playStartupSound)
{}

void PostLoginActions::run(int slot)
{
    // Any secondary bot, not only slot 2: with fixed slots the first line may have another index.
    if (slot > 1)
        enable(m_timers, QStringLiteral("timer_chat"));
    const bool online = slot <= 1 || !m_view.mainSignedOn || m_view.mainSignedOn();
    call(m_view.hideLoginWindow);
    if (online)
        call(m_view.showConnected);
    // The next secondary bot's log-in follows shortly.
    enable(m_timers, QStringLiteral("rasperd"), 100);
    ConnectionLog::prepend(ConnectionLog::LogInText);
    call(m_loginSound);
    if (m_view.setStatusText && online)
        m_view.setStatusText(OnlineText);
    enable(m_timers, QStringLiteral("Timer9"));
    if (m_hideAfterLogin) {
        m_hideAfterLogin = false;
        call(m_view.hideWindows);
    }
}

void PostLoginActions::playStartupSound()
{
    const QString file = StartupSound::file(Settings::read());
    if (!file.isEmpty())
        Sound::instance().play(file);
}
