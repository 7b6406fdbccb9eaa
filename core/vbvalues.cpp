#include "core/vbvalues.h"

#include <cmath>
#include <limits>

namespace VbValues {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

template<typename T> bool fitRounded(double value, T &target)
{
    if (!std::isfinite(value))
        return false;
    const double rounded = roundHalfEven(value);
    if (rounded < double(std::numeric_limits<T>::min()) || rounded > double(std::numeric_limits<T>::max()))
        return false;
    target = T(rounded);
    return true;
}

template<typename T> bool fitText(const QString &text, T &target)
{
    const auto number = toNumber(text);
    return number && fitRounded(*number, target);
}

} // namespace

std::optional<double> toNumber(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;

    // Plain digits, as most counts and switches in the files are: read directly, exact
    // up to fifteen digits.
    if (end > begin && end - begin <= 15) {
        double whole = 0;
        qsizetype d = begin;
        while (d < end && isDigit(text.at(d)))
            whole = whole * 10 + (text.at(d++).unicode() - u'0');
        if (d == end)
            return whole;
    }

    // Validate the shape first, then let the C-locale parser read the normalised text.
    QByteArray normalised;
    normalised.reserve(end - begin);
    qsizetype i = begin;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        normalised.append(char(text.at(i++).unicode()));
    int mantissaDigits = 0;
    while (i < end && isDigit(text.at(i))) {
        normalised.append(char(text.at(i++).unicode()));
        ++mantissaDigits;
    }
    if (i < end && (text.at(i) == QLatin1Char('.') || text.at(i) == QLatin1Char(','))) {
        normalised.append('.');
        ++i;
        while (i < end && isDigit(text.at(i))) {
            normalised.append(char(text.at(i++).unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < end && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        normalised.append('e');
        ++i;
        if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
            normalised.append(char(text.at(i++).unicode()));
        int exponentDigits = 0;
        while (i < end && isDigit(text.at(i))) {
            normalised.append(char(text.at(i++).unicode()));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    bool ok = false;
    const double value = QString::fromLatin1(normalised).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value == 0.0 ? 0.0 : value; // no negative zero
}

bool holdsNumber(const QString &text, double value)
{
    const auto number = toNumber(text);
    return number && *number == value;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

bool toByte(const QString &text, quint8 &target)
{
    return fitText(text, target);
}
bool toInt16(const QString &text, qint16 &target)
{
    return fitText(text, target);
}
bool toInt32(const QString &text, qint32 &target)
{
    return fitText(text, target);
}
bool toByte(double value, quint8 &target)
{
    return fitRounded(value, target);
}
bool toInt16(double value, qint16 &target)
{
    return fitRounded(value, target);
}
bool toInt32(double value, qint32 &target)
{
    return fitRounded(value, target);
}

QString numberText(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0.0)
        return QStringLiteral("0");
    // 'g' with 15 digits is exactly VB's rule: no trailing zeros, exponent form when the
    // decimal exponent is below -4 or at least 15. QString::number ignores the locale.
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        text[e] = QLatin1Char('E');
        // Qt already writes a sign and at least two exponent digits ("1e+15", "1e-05").
    }
    return text;
}

QString printForm(double value)
{
    QString digits = numberText(std::fabs(value));
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    return (value < 0 ? QLatin1String("-") : QLatin1String(" ")) + digits + QLatin1Char(' ');
}

QString upperCase(const QString &text, YoCase yo)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - 0x20));
        else if (u >= 0x0430 && u <= 0x044F)
            c = QChar(char16_t(u - 0x20));
        else if (u == 0x0451 && yo == YoCase::Upper)
            c = QChar(char16_t(0x0401));
    }
    return result;
}

} // namespace VbValues
