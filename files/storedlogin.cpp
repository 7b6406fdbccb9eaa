#include "files/storedlogin.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/vbvalues.h"

#include <cmath>
#include <limits>

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

QString UnscramblePassword(const QString &scrambled)
{
    QByteArray bytes;
    bytes.reserve(scrambled.size() / 4);
    for (qsizetype group = 0; 4 * (group + 1) <= scrambled.size(); ++group) {
        const std::optional<double> value = VbValues::toNumber(scrambled.mid(4 * group, 4));
        if (!value)
            continue;
        const double code = *value - positionOffset(group);
        if (code < 0 || code > 255 || code != double(qint64(code)))
            continue;
        bytes.append(char(quint8(code)));
    }
    return Cp1251::decode(bytes);
}

std::optional<Credentials> decode(const QString &scrambledNumber, const QString &scrambledPassword)
{
    const std::optional<qint64> number = UnscrambleNumber(scrambledNumber);
    if (!number || *number < std::numeric_limits<qint32>::min() || *number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return Credentials{qint32(*number), UnscramblePassword(scrambledPassword)};
}

std::optional<Credentials> fromSettings(const Settings &settings)
{
    const std::optional<QString> number = settings.value(GeneralSettings::Key::AutoICQNumber);
    if (!number)
        return std::nullopt;
    return decode(*number, settings.autoPassword());
}

TextFile::Result writeSettings(bool autoEnter, const QString &typedNumber, const QString &password)
{
    namespace Key = GeneralSettings::Key;
    return GeneralSettings::MergeSettings({
        {Key::AutoEnter, autoEnter ? QStringLiteral("1") : QStringLiteral("0")},
        {Key::AutoICQNumber, ScrambleNumber(typedNumber).value_or(QString())},
        {Key::AutoPassword, ScramblePassword(password)},
    });
}

std::optional<FileLogin> readFile()
{
    const QStringList lines = TextFile::readLines(FilePath);
    if (!lines.isEmpty() && !VbValues::isNumber(lines.at(0)))
        TextFile::reportBadLine(FilePath, 1, TextFile::notANumber(lines.at(0)));
    if (lines.isEmpty() || !VbValues::holdsNumber(lines.at(0), 1))
        return std::nullopt;
    FileLogin login;
    if (const std::optional<Credentials> both = decode(lines.value(1), QString()))
        login.uin = both->uin;
    else if (!lines.value(1).isEmpty())
        TextFile::reportBadLine(FilePath, 2, TextFile::notANumber(lines.at(1)));
    login.password = UnscramblePassword(lines.value(2));
    return login;
}

} // namespace StoredLogin

namespace RememberedLogin {

std::optional<Boxes> read()
{
    const QStringList lines = TextFile::readLines(FilePath);
    if (lines.size() < 2 || lines.at(0).isEmpty() || lines.at(1).isEmpty())
        return std::nullopt;
    return Boxes{lines.at(0), lines.at(1)};
}

TextFile::Result write(const QString &number, const QString &password)
{
    return TextFile::writeLines(FilePath, {number, password}, TextFile::Option::OwnerOnly);
}

} // namespace RememberedLogin
