#include "settings/subbotswitch.h"

#include "engine/webservices.h"

bool SubBotSwitch::isOn() const
{
    return WebLoad::switchedOn(m_path);
}

TextFile::Result SubBotSwitch::setOn(bool on) const
{
    if (on)
        return TextFile::writeAll(m_path, OnText);
    if (TextFile::remove(m_path) || !TextFile::exists(m_path))
        return {true, QString()};
    return {false, QStringLiteral("не удалось удалить файл %1").arg(TextFile::filePath(m_path))};
}
