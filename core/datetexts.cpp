#include "core/datetexts.h"

namespace DateTexts {

namespace {

QString twoDigits(int n)
{
    if (n >= 0 && n < 100) {
        const QChar digits[2] = {QChar(char16_t(u'0' + n / 10)), QChar(char16_t(u'0' + n % 10))};
        return QString(digits, 2);
    }
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Reads minDigits..maxDigits ASCII digits at text[pos..]; advances pos.
std::optional<int> readNumber(const QString &text, qsizetype &pos, int minDigits, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits) {
        const QChar c = text.at(pos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - u'0');
        ++digits;
        ++pos;
    }
    if (digits < minDigits)
        return std::nullopt;
    return value;
}

bool readChar(const QString &text, qsizetype &pos, QChar expected)
{
    if (pos >= text.size() || text.at(pos) != expected)
        return false;
    ++pos;
    return true;
}

} // namespace

QString dateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    // Every message writes the date several times over: the last text is kept.
    thread_local QDate lastDate;
    thread_local QString lastText;
    if (date == lastDate)
        return lastText;
    QString text = twoDigits(date.day()) + QLatin1Char('.') + twoDigits(date.month()) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    lastDate = date;
    lastText = text;
    return text;
}

QString timeText(const QTime &time)
{
    if (!time.isValid())
        return {};
    // The text names the second; within it the last text is kept.
    const int second = time.msecsSinceStartOfDay() / 1000;
    thread_local int lastSecond = -1;
    thread_local QString lastText;
    if (second == lastSecond)
        return lastText;
    QString text = QString::number(time.hour()) + QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':') +
                   twoDigits(time.second());
    lastSecond = second;
    lastText = text;
    return text;
}

QString dateTimeText(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return {};
    return dateText(dateTime.date()) + QLatin1Char(' ') + timeText(dateTime.time());
}

std::optional<QDate> parseDate(const QString &text)
{
    qsizetype pos = 0;
    const auto day = readNumber(text, pos, 1, 2);
    if (!day || !readChar(text, pos, QLatin1Char('.')))
        return std::nullopt;
    const auto month = readNumber(text, pos, 1, 2);
    if (!month || !readChar(text, pos, QLatin1Char('.')))
        return std::nullopt;
    const auto year = readNumber(text, pos, 4, 4);
    if (!year || pos != text.size())
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseTime(const QString &text)
{
    qsizetype pos = 0;
    const auto hour = readNumber(text, pos, 1, 2);
    if (!hour || !readChar(text, pos, QLatin1Char(':')))
        return std::nullopt;
    const auto minute = readNumber(text, pos, 2, 2);
    if (!minute || !readChar(text, pos, QLatin1Char(':')))
        return std::nullopt;
    const auto second = readNumber(text, pos, 2, 2);
    if (!second || pos != text.size())
        return std::nullopt;
    if (!QTime::isValid(*hour, *minute, *second))
        return std::nullopt;
    return QTime(*hour, *minute, *second);
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    const auto date = parseDate(text.left(blank));
    const auto time = parseTime(text.mid(blank + 1));
    if (!date || !time)
        return std::nullopt;
    return QDateTime(*date, *time);
}

} // namespace DateTexts
