#include "core/generalsettings.h"

#include "core/programfolder.h"
#include "core/vbvalues.h"

#include <algorithm>

namespace GeneralSettings {

TextFile::Result MergeSettings(const Pairs &pairs)
{
    TextFile::ensureFolder(FolderPath);
    return KeyValueFile::merge(FilePath, pairs, TextFile::Option::OwnerOnly);
}

QString ReadText()
{
    return TextFile::readAll(FilePath);
}

std::optional<QString> LookupByLine(const QString &key)
{
    return KeyValueFile::lookup(ReadText(), key);
}

std::optional<QString> LookupByLine(const QString &text, const QString &key)
{
    return KeyValueFile::lookup(text, key);
}

std::optional<QString> LookupInText(const QString &key, LookupKind kind)
{
    return LookupInText(ReadText(), key, kind);
}

std::optional<QString> LookupInText(const QString &text, const QString &key, LookupKind kind)
{
    auto value = KeyValueFile::lookup(text, key);
    if (value && kind == LookupKind::Flag)
        value->truncate(1);
    return value;
}

} // namespace GeneralSettings

namespace {

namespace Key = GeneralSettings::Key;

bool startsWithOne(const std::optional<QString> &value)
{
    return value && value->startsWith(QLatin1Char('1'));
}

} // namespace

std::optional<int> Settings::positiveWhole(const std::optional<QString> &value)
{
    qint32 number = 0;
    if (!value || !VbValues::toInt32(*value, number) || number <= 0 ||
        VbValues::toNumber(*value) != double(number))
        return std::nullopt;
    return number;
}

Settings Settings::read()
{
    const QString text = GeneralSettings::ReadText();
    // Read for every message: its lines are looked over once per version of the text.
    thread_local TextFile::PerVersion<QString, bool> checked;
    checked.of(text, [](const QString &) {
        const QStringList lines = TextFile::readLines(GeneralSettings::FilePath);
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (!lines.at(n).isEmpty() && !KeyValueFile::keyOf(lines.at(n))) {
                TextFile::reportBadLine(GeneralSettings::FilePath, int(n + 1), TextFile::missingSeparator(u"="));
                break;
            }
        }
        return true;
    });
    return fromText(text);
}

Settings Settings::fromText(const QString &text)
{
    Settings settings;
    settings.m_text = text;
    return settings;
}

std::optional<QString> Settings::value(const QString &key) const
{
    return KeyValueFile::lookup(m_text, key);
}

QString Settings::server() const
{
    return value(Key::Server).value_or(QString());
}

quint16 Settings::port() const
{
    const std::optional<QString> text = value(Key::Port);
    if (!text)
        return DefaultPort;
    // The leading digits ("5190 " is 5190).
    quint32 port = 0;
    qsizetype digits = 0;
    for (const QChar c : text->trimmed()) {
        if (c < u'0' || c > u'9')
            break;
        port = port * 10 + quint32(c.unicode() - u'0');
        if (port > 0xFFFF)
            return DefaultPort;
        ++digits;
    }
    if (digits == 0 || port == 0)
        return DefaultPort;
    return quint16(port);
}

bool Settings::autoRun() const
{
    const std::optional<QString> on = value(Key::AutoRun);
    return on && VbValues::holdsNumber(*on, 1);
}

bool Settings::hideTray() const
{
    const std::optional<QString> on = value(Key::HideTray);
    return on && VbValues::holdsNumber(*on, 1);
}

bool Settings::autoUpdate() const
{
    const std::optional<QString> on = value(Key::AutoUpdate);
    return on && VbValues::holdsNumber(*on, 1);
}

bool Settings::reconnectOn() const
{
    const std::optional<QString> on = value(Key::ReConnect);
    return on && VbValues::holdsNumber(*on, 1);
}

qint16 Settings::reconnectMinutes() const
{
    return reconnectMinutes(value(Key::ReConnect), value(Key::IntervalConnect));
}

qint16 Settings::reconnectMinutes(const std::optional<QString> &reConnect,
                                  const std::optional<QString> &intervalConnect)
{
    if (!reConnect || !VbValues::holdsNumber(*reConnect, 1))
        return 0;
    const std::optional<double> minutes =
        intervalConnect ? VbValues::toNumber(*intervalConnect) : std::nullopt;
    if (!minutes || !(*minutes > 0))
        return DefaultReconnectMinutes;
    return qint16(std::clamp(VbValues::roundHalfEven(std::min(*minutes, 32767.0)), 1.0, 32767.0));
}

