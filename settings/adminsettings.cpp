#include "settings/adminsettings.h"

#include "core/textfile.h"

void AdminSettings::load()
{
    const QStringList lines = TextFile::readLines(FilePath);
    m_values.loaded(Values{lines.value(0), lines.value(1)});
}

PageSave AdminSettings::save()
{
    const Values &values = m_values.shown();
    // A line break would move the password to a third line, where no reader looks.
    if (const PageSave refused = PageSave::checkLines({values.number, values.password}); !refused)
        return refused;
    const TextFile::Result written =
        TextFile::writeLines(FilePath, {values.number, values.password}, TextFile::Option::OwnerOnly);
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
