#pragma once

#include "core/textfile.h"

#include <QString>

// The agreement marker "\Разрешение.txt": the single line "1" once the user has
// accepted the licence. It is left read-only so it is not rewritten by accident. The
// agreement window writes it; the start-up reads it.
class Agreement
{
public:
    static inline const QString MarkerPath = QStringLiteral("\\Разрешение.txt");

    // True when the marker's text, blanks and line ends around it left out, is a number
    // that rounds to 1; a missing file is not accepted.
    static bool isAccepted();
    // A marker that is there but cannot be read: neither accepted nor a first start.
    static bool isUnreadable();

    // Writes "1" CR LF (also over an older read-only marker) and makes the file read-only.
    static TextFile::Result writeMarker();
};
