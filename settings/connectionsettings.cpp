#include "settings/connectionsettings.h"

#include "platform/autostart.h"

namespace {

namespace Key = GeneralSettings::Key;

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

const QStringList ConnectionSettings::Servers = {
    QStringLiteral("login.icq.com"),
    QStringLiteral("login.oscar.aol.com"),
    QStringLiteral("ibucp-vip-d.blue.aol.com"),
    QStringLiteral("ibucp-vip-m.blue.aol.com"),
};

void ConnectionSettings::load()
{
    m_values.loaded(fromSettings(Settings::read()));
}

ConnectionSettings::Values ConnectionSettings::fromSettings(const Settings &settings)
{
    Values values;
    values.server = settings.value(Key::Server).value_or(values.server);
    values.port = settings.value(Key::Port).value_or(values.port);
    values.autoRun = settings.autoRun();
    values.autoUpdate = settings.autoUpdate();
    values.hideTray = settings.hideTray();
    values.reconnect = settings.reconnectOn();
    values.interval = settings.value(Key::IntervalConnect).value_or(values.interval);
    return values;
}

GeneralSettings::Pairs ConnectionSettings::pairs(const Values &values)
{
    return {
        {Key::Server, values.server},       {Key::Port, values.port},
        {Key::AutoRun, flag(values.autoRun)}, {Key::AutoUpdate, flag(values.autoUpdate)},
        {Key::HideTray, flag(values.hideTray)}, {Key::ReConnect, flag(values.reconnect)},
        {Key::IntervalConnect, values.interval},
    };
}

PageSave ConnectionSettings::save()
{
    Values &values = m_values.shown();
    if (const PageSave refused = PageSave::checkLines({values.server, values.port, values.interval}); !refused)
        return refused;
    // The prompt is no server: an empty line would send the next log-in nowhere.
    if (values.server.trimmed().isEmpty())
        values.server = Servers.constFirst();
    const TextFile::Result written = GeneralSettings::MergeSettings(pairs(values));
    const bool autostart = Autostart::instance().setEnabled(values.autoRun);
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    if (!autostart)
        return PageSave::failed(PageSave::Outcome::AutostartRefused, QString());
    return PageSave::saved();
}
