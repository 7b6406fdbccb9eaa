#include "settings/autoopensettings.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

void AutoOpenSettings::load()
{
    const QStringList lines = TextFile::readLines(FilePath);
    Values values;
    for (int i = 0; i < BoxCount; ++i)
        values.boxes[i] = VbValues::holdsNumber(lines.value(i).trimmed(), 1);
    m_values.loaded(values);
}

PageSave AutoOpenSettings::save()
{
    QStringList lines;
    for (const bool box : m_values.shown().boxes)
        lines.append(VbValues::printForm(box ? 1 : 0));
    const TextFile::Result written = TextFile::writeLines(FilePath, lines);
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
