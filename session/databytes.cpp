#include "session/databytes.h"

#include <algorithm>
#include <limits>

namespace DataForm {

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Upper-case digits of n without leading zeros; a negative n shows its 32-bit two's complement.
QByteArray hexDigits(qint32 n)
{
    return QByteArray::number(quint32(n), 16).toUpper();
}

} // namespace

QByteArray HexToBytes(QStringView hex)
{
    QByteArray out;
    out.reserve(hex.size() / 2);
    int high = -1;
    for (const QChar c : hex) {
        if (c == u' ')
            continue;
        const int value = hexDigitValue(c);
        // Packet constants are written by hand; a stray character must not become a silent wrong byte.
        if (value < 0)
            return {};
        if (high < 0) {
            high = value;
        } else {
            out.append(char(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0)
        return {};
    return out;
}

std::optional<qint32> BytesToNumber(QByteArrayView bytes)
{
    quint64 value = 0;
    for (const char c : bytes) {
        value = (value << 8) | quint8(c);
        if (value > quint64(std::numeric_limits<qint32>::max()))
            return std::nullopt;
    }
    return qint32(value);
}

QByteArray NumberToBytes(qint32 n)
{
    QByteArray digits = hexDigits(n);
    if (digits.size() % 2)
        digits.prepend('0');
    return HexToBytes(QString::fromLatin1(digits));
}

std::optional<QByteArray> NumberToBytesLE(qint32 n, int digitCount)
{
    const QByteArray digits = hexDigits(n);
    if (digitCount < 0 || digits.size() > digitCount)
        return std::nullopt;
    if (digitCount % 2)
        return QByteArray();
    QByteArray out = HexToBytes(QString::fromLatin1(digits.rightJustified(digitCount, '0')));
    std::reverse(out.begin(), out.end());
    return out;
}

QByteArray RoastPassword(QByteArrayView password)
{
    static const char table[] = "F3 26 81 C4 39 86 DB 92 71 A3 B9 E6 53 7A 95 7C";
    const QByteArray key = HexToBytes(table);
    QByteArray out(password.toByteArray());
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = char(out[i] ^ key[i % key.size()]);
    return out;
}

QString ShowHex(QByteArrayView bytes)
{
    static const char16_t digits[] = u"0123456789ABCDEF";
    // Every frame goes through here for the hex log: written in place.
    QString out(bytes.size() * 3, Qt::Uninitialized);
    QChar *to = out.data();
    for (const char c : bytes) {
        const quint8 b = quint8(c);
        *to++ = QChar(digits[b >> 4]);
        *to++ = QChar(digits[b & 0x0F]);
        *to++ = QLatin1Char(' ');
    }
    return out;
}

} // namespace DataForm
