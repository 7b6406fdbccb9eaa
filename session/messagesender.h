#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The channel-1 text message (SNAC 4,6) that SendMessage puts on a session connection.
namespace MessageSender {

struct Payload
{
    QByteArray data; // the frame's data part; empty when refused
    QString refusal; // why nothing can be sent; empty on success
    bool ok() const { return refusal.isEmpty(); }
};

// text is sent as it is (the caller encodes it), after the fragments 05 01 and 01 01 with
// character set 3. Refused: a recipient over 255 bytes, a text over 65531 bytes, or a
// frame whose data part would exceed 65535 bytes.
Payload messagePayload(QByteArrayView cookie, QByteArrayView toUin, QByteArrayView text);

// Eight bytes, each 1 to 255, from the program's random source.
QByteArray randomCookie();

} // namespace MessageSender
