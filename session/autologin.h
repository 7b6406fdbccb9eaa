#pragma once

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

// vhod_auto: opens the login connection of numberText's slot to the login server of
// the general settings file. The caller sets MainUin and MainPassword first; only one
// log-in may be in its first leg at a time. Returns the slot.
int vhod_auto(IcqSession &session, const QString &numberText);

} // namespace AutoLogin
