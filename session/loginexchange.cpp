#include "session/loginexchange.h"

#include "session/databytes.h"
#include "session/packetreader.h"

namespace LoginExchange {

namespace {

const char ClientId[] = "ICQ Inc. - Product of ICQ (TM).2000b.4.60.1.3278.85";

} // namespace

QByteArray loginPacket(QByteArrayView numberText, QByteArrayView password)
{
    return PacketWriter()
        .u32(1)
        .tlv(0x0001, numberText)
        .tlv(0x0002, DataForm::RoastPassword(password))
        .tlv(0x0003, QByteArrayView(ClientId))
        .tlv(0x0016, DataForm::HexToBytes("010A"))
        .tlv(0x0017, DataForm::HexToBytes("0005"))
        .tlv(0x0018, DataForm::HexToBytes("003C"))
        .tlv(0x0019, DataForm::HexToBytes("0001"))
        .tlv(0x001A, DataForm::HexToBytes("0CCE"))
        .tlv(0x0014, DataForm::HexToBytes("00000055"))
        .tlv(0x000F, QByteArrayView("en"))
        .tlv(0x000E, QByteArrayView("us"))
        .data();
}

bool isHello(const FLAP &frame)
{
    return frame.ChannelID() == ChannelSignOn && frame.Data() == DataForm::HexToBytes("00000001");
}

bool numberMatches(QByteArrayView value, qint32 uin)
{
    if (value.isEmpty() || value.size() > 15)
        return false;
    qint64 number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    return number == qint64(uin);
}

void splitAddress(QByteArrayView value, QString *host, quint16 *port)
{
    const qsizetype colon = value.indexOf(':');
    if (colon < 0) {
        *host = QString::fromLatin1(value);
        *port = DefaultPort;
        return;
    }
    *host = QString::fromLatin1(value.first(colon));
    // The leading digits after the colon.
    quint32 number = 0;
    qsizetype digits = 0;
    for (const char c : value.sliced(colon + 1)) {
        if (c < '0' || c > '9' || number > 0xFFFF)
            break;
        number = number * 10 + quint32(c - '0');
        ++digits;
    }
    *port = (digits == 0 || number == 0 || number > 0xFFFF) ? DefaultPort : quint16(number);
}

Reply readReply(const FLAP &frame, qint32 expectedUin)
{
    Reply reply;
    if (frame.ChannelID() != ChannelSignOff)
        return reply;
    for (const TLVEntry &tlv : frame.tlvs()) {
        switch (tlv.type) {
        case 0x0001:
            if (numberMatches(tlv.value, expectedUin))
                reply.matched = true;
            break;
        case 0x0004: // error address
            reply.refused = true;
            break;
        case 0x0008: // error code; some servers refuse with this one alone
            reply.refused = true;
            if (tlv.value.size() >= 2)
                reply.errorCode = quint16((quint8(tlv.value.at(0)) << 8) | quint8(tlv.value.at(1)));
            else if (tlv.value.size() == 1)
                reply.errorCode = quint8(tlv.value.at(0));
            break;
        case 0x0005:
            reply.hasAddress = true;
            splitAddress(tlv.value, &reply.host, &reply.port);
            break;
        case 0x0006:
            reply.hasCookie = true;
            reply.cookie = tlv.value;
            break;
        default:
            break;
        }
    }
    return reply;
}

} // namespace LoginExchange
