#include "mainwindow/settingsload.h"

#include "core/generalsettings.h"
#include "core/keyvaluefile.h"
#include "core/textfile.h"
#include "core/vbvalues.h"


namespace SettingsLoad {

namespace Key = GeneralSettings::Key;

std::optional<Loaded> read(const QString &text, const Effects &effects)
{
    if (text.isEmpty())
        return std::nullopt;
    Loaded loaded;
    for (const QString &line : TextFile::splitLines(text)) {
        const std::optional<QString> key = KeyValueFile::keyOf(line);
        if (!key)
            continue;
        const QString value = line.mid(key->size() + 1);
        if (*key == Key::SaveStatus) {
            loaded.saveStatus = VbValues::holdsNumber(value, 1);
        } else if (*key == Key::PlaySounds) {
            if (Settings::soundsOnValue(value) && effects.playStartupSound)
                effects.playStartupSound();
        } else if (*key == Key::AutoUpdate) {
            if (VbValues::holdsNumber(value, 1) && effects.checkForUpdate)
                effects.checkForUpdate();
        } else if (*key == Key::AutoEnter) {
            quint8 byte = 0;
            if (VbValues::toByte(value, byte))
                loaded.autoEnter = byte;
        } else if (*key == Key::AutoICQNumber) {
            loaded.autoICQNumber = value;
        } else if (*key == Key::AutoPassword) {
            loaded.autoPassword = value;
        } else if (*key == Key::SaveRejim) {
            loaded.saveRejim = value;
        }
    }
    return loaded;
}

} // namespace SettingsLoad
