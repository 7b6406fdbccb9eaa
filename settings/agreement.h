#pragma once

#include "core/textfile.h"

#include <QString>

// The agreement marker "\Разрешение.txt": the single line "1" once the user has
// accepted the licence. It is left read-only so it is not rewritten by accident.
namespace Agreement {

inline const QString MarkerPath = QStringLiteral("\\Разрешение.txt");

// True when the marker's text holds the number 1; a missing file does not.
bool isAccepted();

// Writes "1" CR LF (also over an older read-only marker) and makes the file read-only.
TextFile::Result writeMarker();

} // namespace Agreement
