#pragma once

#include "settings/pagevalues.h"

#include <QString>

// What the page shows, as AdminSettings keeps it.
struct AdminValues
{
    QString number;
    QString password;
    bool operator==(const AdminValues &) const = default;
};

// The administrator page without its window: the one number whose "!выключить" and
// "!перезагрузить" the answer engine carries out, and the password they must carry.
// "\Настройки\Админ.txt": line 1 the number, line 2 the password (empty: none), each
// ended by CR LF, written owner-only. The engine reads it at every message.
class AdminSettings : public PageLogic<AdminValues>
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Админ.txt");

    // A missing file gives empty boxes; a one-line file an empty password.
    void load();
    // Both lines as typed, empty ones too (no administrator); the folder is made when
    // missing. Refused, with nothing written, when a box holds a line break or a
    // character the file's code page cannot hold (PageSave::checkLines).
    PageSave save();
};
