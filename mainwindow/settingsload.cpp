#include "mainwindow/settingsload.h"

#include "core/generalsettings.h"
#include "core/keyvaluefile.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <algorithm>

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
            if (VbValues::holdsNumber(value, 0) && effects.playStartupSound)
                effects.playStartupSound();
        } else if (*key == Key::AutoUpdate) {
            if (VbValues::holdsNumber(value, 1) && effects.checkForUpdate)
                effects.checkForUpdate();
        } else if (*key == Key::ReConnect) {
            loaded.reConnect = value;
        } else if (*key == Key::IntervalConnect) {
            loaded.intervalConnect = value;
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

qint16 reconnectInterval(const std::optional<QString> &reConnect,
                         const std::optional<QString> &intervalConnect)
{
    if (!reConnect || !VbValues::holdsNumber(*reConnect, 1))
        return 0;
    const std::optional<double> minutes =
        intervalConnect ? VbValues::toNumber(*intervalConnect) : std::nullopt;
    if (!minutes || !(*minutes > 0))
        return 5;
    return qint16(std::clamp(VbValues::roundHalfEven(std::min(*minutes, 32767.0)), 1.0, 32767.0));
}

QString botMode(const std::optional<QString> &saved)
{
    if (saved) {
        for (const int mode : {1, 2, 3}) {
            if (VbValues::holdsNumber(*saved, mode))
                return QString::number(mode);
        }
    }
    return QStringLiteral("1");
}

} // namespace SettingsLoad
