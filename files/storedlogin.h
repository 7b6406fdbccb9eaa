#pragma once

#include "core/textfile.h"

#include <QString>

#include <optional>

class Settings;

// The stored login of auto-login: the scrambled AutoICQNumber and AutoPassword of the
// general settings file (written by the auto-login page, read by the start-up and the
// reconnect watchdog), and the older stored-login file "\Настройки\Автовход.txt" in
// the same scramble. Not encryption: it only keeps the values from being read at a
// glance, and files from older installations must keep decoding. One decoder serves
// every reader.
namespace StoredLogin {

// line 1: 1 to use the file; line 2: the scrambled number; line 3: the scrambled password.
inline const QString FilePath = QStringLiteral("\\Настройки\\Автовход.txt");

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

// Back to the password, group by group: every whole group of four characters that reads
// as a number and gives a code of the code page adds its character; a group that does
// not adds nothing, and a trailing part shorter than four is ignored. So a damaged value
// still gives every character that survives (empty text is the empty password).
QString UnscramblePassword(const QString &scrambled);

struct Credentials
{
    qint32 uin = 0;
    QString password;
};

// The login the scrambled pair stands for; nullopt when the number does not decode or
// falls outside 32 bits (then nothing should log in).
std::optional<Credentials> decode(const QString &scrambledNumber, const QString &scrambledPassword);
// The pair of the general settings file (nullopt without an AutoICQNumber line).
std::optional<Credentials> fromSettings(const Settings &settings);
// The settings keys of the auto-login page: AutoEnter, AutoICQNumber, AutoPassword, in
// this order; the number empty when the typed text holds none.
TextFile::Result writeSettings(bool autoEnter, const QString &typedNumber, const QString &password);

// The stored-login file, when its first line holds 1; the number is nullopt when it
// does not decode (the password is decoded whatever the number gives).
struct FileLogin
{
    std::optional<qint32> uin;
    QString password;
};
std::optional<FileLogin> readFile();

} // namespace StoredLogin

// The login the login window remembers, "\Настройки\Автоввод.txt": line 1 the number box,
// line 2 the password box, both in plain text, written owner-only.
namespace RememberedLogin {

inline const QString FilePath = QStringLiteral("\\Настройки\\Автоввод.txt");

struct Boxes
{
    QString number;
    QString password;
};

// Both lines when both are non-empty; nullopt otherwise.
std::optional<Boxes> read();
TextFile::Result write(const QString &number, const QString &password);

} // namespace RememberedLogin
