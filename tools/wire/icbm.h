#pragma once

#include "session/flap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <optional>

// One ICQ text message (ICBM channel 1) as it travels in SNAC 4,6 (client to server,
// naming the recipient) and SNAC 4,7 (server to client, naming the sender).
struct IcbmText
{
    static constexpr quint16 CharsetAscii = 0x0000;
    static constexpr quint16 CharsetUcs2 = 0x0002;  // UTF-16, big-endian
    static constexpr quint16 CharsetLocal = 0x0003; // the sender's code page: Windows-1251 here

    QByteArray cookie; // 8 bytes
    quint16 channel = 1;
    QString uin;     // the recipient in 4,6, the sender in 4,7
    QByteArray text; // the text's bytes as they travel
    quint16 charset = CharsetLocal;
    quint16 subset = 0;
    bool ackRequested = false; // 4,6 only: TLV 3

    // The text as characters: UTF-16 for charset 2, else Windows-1251.
    QString decodedText() const;
};

namespace Icbm {

constexpr quint16 Family = 0x0004;
constexpr quint16 SendSubtype = 0x0006;
constexpr quint16 ReceiveSubtype = 0x0007;
constexpr quint16 ErrorSubtype = 0x0001;
constexpr quint16 AckSubtype = 0x000C;
constexpr int CookieSize = 8;

// Eight bytes, none of them zero, as the bot makes them.
QByteArray randomCookie(QRandomGenerator &random);

// The body of SNAC 4,6 in the bot's layout: cookie, channel 1, recipient, TLV 2 with the
// fragments 05 01 (one byte 01) and 01 01 (charset, subset, text), then an empty TLV 6.
// nullopt when the text or the number does not fit its length field.
std::optional<QByteArray> sendBody(const IcbmText &message);

// Reads a 4,6 body; nullopt when it is too short to name a recipient or carries no text
// fragment (other channels never do).
std::optional<IcbmText> parseSendBody(QByteArrayView body);

// The body of SNAC 4,7: cookie, channel, sender with warning level and user-info TLVs,
// then TLV 2 with the text fragments. nullopt when it cannot fit a frame.
std::optional<QByteArray> receiveBody(const IcbmText &message, const QList<TLVEntry> &userInfo);

// Reads a 4,7 body the way the bot does: the sender from offset 10, then everything from
// offset 15 + its length as one TLV list, the last 01 01 fragment of any TLV 2 being the
// text. nullopt when no text fragment is found.
std::optional<IcbmText> parseReceiveBody(QByteArrayView body);

} // namespace Icbm
