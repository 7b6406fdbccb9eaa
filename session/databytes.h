#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Byte conversions shared by all packet code. Packets are byte arrays, never text.
namespace DataForm {

// Blanks are ignored; an odd number of digits gives an empty result.
QByteArray HexToBytes(QStringView hex);
inline QByteArray HexToBytes(const char *hex) { return HexToBytes(QString::fromLatin1(hex)); }

// Unsigned big-endian; nullopt where the value does not fit a signed 32-bit number.
std::optional<qint32> BytesToNumber(QByteArrayView bytes);

// Big-endian, as few bytes as needed (0 gives one byte 00).
QByteArray NumberToBytes(qint32 n);

// Little-endian, digitCount / 2 bytes; nullopt when n needs more digits. An odd count gives empty bytes.
std::optional<QByteArray> NumberToBytesLE(qint32 n, int digitCount);

// XOR with the OSCAR roasting table. Passwords longer than 16 bytes are refused by the
// login window before they get here; the table is applied cyclically should one arrive.
QByteArray RoastPassword(QByteArrayView password);

// "2A 02 " style dump: two upper-case digits and a blank per byte.
QString ShowHex(QByteArrayView bytes);

} // namespace DataForm
