#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The per-day statistics as the statistics windows and the user list read them: the
// files every message leaves (records/messagerecords.h) under "\Статистика\<date>\",
// read through the storage layer, so the counts the engine holds back in memory are
// seen too. A <date> is a date text as the files name their day folders ("08.12.2026").
namespace StatisticsRecords {

// The day folder of a date text.
QString dayFolder(const QString &dateText);
// Whether a text may name a day folder: no path separators, no "." or "..".
bool isDayText(const QString &dateText);

// The day's request count as shown: the counter file's number, "0" when the file is
// missing, empty or not a positive number (see Records::requestCounter()).
QString requestCount(const QString &dateText);
// The count as a number (0 as above).
qint64 requestNumber(const QString &dateText);
// The day's distinct numbers in the order of their first message (empty lines left out; a
// line that is no number is skipped and reported once, see TextFile::reportBadLine()).
QStringList numbers(const QString &dateText);
// A number's messages of the day, the whole file text ("" when missing).
QString messagesText(const QString &dateText, const QString &uin);
// The lines of a number's day file whose date is dateText and, when time is not
// empty, whose time is time. The date is the text before the first " - ", the time the
// text between the first and the second " - ", so an unpadded hour ("9:05:07") reads
// as well as a padded one; time matches either form.
QStringList filterMessages(const QString &dateText, const QString &uin, const QString &time);

// Requests of each day from first to last (at most 366 days), for the chart.
struct DayCount
{
    QDate date;
    qint64 requests = 0;
};
QList<DayCount> requestsPerDay(const QDate &first, const QDate &last);
// Messages of one number on each day from first to last (lines of its day files that
// carry their day's date), for the chart.
QList<DayCount> messagesPerDay(const QString &uin, const QDate &first, const QDate &last);

// The numbers that wrote since the program started, in the order of their first message
// (empty lines and lines that are no number left out, as numbers() does).
QStringList usersSinceStart();

} // namespace StatisticsRecords
