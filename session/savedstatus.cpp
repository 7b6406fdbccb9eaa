#include "session/savedstatus.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/vbvalues.h"
#include "session/icqsession.h"

SavedStatus::SavedStatus(IcqSession &session, TimerRegistry &timers, std::function<void(int code)> restored)
    : m_session(session)
    , m_timers(timers)
    , m_restored(std::move(restored))
{}

int SavedStatus::statusToRestore()
{
    const QString settings = GeneralSettings::ReadText();
    const std::optional<QString> on =
        GeneralSettings::LookupByLine(settings, GeneralSettings::Key::SaveStatus);
    if (!on || !VbValues::holdsNumber(*on, 1))
        return 0;
    const QString made =
        GeneralSettings::LookupByLine(settings, GeneralSettings::Key::SaveStatusMade).value_or(QString());
    for (const int code : {1, 2, 3}) {
        if (VbValues::holdsNumber(made, code))
            return code;
    }
    return 0;
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
    GeneralSettings::MergeSettings(
        {{GeneralSettings::Key::SaveStatus, remember ? QStringLiteral("1") : QStringLiteral("0")}});
    return remember;
}
