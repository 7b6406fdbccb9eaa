#pragma once

#include "core/keyvaluefile.h"
#include "core/textfile.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// The general settings file "\Настройки\Общие.txt": one writer (MergeSettings) and one
// way of reading (the exact line lookup). It holds the scrambled stored login, so it is
// always written owner-only.
namespace GeneralSettings {

inline const QString FilePath = QStringLiteral("\\Настройки\\Общие.txt");
inline const QString FolderPath = QStringLiteral("\\Настройки");

// The keys, grouped and ordered as their writers append them.
namespace Key {
// connection page nast_v
inline const QString Server = QStringLiteral("Server");
inline const QString Port = QStringLiteral("Port");
inline const QString AutoRun = QStringLiteral("AutoRun");
inline const QString AutoUpdate = QStringLiteral("AutoUpdate");
inline const QString HideTray = QStringLiteral("HideTray");
inline const QString ReConnect = QStringLiteral("ReConnect");
inline const QString IntervalConnect = QStringLiteral("IntervalConnect");
// auto-login page nast_a_v
inline const QString AutoEnter = QStringLiteral("AutoEnter");
inline const QString AutoICQNumber = QStringLiteral("AutoICQNumber");
inline const QString AutoPassword = QStringLiteral("AutoPassword");
// sounds page nast_b_v ("PlaySounds" = "1" means sounds OFF)
inline const QString PlaySounds = QStringLiteral("PlaySounds");
inline const QString PlaySoundsOpov = QStringLiteral("PlaySoundsOpov");
inline const QString PlaySoundsHello = QStringLiteral("PlaySoundsHello");
// popup page nast_c_v
inline const QString Message = QStringLiteral("Message");
inline const QString MessageUP = QStringLiteral("MessageUP");
inline const QString MessageTime = QStringLiteral("MessageTime");
// human-imitation page nast_d_v
inline const QString AI = QStringLiteral("AI");
inline const QString AITime = QStringLiteral("AITime");
// exit sequence
inline const QString SaveRejim = QStringLiteral("SaveRejim");
inline const QString SaveStatusMade = QStringLiteral("SaveStatusMade");
// menu item "Запоминать статус при выходе"
inline const QString SaveStatus = QStringLiteral("SaveStatus");
} // namespace Key

// What a page writes when its controls are left as they first appear (texts as stored).
namespace Default {
inline const QString Port = QStringLiteral("5190");
inline const QString Flag = QStringLiteral("0");
inline const QString IntervalConnect = QStringLiteral("5");
inline const QString MessageTime = QStringLiteral("3000");
inline const QString AITime = QStringLiteral("400");
inline const QString SoundMessage = QStringLiteral("\\Sounds\\sndMsg.wav");     // a program path
inline const QString SoundStartup = QStringLiteral("\\Sounds\\sndStartup.wav"); // a program path
} // namespace Default

// Each writer's keys in its order (for tests and for writers that build their pairs).
inline const QStringList ConnectionKeys = {Key::Server,         Key::Port,     Key::AutoRun,
                                           Key::AutoUpdate,     Key::HideTray, Key::ReConnect,
                                           Key::IntervalConnect};
inline const QStringList AutoLoginKeys = {Key::AutoEnter, Key::AutoICQNumber, Key::AutoPassword};
inline const QStringList SoundKeys = {Key::PlaySounds, Key::PlaySoundsOpov, Key::PlaySoundsHello};
inline const QStringList PopupKeys = {Key::Message, Key::MessageUP, Key::MessageTime};
inline const QStringList HumanImitationKeys = {Key::AI, Key::AITime};
inline const QStringList ExitKeys = {Key::SaveRejim, Key::SaveStatusMade};
inline const QStringList RememberStatusKeys = {Key::SaveStatus};

enum class LookupKind {
    Flag, // the first character of the value
    Text, // the whole value
};

using Pairs = KeyValueFile::Pairs;

// The settings merge, run once per Apply: creates "\Настройки" when missing, rereads
// the file, gives every line of each own key the new value in place, keeps every other
// line (lines without "=" too), appends the missing keys in the pairs' order, and
// rewrites the file atomically with one CR LF at the end. On failure the old file stays.
TextFile::Result MergeSettings(const Pairs &pairs);

// The whole file's text (missing = empty), to look several keys up in one reading.
QString ReadText();

// The value of the line whose key (text before the first "=") equals key exactly; the
// last such line counts. nullopt when no line has the key or the file is missing/empty.
std::optional<QString> LookupByLine(const QString &key);
std::optional<QString> LookupByLine(const QString &text, const QString &key);

// The answer engine's and the pages' reader. It deliberately does NOT search the text
// for the key's first occurrence anywhere: it uses the line lookup, which
// gives the same value on every file the program writes and never misreads "AI" inside
// a value or an "AITime" line standing before "AI". For Flag the value's first
// character ("" for an empty value); for Text the whole value.
std::optional<QString> LookupInText(const QString &key, LookupKind kind);
std::optional<QString> LookupInText(const QString &text, const QString &key, LookupKind kind);

} // namespace GeneralSettings

