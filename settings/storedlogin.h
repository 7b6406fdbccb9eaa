#pragma once

#include <QString>

#include <optional>

// The scrambled form of the login that auto-login keeps in the general settings file
// (AutoICQNumber, AutoPassword). Not encryption: it only keeps the values from being
// read at a glance, and files from older installations must keep decoding.
namespace StoredLogin {

// The number N as the text of (N * 23 / 3 + 10) / 50, computed in double precision in
// that order: 123456789 -> "18930041.18".
QString ScrambleNumber(double number);
// The same for a typed text; nullopt when the text holds no number.
std::optional<QString> ScrambleNumber(const QString &typed);

// Back to the number: (v * 50 - 10) * 3 / 23 rounded half to even. "." and "," are both
// read as the decimal separator. Empty or unreadable text gives nullopt.
std::optional<qint64> UnscrambleNumber(const QString &scrambled);

// Four decimal digits per character: its Windows-1251 code plus 1 at odd positions
// (counted from 1) and plus 2 at even ones. "pass1" -> "01130099011601170050".
// A character the code page cannot hold is taken as '?', as the data files store it.
QString ScramblePassword(const QString &password);

// Back to the password. Empty text is the empty password. Anything but whole groups of
// four digits, or a group outside the code page, gives nullopt.
std::optional<QString> UnscramblePassword(const QString &scrambled);

} // namespace StoredLogin
