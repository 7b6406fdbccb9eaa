#include "support/hex.h"

#include <QtGlobal>

#include <cstring>

QByteArray hex(const char *text)
{
    QByteArray digits;
    for (const char *c = text; *c; ++c) {
        if (*c == ' ')
            continue;
        if (!std::strchr("0123456789abcdefABCDEF", *c))
            qFatal("hex(\"%s\"): '%c' is no hex digit", text, *c);
        digits.append(*c);
    }
    if (digits.size() % 2 != 0)
        qFatal("hex(\"%s\"): odd number of digits", text);
    return QByteArray::fromHex(digits);
}

QString hexText(const char *text)
{
    return QString::fromLatin1(hex(text).toHex(' '));
}
