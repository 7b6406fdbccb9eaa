#include "files/subbotswitch.h"

#include "core/vbvalues.h"

bool SubBotSwitch::isOn() const
{
    return VbValues::holdsNumber(TextFile::readAll(m_path).trimmed(), 1);
}

TextFile::Result SubBotSwitch::setOn(bool on) const
{
    if (on)
        return TextFile::writeAll(m_path, OnText);
    if (TextFile::remove(m_path) || !TextFile::exists(m_path))
        return {true, QString()};
    return {false, QStringLiteral("не удалось удалить файл %1").arg(TextFile::filePath(m_path))};
}
