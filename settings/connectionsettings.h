#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>
#include <QStringList>

// What the page shows, as ConnectionSettings keeps it.
struct ConnectionValues
{
    QString server; // empty: the box shows its prompt
    QString port = GeneralSettings::Default::Port;
    bool autoRun = false;
    bool autoUpdate = false;
    bool hideTray = false;
    bool reconnect = false;
    QString interval = GeneralSettings::Default::IntervalConnect;
    bool operator==(const ConnectionValues &) const = default;
};

// The connection page without its window: the login server and port, the reconnect
// watchdog, the start with the session, the update check and the start in the tray,
// kept in the general settings file; the autostart entry follows AutoRun on every save.
class ConnectionSettings : public PageLogic<ConnectionValues>
{
public:
    // The login servers the server box offers; a save with no server takes the first.
    static const QStringList Servers;

    // Fills from the general settings file (missing keys keep the values above).
    void load();
    static Values fromSettings(const Settings &settings);
    // The seven keys in their order, then the autostart entry on or off; refused, with
    // nothing written, when a box fails PageSave::checkLines. A file that cannot be
    // written still lets the entry follow the box.
    PageSave save();

    static GeneralSettings::Pairs pairs(const Values &values);
};
