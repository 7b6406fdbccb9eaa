#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// The Russian-locale date and time texts the data files and file names rely on,
// whatever the machine's locale.
namespace DateTexts {

// "05.03.2008": two-digit day and month, four-digit year. An invalid date gives "".
QString dateText(const QDate &date);
// "9:05:07": hour without padding, minutes and seconds two digits. Invalid gives "".
QString timeText(const QTime &time);
// dateText + " " + timeText, as VB's Now prints: "05.03.2008 9:05:07".
QString dateTimeText(const QDateTime &dateTime);

// Reads "dd.MM.yyyy"; a one-digit day or month is accepted too ("5.3.2008"). The year
// must have four digits. No blanks, nothing else; an impossible date is nullopt.
std::optional<QDate> parseDate(const QString &text);
// Reads "H:mm:ss" or "HH:mm:ss" ("9:05:07", "09:05:07"). Minutes and seconds must have
// two digits. No blanks, nothing else; an impossible time is nullopt.
std::optional<QTime> parseTime(const QString &text);
// A date text, one blank, a time text.
std::optional<QDateTime> parseDateTime(const QString &text);

} // namespace DateTexts
