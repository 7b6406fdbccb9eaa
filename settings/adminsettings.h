#pragma once

#include "settings/pagevalues.h"

#include <QString>

// The administrator page without its window: the one number whose "!выключить" and
// "!перезагрузить" the answer engine carries out, and the password they must carry.
// "\Настройки\Админ.txt": line 1 the number, line 2 the password (empty: none), each
// ended by CR LF, written owner-only. The engine reads it at every message.
class AdminSettings
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Админ.txt");

    struct Values
    {
        QString number;
        QString password;
        bool operator==(const Values &) const = default;
    };

    // A missing file gives empty boxes; a one-line file an empty password.
    void load();
    // Both lines as typed, empty ones too (no administrator); the folder is made when
    // missing. Refused when a box holds a character the file's code page cannot hold:
    // the commands could never match it.
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};
