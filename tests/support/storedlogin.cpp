#include "support/storedlogin.h"

#include "core/cp1251.h"
#include "core/vbvalues.h"

QString scrambledNumber(qint64 number)
{
    return VbValues::numberText((double(number) * 23 / 3 + 10) / 50);
}

QString scrambledPassword(const QString &password)
{
    QString digits;
    for (qsizetype i = 0; i < password.size(); ++i) {
        const int code = Cp1251::toByte(password.at(i)).value_or('?') + (i % 2 == 0 ? 1 : 2);
        digits += QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
    }
    return digits;
}
