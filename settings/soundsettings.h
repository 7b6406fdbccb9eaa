#pragma once

#include "core/generalsettings.h"
#include "settings/pagevalues.h"

#include <QString>

// What the page shows, as SoundSettings keeps it.
struct SoundValues
{
    bool soundsOff = false; // "Выключать звуки"
    QString messageSound = Settings::defaultMessageSound();
    QString startupSound = Settings::defaultStartupSound();
    bool operator==(const SoundValues &) const = default;
};

// The sounds page without its window: sounds off or on and the two sound files, kept in
// the general settings file. The boxes show full paths; an empty value shows the default.
class SoundSettings : public PageLogic<SoundValues>
{
public:
    // The file dialog's filter: WAV files.
    static inline const QString Filter = QStringLiteral("(*.wav)");

    void load();
    static Values fromSettings(const Settings &settings);
    // The three keys in their order, the paths as the boxes hold them; refused, with
    // nothing written, when a path fails PageSave::checkLines.
    PageSave save();
};
