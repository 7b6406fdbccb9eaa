#include "records/statisticsrecords.h"

#include "core/datetexts.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "records/messagerecords.h"

namespace {

const QString Dash = QStringLiteral(" - ");

bool isUin(const QString &uin)
{
    if (uin.isEmpty() || uin.size() > 15)
        return false;
    for (const QChar c : uin) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString dayFile(const QString &dateText, const QString &name)
{
    return StatisticsRecords::dayFolder(dateText) + QLatin1Char('\\') + name;
}

// "9:05:07" and "09:05:07" are the same time.
QString paddedTime(const QString &time)
{
    if (const std::optional<QTime> parsed = DateTexts::parseTime(time))
        return parsed->toString(QStringLiteral("HH:mm:ss"));
    return time;
}

// The numbers of a list file, one a line, empty lines left out. Only senders' numbers
// are ever written there: any other line is skipped and reported once.
QStringList uinLines(const QString &programPath)
{
    const QStringList lines = TextFile::readLines(programPath);
    QStringList uins;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        if (isUin(line))
            uins.append(line);
        else if (!line.isEmpty())
            TextFile::reportSkippedLine(programPath, int(n + 1), line, TextFile::notANumber(line));
    }
    return uins;
}

} // namespace

QString StatisticsRecords::dayFolder(const QString &dateText)
{
    return Records::StatisticsFolder + QLatin1Char('\\') + dateText;
}

bool StatisticsRecords::isDayText(const QString &dateText)
{
    return !dateText.isEmpty() && dateText != QStringLiteral(".") && dateText != QStringLiteral("..") &&
           !dateText.contains(QLatin1Char('/')) && !dateText.contains(QLatin1Char('\\'));
}

qint64 StatisticsRecords::requestNumber(const QString &dateText)
{
    if (!isDayText(dateText))
        return 0;
    const std::optional<double> count = Records::requestCounter(dayFile(dateText, QStringLiteral("Обращения.txt")));
    return count && *count > 0 ? qint64(*count) : 0;
}

QString StatisticsRecords::requestCount(const QString &dateText)
{
    return QString::number(requestNumber(dateText));
}

QStringList StatisticsRecords::numbers(const QString &dateText)
{
    if (!isDayText(dateText))
        return {};
    return uinLines(dayFile(dateText, QStringLiteral("Хинты.txt")));
}

QString StatisticsRecords::messagesText(const QString &dateText, const QString &uin)
{
    if (!isDayText(dateText) || !isUin(uin))
        return QString();
    return TextFile::readAll(dayFile(dateText, uin + QStringLiteral(".txt")));
}

QStringList StatisticsRecords::filterMessages(const QString &dateText, const QString &uin, const QString &time)
{
    QStringList kept;
    if (dateText.isEmpty())
        return kept;
    const QString wantedTime = paddedTime(time);
    for (const QString &line : TextFile::splitLines(messagesText(dateText, uin))) {
        // A line without the date goes on a message typed with line breaks: no fault.
        const qsizetype dateEnd = line.indexOf(Dash);
        if (dateEnd < 0 || line.left(dateEnd) != dateText)
            continue;
        if (!time.isEmpty()) {
            const qsizetype timeStart = dateEnd + Dash.size();
            const qsizetype timeEnd = line.indexOf(Dash, timeStart);
            if (timeEnd < 0 || paddedTime(line.mid(timeStart, timeEnd - timeStart)) != wantedTime)
                continue;
        }
        kept.append(line);
    }
    return kept;
}

QList<StatisticsRecords::DayCount> StatisticsRecords::requestsPerDay(const QDate &first, const QDate &last)
{
    QList<DayCount> days;
    if (!first.isValid() || !last.isValid() || last < first)
        return days;
    for (QDate day = first; day <= last && days.size() < 366; day = day.addDays(1))
        days.append({day, requestNumber(DateTexts::dateText(day))});
    return days;
}

QList<StatisticsRecords::DayCount> StatisticsRecords::messagesPerDay(const QString &uin, const QDate &first,
                                                                     const QDate &last)
{
    QList<DayCount> days;
    if (!first.isValid() || !last.isValid() || last < first)
        return days;
    for (QDate day = first; day <= last && days.size() < 366; day = day.addDays(1)) {
        const QString dateText = DateTexts::dateText(day);
        days.append({day, qint64(filterMessages(dateText, uin, QString()).size())});
    }
    return days;
}

QStringList StatisticsRecords::usersSinceStart()
{
    return uinLines(Records::UsersPath);
}
