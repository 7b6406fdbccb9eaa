#include "settings/autologinsettings.h"

#include "files/distributionlist.h"
#include "files/storedlogin.h"

void AutoLoginSettings::load()
{
    m_values.loaded(fromSettings(Settings::read()));
}

AutoLoginSettings::Values AutoLoginSettings::fromSettings(const Settings &settings)
{
    Values values;
    values.autoEnter = settings.autoEnter();
    if (const std::optional<qint64> number = StoredLogin::UnscrambleNumber(settings.autoICQNumber()))
        values.number = QString::number(*number);
    values.password = StoredLogin::UnscramblePassword(settings.autoPassword());
    return values;
}

PageSave AutoLoginSettings::save()
{
    const Values &values = m_values.shown();
    if (const PageSave refused = PageSave::checkLines({values.number, values.password}); !refused)
        return refused;
    if (!DistributionList::isLoginNumber(values.number))
        return PageSave::refused(PageSave::Outcome::BadNumber);
    const TextFile::Result written = StoredLogin::writeSettings(values.autoEnter, values.number, values.password);
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