bool Settings::autoEnter() const
{
    const std::optional<QString> on = value(Key::AutoEnter);
    return on && VbValues::holdsNumber(*on, 1);
}

QString Settings::autoICQNumber() const
{
    return value(Key::AutoICQNumber).value_or(QString());
}

QString Settings::autoPassword() const
{
    return value(Key::AutoPassword).value_or(QString());
}

bool Settings::soundsOn() const
{
    const std::optional<QString> off = value(Key::PlaySounds);
    return off && soundsOnValue(*off);
}

bool Settings::soundsOffTicked() const
{
    const std::optional<QString> off = value(Key::PlaySounds);
    return off && VbValues::holdsNumber(*off, 1);
}

bool Settings::soundsOnValue(const QString &playSounds)
{
    return VbValues::holdsNumber(playSounds, 0);
}

QString Settings::defaultMessageSound()
{
    return ProgramFolder::path(GeneralSettings::Default::SoundMessage);
}

QString Settings::defaultStartupSound()
{
    return ProgramFolder::path(GeneralSettings::Default::SoundStartup);
}

QString Settings::soundFile(const QString &key, const QString &defaultPath) const
{
    const QString configured = value(key).value_or(QString());
    if (configured.isEmpty())
        return defaultPath;
    return configured.startsWith(QLatin1Char('/')) ? configured : ProgramFolder::path(configured);
}

QString Settings::messageSound() const
{
    return soundFile(Key::PlaySoundsOpov, defaultMessageSound());
}

QString Settings::startupSound() const
{
    return soundFile(Key::PlaySoundsHello, defaultStartupSound());
}

bool Settings::popupOn() const
{
    return startsWithOne(value(Key::Message));
}

bool Settings::popupTopmost() const
{
    return startsWithOne(value(Key::MessageUP));
}

int Settings::popupTimeMs() const
{
    return positiveWhole(value(Key::MessageTime)).value_or(DefaultPopupTimeMs);
}

bool Settings::answerDelayOn() const
{
    return startsWithOne(value(Key::AI));
}

int Settings::answerDelayMs() const
{
    if (!answerDelayOn())
        return DefaultAnswerDelayMs;
    // "400.5" or "-1" is no delay the page meant: the plain answer timing stays.
    return positiveWhole(value(Key::AITime)).value_or(DefaultAnswerDelayMs);
}

std::optional<bool> Settings::saveStatus() const
{
    const std::optional<QString> on = value(Key::SaveStatus);
    if (!on)
        return std::nullopt;
    return VbValues::holdsNumber(*on, 1);
}

int Settings::savedStatus() const
{
    const QString status = value(Key::SaveStatusMade).value_or(QString());
    for (const int code : {1, 2, 3}) {
        if (VbValues::holdsNumber(status, code))
            return code;
    }
    return 0;
}

QString Settings::botMode() const
{
    return botMode(value(Key::SaveRejim));
}

QString Settings::botMode(const std::optional<QString> &saved)
{
    if (saved) {
        for (const int mode : {1, 2, 3}) {
            if (VbValues::holdsNumber(*saved, mode))
                return QString::number(mode);
        }
    }
    return QStringLiteral("1");
}

TextFile::Result Settings::writeSaveStatus(bool remember)
{
    return GeneralSettings::MergeSettings({{Key::SaveStatus, remember ? QStringLiteral("1") : QStringLiteral("0")}});
}

TextFile::Result Settings::writeExitState(const QString &botMode, int status)
{
    return GeneralSettings::MergeSettings({{Key::SaveRejim, botMode}, {Key::SaveStatusMade, QString::number(status)}});
}

namespace Addresses {

std::optional<QString> value(const QString &key)
{
    auto found = KeyValueFile::lookup(TextFile::readAll(FilePath), key);
    if (found && found->isEmpty())
        return std::nullopt;
    return found;
}

TextFile::Result setValues(const KeyValueFile::Pairs &pairs)
{
    return KeyValueFile::merge(FilePath, pairs);
}

} // namespace Addresses
