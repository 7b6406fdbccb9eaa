#include "tools/wire/icbm.h"

#include "core/cp1251.h"
#include "session/packetreader.h"

namespace {

constexpr quint16 TlvMessage = 0x0002;
constexpr quint16 TlvAckRequest = 0x0003;
constexpr quint16 TlvStoreOffline = 0x0006;
constexpr quint16 FragmentCapabilities = 0x0501;
constexpr quint16 FragmentText = 0x0101;
constexpr qsizetype MaxSnacBody = 0xFFFF - 10;

QByteArray eightBytes(const QByteArray &cookie)
{
    QByteArray out = cookie.left(Icbm::CookieSize);
    out.append(Icbm::CookieSize - out.size(), '\0');
    return out;
}

// The value of TLV 2: the capabilities fragment the bot sends, then the text fragment.
std::optional<QByteArray> messageFragments(const IcbmText &message)
{
    PacketWriter text;
    text.u16(message.charset).u16(message.subset).bytes(message.text);
    PacketWriter w;
    w.tlv(FragmentCapabilities, QByteArrayView("\x01", 1)).tlv(FragmentText, text.data());
    if (w.overflowed() || w.size() > 0xFFFF)
        return std::nullopt;
    return w.data();
}

// The last text fragment among the values of every TLV 2 of the list.
bool readTextFragment(const QList<TLVEntry> &tlvs, IcbmText *message)
{
    bool found = false;
    for (const TLVEntry &tlv : tlvs) {
        if (tlv.type != TlvMessage)
            continue;
        PacketReader fragments(tlv.value);
        for (const TLVEntry &fragment : fragments.tlvs()) {
            if (fragment.type != FragmentText)
                continue;
            PacketReader r(fragment.value);
            message->charset = r.u16();
            message->subset = r.u16();
            message->text = r.rest();
            found = true;
        }
    }
    return found;
}

} // namespace

QString IcbmText::decodedText() const
{
    if (charset == CharsetUcs2) {
        QString out;
        for (qsizetype i = 0; i + 1 < text.size(); i += 2)
            out.append(QChar(char16_t((quint8(text[i]) << 8) | quint8(text[i + 1]))));
        return out;
    }
    return Cp1251::decode(text);
}

namespace Icbm {

QByteArray randomCookie(QRandomGenerator &random)
{
    QByteArray cookie(CookieSize, '\0');
    for (char &c : cookie)
        c = char(random.bounded(1, 256));
    return cookie;
}

std::optional<QByteArray> sendBody(const IcbmText &message)
{
    const std::optional<QByteArray> fragments = messageFragments(message);
    if (!fragments)
        return std::nullopt;
    PacketWriter w;
    w.bytes(eightBytes(message.cookie)).u16(message.channel).lenBytes8(message.uin.toLatin1());
    w.tlv(TlvMessage, *fragments);
    if (message.ackRequested)
        w.tlv(TlvAckRequest, {});
    w.tlv(TlvStoreOffline, {});
    if (w.overflowed() || w.size() > MaxSnacBody)
        return std::nullopt;
    return w.data();
}

std::optional<IcbmText> parseSendBody(QByteArrayView body)
{
    PacketReader r(body);
    IcbmText message;
    message.cookie = r.bytes(CookieSize);
    message.channel = r.u16();
    message.uin = QString::fromLatin1(r.lenBytes8());
    if (r.failed())
        return std::nullopt;
    const QList<TLVEntry> tlvs = r.tlvs();
    if (!readTextFragment(tlvs, &message))
        return std::nullopt;
    message.ackRequested = findTlv(tlvs, TlvAckRequest);
    return message;
}

std::optional<QByteArray> receiveBody(const IcbmText &message, const QList<TLVEntry> &userInfo)
{
    const std::optional<QByteArray> fragments = messageFragments(message);
    if (!fragments)
        return std::nullopt;
    PacketWriter w;
    w.bytes(eightBytes(message.cookie)).u16(message.channel).lenBytes8(message.uin.toLatin1());
    w.u16(0).u16(quint16(userInfo.size())); // warning level, user-info TLV count
    for (const TLVEntry &tlv : userInfo)
        w.tlv(quint16(tlv.type), tlv.value);
    w.tlv(TlvMessage, *fragments);
    if (w.overflowed() || w.size() > MaxSnacBody)
        return std::nullopt;
    return w.data();
}

std::optional<IcbmText> parseReceiveBody(QByteArrayView body)
{
    PacketReader r(body);
    IcbmText message;
    message.cookie = r.bytes(CookieSize);
    message.channel = r.u16();
    message.uin = QString::fromLatin1(r.lenBytes8());
    r.skip(4); // warning level and user-info count: the TLVs are read as one list below
    if (r.failed())
        return std::nullopt;
    if (!readTextFragment(r.tlvs(), &message))
        return std::nullopt;
    return message;
}

} // namespace Icbm
