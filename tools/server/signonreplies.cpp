#include "tools/server/signonreplies.h"

#include "session/packetreader.h"

#include <algorithm>
#include <array>

namespace {

struct RateClass
{
    quint16 id;
    quint32 window, clear, alert, limit, disconnect, current, max;
};

constexpr std::array<RateClass, 5> RateClasses = {{
    {1, 0x50, 2500, 1000, 500, 300, 7900, 8000},
    {2, 0x50, 3000, 1000, 500, 300, 6900, 7000},
    {3, 0x14, 4100, 4000, 3000, 2000, 6900, 7000},
    {4, 0x14, 4500, 4300, 3200, 2000, 7900, 8000},
    {5, 0x0A, 4500, 4300, 3200, 2000, 8900, 9000},
}};

struct FamilyRange
{
    quint16 family;
    quint16 lastSubtype;
};

// Every subtype from 1 up to the last of each family belongs to some class.
constexpr std::array<FamilyRange, 13> RatedFamilies = {{
    {0x01, 0x21},
    {0x02, 0x15},
    {0x03, 0x0C},
    {0x04, 0x14},
    {0x06, 0x03},
    {0x07, 0x09},
    {0x08, 0x02},
    {0x09, 0x0B},
    {0x0A, 0x03},
    {0x0B, 0x04},
    {0x0C, 0x03},
    {0x13, 0x28},
    {0x15, 0x03},
}};

struct RatedPair
{
    quint16 rateClass, family, subtype;
};

// The pairs outside class 1.
constexpr std::array<RatedPair, 14> StricterPairs = {{
    {2, 0x03, 0x04},
    {2, 0x03, 0x05},
    {2, 0x09, 0x05},
    {2, 0x09, 0x06},
    {2, 0x09, 0x07},
    {2, 0x09, 0x08},
    {3, 0x04, 0x06},
    {3, 0x04, 0x08},
    {4, 0x02, 0x06},
    {4, 0x02, 0x0B},
    {4, 0x02, 0x15},
    {5, 0x15, 0x02},
    {5, 0x13, 0x08},
    {5, 0x13, 0x09},
}};

quint16 classOf(quint16 family, quint16 subtype)
{
    for (const RatedPair &pair : StricterPairs) {
        if (pair.family == family && pair.subtype == subtype)
            return pair.rateClass;
    }
    return 1;
}

constexpr std::array<quint16, 13> Families = {0x01, 0x02, 0x03, 0x04, 0x06, 0x07, 0x08,
                                              0x09, 0x0A, 0x0B, 0x0C, 0x13, 0x15};

QByteArray userBlock(const QString &uin, const QList<TLVEntry> &userInfo)
{
    PacketWriter w;
    w.lenBytes8(uin.toLatin1()).u16(0).u16(quint16(userInfo.size()));
    for (const TLVEntry &tlv : userInfo)
        w.tlv(quint16(tlv.type), tlv.value);
    return w.data();
}

} // namespace

