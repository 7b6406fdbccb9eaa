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
