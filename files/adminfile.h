#pragma once

#include "core/textfile.h"

#include <QString>

// "\Настройки\Админ.txt": line 1 the administrator's number, line 2 the password of his
// "!выключить" and "!перезагрузить" (empty: none), each ended by CR LF, kept owner-only
// since the password stands in plain text. The settings page writes it; the answer
// engine reads it at every power command and the remote shutdown to report a refusal.
class AdminFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Админ.txt");

    struct Contents
    {
        QString number;
        QString password;
        bool operator==(const Contents &) const = default;
    };

    // A missing file gives two empty values; a one-line file an empty password.
    static Contents read();
    // Both lines as given, empty ones too; the folder is made when missing.
    static TextFile::Result write(const Contents &contents);
};
