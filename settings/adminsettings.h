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
// The file is AdminFile's.
class AdminSettings : public PageLogic<AdminValues>
{
public:
    // A missing file gives empty boxes; a one-line file an empty password.
    void load();
    // Both lines as typed, empty ones too (no administrator); the folder is made when
    // missing. Refused, with nothing written, when a box holds a line break or a
    // character the file's code page cannot hold (PageSave::checkLines).
    PageSave save();
};
