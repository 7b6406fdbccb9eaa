#pragma once

#include <QString>

#include <functional>
#include <optional>

// Step 5 of the start-up: the general settings file read once, line by line, in order.
namespace SettingsLoad {

struct Effects
{
    // A PlaySounds line holding 0 (sounds on).
    std::function<void()> playStartupSound;
    // An AutoUpdate line holding 1.
    std::function<void()> checkForUpdate;
};

// What the lines left behind; a key's last line decides. Effects run once per line, at
// the moment the line is read. The watchdog's interval and the start in the tray come
// from Settings (core/generalsettings.h), read the one way.
struct Loaded
{
    std::optional<bool> saveStatus; // zap_st_m checked; nullopt keeps the design state
    std::optional<quint8> autoEnter; // nullopt when no line held a byte
    std::optional<QString> autoICQNumber;
    std::optional<QString> autoPassword;
    std::optional<QString> saveRejim;
};

// nullopt for an empty text (missing or empty file): nothing is applied.
std::optional<Loaded> read(const QString &text, const Effects &effects = {});

} // namespace SettingsLoad