namespace SignOnReplies {

QByteArray serverFamilies()
{
    PacketWriter w;
    for (quint16 family : Families)
        w.u16(family);
    return w.data();
}

QByteArray serviceVersions()
{
    PacketWriter w;
    for (quint16 family : Families)
        w.u16(family).u16(family == 0x01 ? 4 : family == 0x13 ? 5 : 1);
    return w.data();
}

QByteArray rateInformation()
{
    PacketWriter w;
    w.u16(quint16(RateClasses.size()));
    for (const RateClass &c : RateClasses) {
        w.u16(c.id).u32(c.window).u32(c.clear).u32(c.alert).u32(c.limit).u32(c.disconnect);
        w.u32(c.current).u32(c.max).u32(0).u8(0); // last time, state
    }
    for (const RateClass &c : RateClasses) {
        PacketWriter pairs;
        quint16 count = 0;
        for (const FamilyRange &range : RatedFamilies) {
            for (quint16 subtype = 1; subtype <= range.lastSubtype; ++subtype) {
                if (classOf(range.family, subtype) == c.id) {
                    pairs.u16(range.family).u16(subtype);
                    ++count;
                }
            }
        }
        w.u16(c.id).u16(count).bytes(pairs.data());
    }
    return w.data();
}

QByteArray messageOfTheDay(QByteArrayView text)
{
    PacketWriter w;
    w.u16(0x0004).tlv(0x000B, text); // type 4: an ordinary notice
    return w.data();
}

QByteArray reportInterval()
{
    PacketWriter w;
    w.u16(0x0001);
    return w.data();
}

QList<TLVEntry> userInfo(quint32 status, qint64 signOnTime, qint64 now, bool shortTlvs)
{
    const auto tlv = [](quint16 type, const PacketWriter &value) {
        TLVEntry entry;
        entry.type = type;
        entry.value = value.data();
        entry.length = qint32(entry.value.size());
        return entry;
    };
    const quint32 onlineSeconds = quint32(std::max<qint64>(now - signOnTime, 0));
    QList<TLVEntry> out;
    out.append(tlv(0x0001, PacketWriter().u16(0x0050)));
    if (shortTlvs) {
        out.append(tlv(0x0003, PacketWriter().u32(quint32(signOnTime))));
        out.append(tlv(0x0006, PacketWriter().u16(quint16(status))));
        out.append(tlv(0x000F, PacketWriter().u16(quint16(std::min<quint32>(onlineSeconds, 0xFFFF)))));
    } else {
        out.append(tlv(0x0006, PacketWriter().u32(status)));
        out.append(tlv(0x000F, PacketWriter().u32(onlineSeconds)));
        out.append(tlv(0x0003, PacketWriter().u32(quint32(signOnTime))));
        out.append(tlv(0x000A, PacketWriter().u32(0x7F000001))); // 127.0.0.1
    }
    return out;
}

QByteArray ownInformation(const QString &uin, const QList<TLVEntry> &userInfo)
{
    return userBlock(uin, userInfo);
}

QByteArray locationRights()
{
    PacketWriter w;
    w.tlvU16(0x0001, 0x0400).tlvU16(0x0002, 0x0010).tlvU16(0x0003, 0x000A).tlvU16(0x0004, 0x1000);
    return w.data();
}

QByteArray buddyListRights()
{
    PacketWriter w;
    w.tlvU16(0x0001, 0x0258).tlvU16(0x0002, 0x07D0).tlvU16(0x0003, 0x0200);
    return w.data();
}

QByteArray icbmParameters()
{
    PacketWriter w;
    // channel, flags, largest message, largest warning levels, least interval
    w.u16(0).u32(0x0000000B).u16(0x1F40).u16(0x03E7).u16(0x03E7).u32(0);
    return w.data();
}

QByteArray privacyRights()
{
    PacketWriter w;
    w.tlvU16(0x0001, 0x00DC).tlvU16(0x0002, 0x00DC);
    return w.data();
}

std::optional<QByteArray> metaReply(QByteArrayView requestBody)
{
    constexpr quint16 OfflineRequest = 0x003C;
    constexpr quint16 OfflineDone = 0x0042;
    constexpr quint16 MetaRequest = 0x07D0;
    constexpr quint16 MetaAnswer = 0x07DA;
    constexpr quint8 Success = 0x0A;

    PacketReader outer(requestBody);
    QByteArray request;
    if (!findTlv(outer.tlvs(), 0x0001, &request))
        return std::nullopt;
    PacketReader r(request);
    r.u16le(); // length of the rest
    const quint32 uin = r.u32le();
    const quint16 type = r.u16le();
    const quint16 sequence = r.u16le();
    PacketWriter inner;
    inner.u32le(uin);
    if (type == OfflineRequest) {
        inner.u16le(OfflineDone).u16le(sequence).u8(0);
    } else if (type == MetaRequest) {
        const quint16 subtype = r.u16le();
        // Answers carry the request's subtype plus 10 (0x0898 is answered by 0x08A2).
        inner.u16le(MetaAnswer).u16le(sequence).u16le(quint16(subtype + 0x0A)).u8(Success).u16le(1).u8(0);
    } else {
        return std::nullopt;
    }
    if (r.failed())
        return std::nullopt;
    PacketWriter value;
    value.u16le(quint16(inner.size())).bytes(inner.data());
    PacketWriter w;
    w.tlv(0x0001, value.data());
    return w.data();
}

QByteArray icbmError(quint16 code)
{
    PacketWriter w;
    w.u16(code);
    return w.data();
}

QByteArray icbmAck(QByteArrayView cookie, quint16 channel, const QString &recipient)
{
    PacketWriter w;
    w.bytes(cookie).u16(channel).lenBytes8(recipient.toLatin1());
    return w.data();
}

} // namespace SignOnReplies
