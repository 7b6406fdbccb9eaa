#include "settings/agreement.h"

#include "core/vbvalues.h"

#include <QFile>

namespace Agreement {

namespace {

constexpr QFile::Permissions kReadOnly =
    QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;

} // namespace

bool isAccepted()
{
    QString text = TextFile::readAll(MarkerPath);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return VbValues::holdsNumber(text, 1);
}

TextFile::Result writeMarker()
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

} // namespace Agreement
