#include "files/adminfile.h"

AdminFile::Contents AdminFile::read()
{
    const QStringList lines = TextFile::readLines(FilePath);
    return Contents{lines.value(0), lines.value(1)};
}

TextFile::Result AdminFile::write(const Contents &contents)
{
    return TextFile::writeLines(FilePath, {contents.number, contents.password}, TextFile::Option::OwnerOnly);
}
