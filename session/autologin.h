#pragma once

#include <QString>


class IcqSession;

// The log-in without the button: the stored login at start, each secondary bot in
// turn, and the watchdog's new log-in of the main bot. The stored login itself is
// decoded by StoredLogin (files/storedlogin.h).
namespace AutoLogin {

// vhod_auto: opens the login connection of numberText's slot to the login server of
// the general settings file. The caller sets MainUin and MainPassword first; only one
// log-in may be in its first leg at a time. Returns the slot.
int vhod_auto(IcqSession &session, const QString &numberText);

} // namespace AutoLogin
