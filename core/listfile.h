#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Records of list files: one record per line, fields separated by ":^:".
namespace ListFile {

inline const QString Separator = QStringLiteral(":^:");

// Every field, cut at every separator ("" gives one empty field; "a:^:" gives "a", "").
QStringList split(const QString &line);
// The fields joined with the separator.
QString join(const QStringList &fields);
// Whether text can stand as a field and read back whole: it holds no separator and
// does not end in ":^", whose separator after it would be found one place early.
bool canHoldField(const QString &text);

// The positional rule: with fieldCount fields, field k < fieldCount - 1 is the text
// before the (k+1)-th separator after the previous one, and the last field is everything
// after the last separator used, so it may hold the separator itself:
//   fields("a:^:b:^:c", 2) -> ["a", "b:^:c"]
// nullopt when the line has fewer than fieldCount - 1 separators or fieldCount < 1.
std::optional<QStringList> fields(const QString &line, int fieldCount);
// One field of fields(line, fieldCount) (index from 0); nullopt as above or when the
// index is outside 0..fieldCount-1.
std::optional<QString> field(const QString &line, int index, int fieldCount);

// The UIN of a list line: the text before its first blank; nullopt when there is no blank.
std::optional<QString> uinOf(const QString &line);

} // namespace ListFile