// The general settings file read once, with a typed value per setting. Every reader of
// the file goes through it; each getter gives the value a reader acts on, with the
// default a missing key or an unusable value falls back to. The lookup is the line
// lookup above (exact key, the last line counts).
class Settings
{
public:
    // Defaults of the values the pages leave unset.
    static constexpr int DefaultReconnectMinutes = 5;
    static constexpr int DefaultAnswerDelayMs = 500; // the answer timer without human imitation
    static constexpr int DefaultPopupTimeMs = 3000;
    static constexpr quint16 DefaultPort = 5190;

    // Reads the file now (missing = empty).
    static Settings read();
    static Settings fromText(const QString &text);

    // True for a missing or empty file: the start-up then applies nothing.
    bool isEmpty() const { return m_text.isEmpty(); }
    const QString &text() const { return m_text; }
    // The raw value of a key; nullopt when no line has it.
    std::optional<QString> value(const QString &key) const;

    // --- connection page -----------------------------------------------------------
    // The login server's host; empty when the file names none.
    QString server() const;
    // The port's leading digits; DefaultPort when missing, empty or not a port.
    quint16 port() const;
    bool autoRun() const;    // AutoRun holds 1 (the page's box; the entry itself is Autostart's)
    bool autoUpdate() const; // AutoUpdate holds 1
    bool hideTray() const;   // HideTray holds 1 (shown by its page; the start goes by ReConnect)
    bool reconnectOn() const; // ReConnect holds 1: the watchdog probes and the start goes to the tray
    // Minutes between watchdog probes: 0 unless ReConnect holds 1; then IntervalConnect
    // rounded half to even and kept within 1..32767, or DefaultReconnectMinutes when it
    // holds no number above 0.
    qint16 reconnectMinutes() const;
    static qint16 reconnectMinutes(const std::optional<QString> &reConnect,
                                   const std::optional<QString> &intervalConnect);

    // --- auto-login page -------------------------------------------------------------
    bool autoEnter() const; // AutoEnter holds 1
    // The scrambled stored login as written (empty when missing).
    QString autoICQNumber() const;
    QString autoPassword() const;

    // --- sounds page -------------------------------------------------------------------
    // PlaySounds is the page's "Выключать звуки": only a value holding 0 plays sounds.
    bool soundsOn() const;
    // PlaySounds holds 1: the page's "Выключать звуки" is ticked.
    bool soundsOffTicked() const;
    static bool soundsOnValue(const QString &playSounds);
    // The file-system path of the chosen sound, or of the default one when the value is
    // empty or missing. A program path ("\Sounds\x.wav") is taken inside the program
    // folder; an absolute path as it is.
    QString messageSound() const;
    QString startupSound() const;
    static QString defaultMessageSound();
    static QString defaultStartupSound();

    // --- popup and human-imitation pages ------------------------------------------------
    bool popupOn() const;      // Message starts with 1
    bool popupTopmost() const; // MessageUP starts with 1
    // MessageTime when it is a whole number above 0, else DefaultPopupTimeMs.
    int popupTimeMs() const;
    // A time value the readers take: a whole number above 0 that fits 32 bits.
    static std::optional<int> positiveWhole(const std::optional<QString> &value);
    bool answerDelayOn() const; // AI starts with 1
    // The answer timer's interval: AITime when AI is on and AITime is a whole number
    // above 0, else DefaultAnswerDelayMs.
    int answerDelayMs() const;

    // --- saved status and bot mode -------------------------------------------------------
    // SaveStatus holds 1 (true) or not (false); nullopt without a SaveStatus line.
    std::optional<bool> saveStatus() const;
    // SaveStatusMade as 1, 2 or 3; 0 for anything else or a missing line.
    int savedStatus() const;
    // SaveRejim as "1", "2" or "3"; "1" (commands) for anything else.
    QString botMode() const;
    static QString botMode(const std::optional<QString> &saved);

    // --- writers -----------------------------------------------------------------------
    // The remember-status menu item's key.
    static TextFile::Result writeSaveStatus(bool remember);
    // The exit sequence's keys: the bot mode and the status at exit.
    static TextFile::Result writeExitState(const QString &botMode, int status);

private:
    QString soundFile(const QString &key, const QString &defaultPath) const;

    QString m_text;
};


// Our own configuration "\Настройки\Адреса.txt" (feed hosts, the site, the default
// login server...): same Key=Value form, same line lookup. A missing entry means the
// feature answers that it is unavailable.
namespace Addresses {

inline const QString FilePath = QStringLiteral("\\Настройки\\Адреса.txt");

// The value of key; nullopt when the file, the key or a non-empty value is missing.
std::optional<QString> value(const QString &key);
// Merges entries in as MergeSettings does (tests and first-run set-up use it).
TextFile::Result setValues(const KeyValueFile::Pairs &pairs);

} // namespace Addresses
