#pragma once

#include <functional>

class IcqSession;
class TimerRegistry;

// The status remembered across runs: "Timer9" ticks once 200 ms after each log-in and
// sets the status of the last exit again when "Запоминать статус при выходе" is on.
class SavedStatus
{
public:
    // restored gets the status code that was set again (1 online, 2 occupied, 3 invisible).
    SavedStatus(IcqSession &session, TimerRegistry &timers, std::function<void(int code)> restored);

    void timer9Tick();

    // The status to set again: SaveStatus holds 1 and SaveStatusMade 1, 2 or 3; else 0.
    static int statusToRestore();
    // "Запоминать статус при выходе": writes SaveStatus for the flipped check mark and
    // returns the new check mark.
    static bool toggleRemember(bool checked);

private:
    IcqSession &m_session;
    TimerRegistry &m_timers;
    std::function<void(int)> m_restored;
};
