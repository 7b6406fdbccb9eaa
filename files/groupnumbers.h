#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>

// The numbers file "\Группы\Номера.txt": which user group an ICQ number belongs to.
// One assignment a line, "number:group"; the number is the text before the first ":",
// the group everything after it (further colons and an empty group included). A number
// may stand on several lines; the last one counts. A number on no line, or with an empty
// group, belongs to the built-in group. The answer engine and the group manager read
// and write the file only through this class.
namespace GroupNumbers {

inline const QString FilePath = QStringLiteral("\\Группы\\Номера.txt");

// The number part and the group part of a line; false for a line without a colon
// (written by hand: it assigns nothing).
bool splitLine(const QString &line, QString *number, QString *group);

// The group of the number: the group part of the last line whose number part equals it
// exactly. Empty when it stands on no line.
QString groupOf(const QString &uin);

// The number parts of the lines of that group, in file order.
QStringList numbersOf(const QString &group);

// The number as it is stored: blanks at either end dropped; empty when what is left is
// not a run of ASCII digits.
QString normalizedNumber(const QString &typed);

// Appends "number:group" after the file's old content, which stays byte for byte (a
// last line without its line end gets one first). Refused for a number that is not
// digits and when the file there cannot be read.
TextFile::Result add(const QString &number, const QString &group);

// Drops every line of that number, in whichever group; the other lines keep their order.
// When no line remains the file is deleted. A missing file is left missing; an
// unreadable one is never rewritten.
TextFile::Result removeNumber(const QString &number);

} // namespace GroupNumbers
