#pragma once

#include "session/flap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The first leg of every log-in, on the login-server connection: the login packet,
// the reply and the goodbye. A login connection's frames are numbered from 2000 on: a
// strict server closes a connection whose frame repeats the number of the one before.
namespace LoginExchange {

constexpr quint16 LoginSequence = 2000;
constexpr quint16 DefaultPort = 5190;

// The login packet's data part (channel 1): version, then TLVs 1 (the number as
// typed), 2 (the roasted password) and the client identification TLVs.
QByteArray loginPacket(QByteArrayView numberText, QByteArrayView password);

// The goodbye on the login connection: channel 4, no data (the caller frames it).
inline QByteArray goodbye()
{
    return {};
}

// True for the server's hello: channel 1 whose data is exactly 00 00 00 01.
bool isHello(const FLAP &frame);

// What a channel-4 reply says, walked whole before anything is done with it.
struct Reply
{
    bool matched = false;    // a TLV 1 names the number being logged in
    bool refused = false;    // TLV 4 or 8: the server refuses the log-in
    bool hasCookie = false;  // TLV 6
    bool hasAddress = false; // TLV 5
    std::optional<quint16> errorCode; // TLV 8
    QByteArray cookie;
    QString host;
    quint16 port = DefaultPort;

    bool handsOver() const { return matched && !refused && hasCookie && hasAddress; }
};
Reply readReply(const FLAP &frame, qint32 expectedUin);

// TLV 1's value read as a decimal number ("0123" is 123); false when it is not 1 to 15 digits.
bool numberMatches(QByteArrayView value, qint32 uin);

// "host:port" of TLV 5. Without a colon, or with no digits after it, the port is 5190.
void splitAddress(QByteArrayView value, QString *host, quint16 *port);

} // namespace LoginExchange
