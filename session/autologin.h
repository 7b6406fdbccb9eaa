#pragma once

#include "session/credentials.h"

class IcqSession;

// The log-in without the button: the stored login at start, each secondary bot in
// turn, and the watchdog's new log-in. The stored login itself is decoded by
// StoredLogin (files/storedlogin.h).
namespace AutoLogin {

// vhod_auto: opens the login connection of the number's slot to the login server of
// the general settings file with these credentials. Returns the slot.
int vhod_auto(IcqSession &session, const ::Credentials &credentials);

} // namespace AutoLogin
