#include "files/agreement.h"

#include "core/vbvalues.h"

#include <QFile>

namespace {

constexpr QFile::Permissions kReadOnly =
    QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;

} // namespace

bool Agreement::isAccepted()
{
    quint8 value = 0;
    return VbValues::toByte(TextFile::readAll(MarkerPath).trimmed(), value) && value == 1;
}

bool Agreement::isUnreadable()
{
    return TextFile::readState(MarkerPath) == TextFile::ReadState::Unreadable;
}

TextFile::Result Agreement::writeMarker()
{
    const QString path = TextFile::filePath(MarkerPath);
    // A read-only marker left by an earlier acceptance cannot be replaced as it stands.
    if (QFile::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    TextFile::Result written = TextFile::writeAll(MarkerPath, QStringLiteral("1\r\n"));
    if (!written)
        return written;
    if (!QFile::setPermissions(path, kReadOnly))
        return {false, QStringLiteral("cannot make %1 read-only").arg(path)};
    return written;
}
