#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// The auto-login page without its window: auto-login on or off and the number and
// password the start-up and the reconnect watchdog log in with, stored scrambled
// (files/storedlogin.h is the one codec both ways).
class AutoLoginSettings
{
public:
    struct Values
    {
        bool autoEnter = false;
        QString number;
        QString password;
        bool operator==(const Values &) const = default;
    };

    void load();
    static Values fromSettings(const Settings &settings);
    // Refused, with nothing written, unless the number is one the log-in takes (digits,
    // 1 to 2147483647) and the password fits the file's code page: a stored login is
    // never replaced by one that cannot log in.
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};
