#include "settings/popupsettings.h"

#include "core/vbvalues.h"

namespace {

namespace Key = GeneralSettings::Key;

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void PopupSettings::load()
{
    m_values.loaded(fromSettings(Settings::read()));
}

PopupSettings::Values PopupSettings::fromSettings(const Settings &settings)
{
    Values values;
    values.on = settings.popupOn();
    values.topmost = settings.popupTopmost();
    const std::optional<QString> time = settings.value(Key::MessageTime);
    if (Settings::positiveWhole(time))
        values.time = *time;
    return values;
}

PageSave PopupSettings::save()
{
    const Values &values = m_values.shown();
    if (const PageSave refused = PageSave::checkLines({values.time}); !refused)
        return refused;
    const TextFile::Result written = GeneralSettings::MergeSettings({
        {Key::Message, flag(values.on)},
        {Key::MessageUP, flag(values.topmost)},
        {Key::MessageTime, values.time},
    });
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}

void ImitationSettings::load()
{
    m_values.loaded(fromSettings(Settings::read()));
}

ImitationSettings::Values ImitationSettings::fromSettings(const Settings &settings)
{
    Values values;
    values.on = settings.answerDelayOn();
    values.time = settings.value(Key::AITime).value_or(values.time);
    return values;
}

PageSave ImitationSettings::save()
{
    const Values &values = m_values.shown();
    if (const PageSave refused = PageSave::checkLines({values.time}); !refused)
        return refused;
    const TextFile::Result written = GeneralSettings::MergeSettings({
        {Key::AI, flag(values.on)},
        {Key::AITime, values.time},
    });
    const TextFile::Result copied =
        TextFile::writeLines(CopyPath, {VbValues::printForm(values.on ? 1 : 0), values.time});
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    if (!copied)
        return PageSave::failed(PageSave::Outcome::WriteFailed, copied.error);
    m_values.saved();
    return PageSave::saved();
}
