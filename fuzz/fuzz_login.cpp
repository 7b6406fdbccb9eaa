// The login server's reply: the frame, the walk over its TLVs, the number check and the
// split of the session address "host:port".

#include "fuzzsupport.h"

#include "session/databytes.h"
#include "session/flap.h"
#include "session/loginexchange.h"

#include <cstdint>

using Fuzz::require;

namespace {

void checkAddress(QByteArrayView value)
{
    QString host;
    quint16 port = 0;
    LoginExchange::splitAddress(value, &host, &port);
    require(port != 0);
    const qsizetype colon = value.indexOf(':');
    require(host == QString::fromLatin1(colon < 0 ? value : value.first(colon)));
    if (colon < 0) {
        require(port == LoginExchange::DefaultPort);
        return;
    }
    // The leading digits after the colon name the port when they make 1 to 65535.
    QByteArray digits;
    for (const char c : value.sliced(colon + 1)) {
        if (c < '0' || c > '9')
            break;
        if (!digits.isEmpty() || c != '0')
            digits.append(c);
    }
    const bool named = !digits.isEmpty() && digits.size() <= 5 && digits.toUInt() <= 0xFFFF;
    require(port == (named ? quint16(digits.toUInt()) : LoginExchange::DefaultPort));
}

void checkReply(const FLAP &frame, qint32 uin)
{
    const LoginExchange::Reply reply = LoginExchange::readReply(frame, uin);
    if (frame.ChannelID() != ChannelSignOff) {
        require(!reply.matched && !reply.hasCookie && !reply.hasAddress);
        return;
    }
    QByteArray value;
    require(reply.hasCookie == frame.findTLV(6, &value));
    require(reply.hasAddress == frame.findTLV(5, &value));
    if (reply.hasAddress)
        require(reply.port != 0);
    if (reply.handsOver())
        require(reply.matched && !reply.refused);
    (void)LoginExchange::isHello(frame);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(Fuzz::quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    // The number logged in with comes first, then the reply frame as the server sent it.
    Fuzz::Cursor cursor(input);
    const QByteArrayView number = cursor.piece8();
    const std::optional<qint32> uin = DataForm::BytesToNumber(number.first(std::min<qsizetype>(number.size(), 4)));
    const QByteArrayView reply = cursor.rest();

    FLAP frame;
    frame.ReadFLAP(reply);
    checkReply(frame, uin.value_or(0));
    for (const TLVEntry &tlv : frame.tlvs()) {
        if (tlv.type == 5)
            checkAddress(tlv.value);
        if (tlv.type == 1 && LoginExchange::numberMatches(tlv.value, uin.value_or(0)))
            require(!tlv.value.isEmpty() && tlv.value.size() <= 15);
    }

    // The same bytes read as the data part of a channel-4 frame.
    FLAP built;
    built.FLAP_Create(ChannelSignOff, LoginExchange::LoginSequence);
    built.AppendData(reply.first(std::min<qsizetype>(reply.size(), 0xFFFF)));
    FLAP parsed;
    parsed.ReadFLAP(built.FLAP_Send());
    require(parsed.ChannelID() == ChannelSignOff);
    checkReply(parsed, uin.value_or(0));

    checkAddress(input);
    (void)LoginExchange::numberMatches(input, uin.value_or(0));
    return 0;
}
