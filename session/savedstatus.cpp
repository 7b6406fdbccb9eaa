#include "session/savedstatus.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "session/icqsession.h"

SavedStatus::SavedStatus(IcqSession &session, TimerRegistry &timers, std::function<void(int code)> restored)
    : m_session(session)
    , m_timers(timers)
    , m_restored(std::move(restored))
{}

int SavedStatus::statusToRestore()
{
    const Settings settings = Settings::read();
    return settings.saveStatus().value_or(false) ? settings.savedStatus() : 0;
}

void SavedStatus::timer9Tick()
{
    if (const int code = statusToRestore()) {
        m_session.abb(code);
        if (m_restored)
            m_restored(code);
    }
    if (NamedTimer *timer = m_timers.timer(QStringLiteral("Timer9")))
        timer->setEnabled(false);
}

bool SavedStatus::toggleRemember(bool checked)
{
    const bool remember = !checked;
    Settings::writeSaveStatus(remember);
    return remember;
}
