#include "settings/adminsettings.h"

#include "files/adminfile.h"

void AdminSettings::load()
{
    const AdminFile::Contents file = AdminFile::read();
    m_values.loaded(Values{file.number, file.password});
}

PageSave AdminSettings::save()
{
    const Values &values = m_values.shown();
    // A line break would move the password to a third line, where no reader looks.
    if (const PageSave refused = PageSave::checkLines({values.number, values.password}); !refused)
        return refused;
    const TextFile::Result written = AdminFile::write({values.number, values.password});
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
