#pragma once

// Starting the bot with the operator's session. One instance serves the whole
// program; tests replace it with RecordingAutostart.
class Autostart
{
public:
    virtual ~Autostart() = default;

    virtual bool isEnabled() const = 0;
    // True on success; disabling when nothing is enabled succeeds and changes nothing.
    virtual bool setEnabled(bool enabled) = 0;

    static Autostart &instance();
    // Replaces the instance (not owned); nullptr restores the default that refuses.
    static void setInstance(Autostart *autostart);
};
