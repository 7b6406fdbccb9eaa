#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// Windows-1251, the code page of every data file and of message texts on the wire.
// Our own table: Qt 6 has no dependable 1251 codec. Every one of the 256 byte values
// survives decode() then encode(); 0x98, which 1251 leaves undefined, maps to U+0098.
namespace Cp1251 {

QChar toChar(quint8 byte);
// The 1251 byte of a character; nullopt when the code page cannot hold it.
std::optional<quint8> toByte(QChar c);

QString decode(QByteArrayView bytes);
// Characters the code page cannot hold become '?' (a surrogate pair becomes one '?').
QByteArray encode(QStringView text);

// True when encode() would keep every character.
bool canEncode(QStringView text);

} // namespace Cp1251
