#include "settings/storedlogin.h"

#include "core/cp1251.h"
#include "core/vbvalues.h"

#include <cmath>

namespace StoredLogin {

namespace {

// 2^63: the first value a qint64 cannot hold.
constexpr double kInt64Limit = 9223372036854775808.0;

int positionOffset(qsizetype index)
{
    // Positions count from 1: index 0 is odd.
    return index % 2 == 0 ? 1 : 2;
}

} // namespace

QString ScrambleNumber(double number)
{
    return VbValues::numberText((number * 23 / 3 + 10) / 50);
}

std::optional<QString> ScrambleNumber(const QString &typed)
{
    const std::optional<double> number = VbValues::toNumber(typed);
    if (!number)
        return std::nullopt;
    return ScrambleNumber(*number);
}

std::optional<qint64> UnscrambleNumber(const QString &scrambled)
{
    const std::optional<double> value = VbValues::toNumber(scrambled);
    if (!value)
        return std::nullopt;
    const double number = VbValues::roundHalfEven((*value * 50 - 10) * 3 / 23);
    if (!std::isfinite(number) || number < -kInt64Limit || number >= kInt64Limit)
        return std::nullopt;
    return qint64(number);
}

QString ScramblePassword(const QString &password)
{
    const QByteArray bytes = Cp1251::encode(password);
    QString digits;
    digits.reserve(bytes.size() * 4);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        // Always four digits, also for the control characters, so every group stays whole.
        const int code = quint8(bytes.at(i)) + positionOffset(i);
        digits += QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
    }
    return digits;
}

std::optional<QString> UnscramblePassword(const QString &scrambled)
{
    if (scrambled.size() % 4 != 0)
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(scrambled.size() / 4);
    for (qsizetype group = 0; group < scrambled.size() / 4; ++group) {
        int value = 0;
        for (const QChar c : QStringView(scrambled).mid(group * 4, 4)) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            value = value * 10 + (c.unicode() - '0');
        }
        const int code = value - positionOffset(group);
        if (code < 0 || code > 255)
            return std::nullopt;
        bytes.append(char(code));
    }
    return Cp1251::decode(bytes);
}

} // namespace StoredLogin
