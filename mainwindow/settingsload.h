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

// What the lines left behind; a key's last line decides. Effects run once per line,
// at the moment the line is read.
struct Loaded
{
    std::optional<bool> saveStatus; // zap_st_m checked; nullopt keeps the design state
    std::optional<QString> reConnect;
    std::optional<QString> intervalConnect;
    std::optional<quint8> autoEnter; // nullopt when no line held a byte
    std::optional<QString> autoICQNumber;
    std::optional<QString> autoPassword;
    std::optional<QString> saveRejim;
};

// nullopt for an empty text (missing or empty file): nothing is applied.
std::optional<Loaded> read(const QString &text, const Effects &effects = {});

// Minutes between watchdog probes: 0 unless ReConnect holds 1; then IntervalConnect
// rounded half to even and kept within 1..32767, or 5 when it holds no number above 0.
qint16 reconnectInterval(const std::optional<QString> &reConnect,
                         const std::optional<QString> &intervalConnect);

// "1", "2" or "3" for a saved mode holding that number; "1" (commands) for anything else.
QString botMode(const std::optional<QString> &saved);

} // namespace SettingsLoad
