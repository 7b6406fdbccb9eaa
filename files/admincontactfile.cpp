#include "files/admincontactfile.h"

#include "core/vbvalues.h"

#include <QStringList>

AdminContactFile::Contents AdminContactFile::parse(const QString &text)
{
    const QStringList lines = TextFile::splitLines(text);
    return Contents{VbValues::holdsNumber(lines.value(0), 1), lines.value(1)};
}

AdminContactFile::Contents AdminContactFile::read()
{
    return parse(TextFile::readAll(FilePath));
}

QString AdminContactFile::format(const Contents &contents)
{
    const QString crLf = QStringLiteral("\r\n");
    return VbValues::printForm(contents.on ? 1 : 0) + crLf + contents.admin + crLf;
}

TextFile::Result AdminContactFile::write(const Contents &contents)
{
    return TextFile::writeAll(FilePath, format(contents));
}
