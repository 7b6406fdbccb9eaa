#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// What the page shows, as PopupSettings keeps it.
struct PopupValues
{
    bool on = false;
    bool topmost = false;
    QString time = GeneralSettings::Default::MessageTime;
    bool operator==(const PopupValues &) const = default;
};

// The popup page without its window: the new-message popup on or off, above all windows
// or not, and its time on screen, kept in the general settings file.
class PopupSettings : public PageLogic<PopupValues>
{
public:
    void load();
    // A time the popup would not use (not a whole number above 0) shows as "3000", the
    // time it then stays.
    static Values fromSettings(const Settings &settings);
    // The three keys in their order, the time as typed (PageSave::checkLines first).
    PageSave save();
};

// What the page shows, as ImitationSettings keeps it.
struct ImitationValues
{
    bool on = false;
    QString time = GeneralSettings::Default::AITime;
    bool operator==(const ImitationValues &) const = default;
};

// The human-imitation page without its window: the delay before each answer on or off
// and its length, kept in the general settings file, with a copy of both in
// "\Настройки\Имитация.txt" (line 1 the box as a printed number, line 2 the time).
class ImitationSettings : public PageLogic<ImitationValues>
{
public:
    static inline const QString CopyPath = QStringLiteral("\\Настройки\\Имитация.txt");

    void load();
    static Values fromSettings(const Settings &settings);
    // The two keys in their order, then the copy (PageSave::checkLines first).
    PageSave save();
};
