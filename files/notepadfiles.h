#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>

// The notepad's files: the switch (present with " 1 " while the notepad is on), the list
// of the numbers that own a note, and one note file per number.
namespace NotepadFiles {

inline const QString SwitchPath = QStringLiteral("\\Подпрограммы\\Блокнот.txt");
inline const QString ListPath = QStringLiteral("\\Блокноты\\Список.txt");

// The switch file holds the number 1.
bool isOn();
// On writes " 1 " and a line end; off deletes the file.
TextFile::Result setOn(bool on);

// "\Блокноты\<uin>.txt"; empty for a number that is not 1 to 15 digits, which must
// never name a file.
QString notePath(const QString &uin);
// The numbers of the note list, in file order.
QStringList owners();

} // namespace NotepadFiles
