#include "session/incomingreader.h"

#include "core/cp1251.h"
#include "session/packetreader.h"

#include <QStringDecoder>

namespace IncomingReader {

namespace {

constexpr qint32 MessageTlv = 0x0002;
constexpr qint32 TextFragment = 0x0101;
constexpr quint16 CharsetUnicode = 2;
constexpr quint16 CharsetAscii = 0;

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (quint8(c) >= 0x80)
            return false;
    }
    return true;
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<Message> parseMessage(QByteArrayView snacData)
{
    PacketReader reader(snacData);
    reader.skip(8); // message cookie
    reader.u16();   // message channel, not checked
    Message message;
    message.sender = reader.lenBytes8();
    reader.u16(); // warning level
    reader.u16(); // count of user-information TLVs: they are read with the rest
    if (reader.failed())
        return std::nullopt;

    // User information and message TLVs form one list; a TLV cut short ends it.
    const QList<TLVEntry> tlvs = reader.tlvs();
    for (const TLVEntry &tlv : tlvs) {
        if (tlv.type != MessageTlv)
            continue;
        PacketReader fragments(tlv.value);
        for (const TLVEntry &fragment : fragments.tlvs()) {
            if (fragment.type != TextFragment)
                continue;
            PacketReader text(fragment.value);
            message.charset = text.u16();
            text.u16(); // character subset
            message.text = text.failed() ? QByteArray() : text.rest();
        }
    }
    return message;
}

QString decodeText(QByteArrayView bytes, quint16 charset)
{
    if (charset == CharsetUnicode) {
        QStringDecoder decoder(QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    if (charset == CharsetAscii && !isAscii(bytes)) {
        if (const std::optional<QString> text = strictUtf8(bytes))
            return *text;
    }
    return Cp1251::decode(bytes);
}

bool isValidUin(QByteArrayView number)
{
    if (number.isEmpty() || number.size() > 15)
        return false;
    for (const char c : number) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool lastCharacterAccepted(QStringView text)
{
    if (text.isEmpty())
        return false;
    static const QString punctuation = QStringLiteral("!~@#$%^&*()-_=+{[]}:;' <,>.№?/\\|`\"");
    char16_t c = text.back().unicode();
    if ((c >= u'0' && c <= u'9') || punctuation.contains(QChar(c)))
        return true;
    // Upper case as the Windows-1251 code page knows it: only a-z and а-я change.
    if (c >= u'a' && c <= u'z')
        c = char16_t(c - u'a' + u'A');
    else if (c >= u'а' && c <= u'я')
        c = char16_t(c - u'а' + u'А');
    return (c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я');
}

std::optional<QByteArray> userNumber(QByteArrayView snacData)
{
    PacketReader reader(snacData);
    const QByteArray number = reader.lenBytes8();
    if (reader.failed())
        return std::nullopt;
    return number;
}

} // namespace IncomingReader
