#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// What the page shows, as AutoLoginSettings keeps it.
struct AutoLoginValues
{
    bool autoEnter = false;
    QString number;
    QString password;
    bool operator==(const AutoLoginValues &) const = default;
};

// The auto-login page without its window: auto-login on or off and the number and
// password the start-up and the reconnect watchdog log in with, stored scrambled
// (files/storedlogin.h is the one codec both ways).
class AutoLoginSettings : public PageLogic<AutoLoginValues>
{
public:
    void load();
    static Values fromSettings(const Settings &settings);
    // Refused, with nothing written, when a box fails PageSave::checkLines or the number
    // is not one the log-in takes (digits, 1 to 2147483647): a stored login is never
    // replaced by one that cannot log in.
    PageSave save();
};
