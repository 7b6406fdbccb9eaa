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
    const QStringList lines = TextFile::readLines(FilePath);
    if (!lines.isEmpty() && !VbValues::isNumber(lines.at(0)))
        TextFile::reportBadLine(FilePath, 1, TextFile::notANumber(lines.at(0)));
    else if (!lines.value(1).isEmpty() && !VbValues::isNumber(lines.at(1)))
        TextFile::reportBadLine(FilePath, 2, TextFile::notANumber(lines.at(1)));
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
