#include "settings/adminsettings.h"

#include "core/cp1251.h"
#include "core/textfile.h"

void AdminSettings::load()
{
    const QStringList lines = TextFile::readLines(FilePath);
    m_values.loaded(Values{lines.value(0), lines.value(1)});
}

PageSave AdminSettings::save()
{
    const Values &values = m_values.shown();
    if (!Cp1251::canEncode(values.number) || !Cp1251::canEncode(values.password))
        return PageSave::refused(PageSave::Outcome::PasswordNotStorable);
    const TextFile::Result written =
        TextFile::writeLines(FilePath, {values.number, values.password}, TextFile::Option::OwnerOnly);
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
