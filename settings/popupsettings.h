#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// The popup page without its window: the new-message popup on or off, above all windows
// or not, and its time on screen, kept in the general settings file.
class PopupSettings
{
public:
    struct Values
    {
        bool on = false;
        bool topmost = false;
        QString time = GeneralSettings::Default::MessageTime;
        bool operator==(const Values &) const = default;
    };

    void load();
    // A time the popup would not use (not a whole number above 0) shows as "3000", the
    // time it then stays.
    static Values fromSettings(const Settings &settings);
    // The three keys in their order, the time as typed.
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};

// The human-imitation page without its window: the delay before each answer on or off
// and its length, kept in the general settings file, with a copy of both in
// "\Настройки\Имитация.txt" (line 1 the box as a printed number, line 2 the time).
class ImitationSettings
{
public:
    static inline const QString CopyPath = QStringLiteral("\\Настройки\\Имитация.txt");

    struct Values
    {
        bool on = false;
        QString time = GeneralSettings::Default::AITime;
        bool operator==(const Values &) const = default;
    };

    void load();
    static Values fromSettings(const Settings &settings);
    // The two keys in their order, then the copy.
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};
