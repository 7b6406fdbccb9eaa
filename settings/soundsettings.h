#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// The sounds page without its window: sounds off or on and the two sound files, kept in
// the general settings file. The boxes show full paths; an empty value shows the default.
class SoundSettings
{
public:
    struct Values
    {
        bool soundsOff = false; // "Выключать звуки"
        QString messageSound = Settings::defaultMessageSound();
        QString startupSound = Settings::defaultStartupSound();
        bool operator==(const Values &) const = default;
    };

    // The file dialog's filter: WAV files.
    static inline const QString Filter = QStringLiteral("(*.wav)");

    void load();
    static Values fromSettings(const Settings &settings);
    // The three keys in their order, the paths as the boxes hold them.
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};
