#pragma once

#include "session/credentials.h"

#include <QString>

#include <optional>

class IcqSession;

// The log-in without the button: the stored login at start, each secondary bot in
// turn, and the watchdog's new log-in of the main bot.
namespace AutoLogin {

struct Credentials
{
    qint32 uin = 0;
    QString password;
};

// The scrambled AutoICQNumber and AutoPassword of the general settings file. nullopt
// when the number is empty or does not decode ("." and "," both read as the decimal
// separator): then nothing should log in.
std::optional<Credentials> decode(const QString &scrambledNumber, const QString &scrambledPassword);

// The same read from the general settings file now, by the line lookup.
std::optional<Credentials> readStored();

// vhod_auto: opens the login connection of the number's slot to the login server of
// the general settings file with these credentials. Returns the slot.
int vhod_auto(IcqSession &session, const ::Credentials &credentials);

} // namespace AutoLogin
