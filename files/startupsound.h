#pragma once

#include <QString>

class Settings;

// Which file the event sounds play, from the sound page's keys of the general settings
// file. One rule for the start-up, the login and the new-message sound: nothing while
// sounds are off; the chosen file when it is there; the default file when none is
// chosen or the chosen one is not there (as the system sound stood in before).
class StartupSound
{
public:
    // The start-up and login sound; empty while sounds are off.
    static QString file(const Settings &settings);
    // The new-message sound; empty while sounds are off.
    static QString messageFile(const Settings &settings);
    // chosen when it names an existing file, else fallback.
    static QString playable(const QString &chosen, const QString &fallback);
};
