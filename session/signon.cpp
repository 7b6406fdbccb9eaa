#include "session/signon.h"

#include "session/databytes.h"
#include "session/packetreader.h"

namespace SignOn {

namespace {

QByteArray hex(const char *text)
{
    return DataForm::HexToBytes(text);
}

bool isDigits(QStringView text, int minLength, int maxLength)
{
    if (text.size() < minLength || text.size() > maxLength)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

QByteArray sessionHello(QByteArrayView authCookie)
{
    return PacketWriter().u32(1).tlv(0x0006, authCookie).data();
}

QByteArray serviceVersions()
{
    return hex("00010017000000000017"
               "00010003 00020001 00030001 00150001 00040001 00060001 00090001 000A0001");
}

QByteArray rateRequest()
{
    return hex("00010006000000000006");
}

QByteArray rateAcknowledge()
{
    return hex("00010008000000000008 0001 0002 0003 0004 0005");
}

QByteArray ownInfoRequest()
{
    return hex("0001000E00000000000E");
}

QByteArray locationRightsRequest()
{
    return hex("00020002000000000002");
}

QByteArray contactRightsRequest()
{
    return hex("00030002000000000002");
}

QByteArray messageParamsRequest()
{
    return hex("00040004000000000004");
}

QByteArray privacyRightsRequest()
{
    return hex("00090002000000000002");
}

QByteArray setMessageParams()
{
    // Channel 0, flags 3, messages up to 8000 bytes, warning levels up to 999, no minimum interval.
    return hex("00040002000000000002 0000 00000003 1F40 03E7 03E7 00000000");
}

QByteArray setLocationInfo()
{
    const QByteArray capabilities = hex("094613494C7F11D18222444553540000"
                                        "094613444C7F11D18222444553540000");
    return PacketWriter().bytes(hex("00020004000000000004")).tlv(0x0005, capabilities).data();
}

QByteArray addVisible(const QStringList &numbers)
{
    PacketWriter writer;
    writer.bytes(hex("00090007000000000007"));
    for (const QString &number : numbers)
        writer.lenBytes8(number.toLatin1());
    return writer.data();
}

QByteArray setStatusOnline()
{
    // Direct-connection block of the sign-on: a private address, port 22997, type 4,
    // protocol 7, our fixed cookie, web port 80, features 3 and the update stamps.
    const QByteArray directConnection = hex("C0A80002 000059D5 04 0007 5A3C91E7 00000050 00000003"
                                            "42DF18BF 00000000 42DF18B8 0000");
    return PacketWriter()
        .bytes(hex("0001001E00000000001E"))
        .tlv(0x0006, hex("00030000"))
        .tlv(0x0008, hex("0000"))
        .tlv(0x000C, directConnection)
        .data();
}

QByteArray clientReady()
{
    return hex("00010002000000000002"
               "0001 0003 0110 028A"
               "0002 0001 0101 028A"
               "0003 0001 0110 028A"
               "0015 0001 0110 028A"
               "0004 0001 0110 028A"
               "0006 0001 0110 028A"
               "0009 0001 0110 028A"
               "000A 0001 0110 028A");
}

QByteArray offlineMessagesRequest(qint32 uin)
{
    // Meta requests carry little-endian numbers: length 8, the number, type 60, sequence 2.
    PacketWriter meta;
    meta.u16le(8).u32le(quint32(uin)).u16le(0x003C).u16le(2);
    return PacketWriter().bytes(hex("00150002000000010002")).tlv(0x0001, meta.data()).data();
}

QByteArray infoRequest(qint32 uin, int n, const QString &key)
{
    const QByteArray keyBytes = key.toLatin1();
    PacketWriter meta;
    meta.u16le(quint16(13 + keyBytes.size()))
        .u32le(quint32(uin))
        .u16le(2000)
        .u16le(quint16(n))
        .u16le(0x0898)
        .u16le(quint16(keyBytes.size()))
        .bytes(keyBytes)
        .u8(0);
    return PacketWriter()
        .snac(0x0015, 0x0002, 0x0000, (quint32(n) << 16) | 0x0002)
        .tlv(0x0001, meta.data())
        .data();
}

QStringList infoKeys()
{
    return {QStringLiteral("<key>DataFilesIP</key>"), QStringLiteral("<key>BannersIP</key>"),
            QStringLiteral("<key>ChannelsIP</key>")};
}

QStringList visibleNumbers(const QStringList &lines)
{
    QStringList numbers;
    for (const QString &line : lines) {
        const QString number = line.trimmed();
        if (isDigits(number, 1, 15))
            numbers.append(number);
    }
    return numbers;
}

} // namespace SignOn
