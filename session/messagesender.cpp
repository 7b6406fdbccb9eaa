#include "session/messagesender.h"

#include "core/random.h"
#include "session/databytes.h"
#include "session/packetreader.h"

#include <algorithm>

namespace MessageSender {

namespace {

constexpr qsizetype MaxRecipient = 255;
constexpr qsizetype MaxText = 0xFFFF - 4; // the text fragment's length counts 4 more bytes
constexpr qsizetype MaxDataPart = 0xFFFF;
constexpr qsizetype FixedDataBytes = 42; // everything but the recipient and the text

} // namespace

Payload messagePayload(QByteArrayView cookie, QByteArrayView toUin, QByteArrayView text)
{
    if (toUin.size() > MaxRecipient)
        return {{}, QStringLiteral("recipient longer than 255 bytes")};
    if (text.size() > MaxText)
        return {{}, QStringLiteral("text longer than 65531 bytes")};
    if (FixedDataBytes + toUin.size() + text.size() > MaxDataPart)
        return {{}, QStringLiteral("message frame longer than 65535 bytes")};

    PacketWriter fragments;
    fragments.bytes(DataForm::HexToBytes("05 01 00 01 01 01 01"))
        .u16(quint16(text.size() + 4))
        .bytes(DataForm::HexToBytes("00 03 00 00"))
        .bytes(text);

    PacketWriter writer;
    writer.snac(0x0004, 0x0006, 0x0000, 0x00010006)
        .bytes(cookie.first(std::min<qsizetype>(cookie.size(), 8)))
        .u16(0x0001)
        .lenBytes8(toUin)
        .tlv(0x0002, fragments.data())
        .tlv(0x0006, {});
    if (writer.overflowed() || cookie.size() != 8)
        return {{}, QStringLiteral("message frame cannot be built")};
    return {writer.data(), {}};
}

QByteArray randomCookie()
{
    QByteArray cookie(8, '\0');
    for (char &byte : cookie)
        byte = char(1 + Random::instance().bounded(255));
    return cookie;
}

} // namespace MessageSender
