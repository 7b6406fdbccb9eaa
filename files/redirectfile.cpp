#include "files/redirectfile.h"

#include "core/vbvalues.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

bool RedirectFile::Contents::answersToo() const
{
    return VbValues::holdsNumber(mode, 1);
}

bool RedirectFile::Contents::forwardOnly() const
{
    return VbValues::holdsNumber(mode, 2);
}

RedirectFile::Contents RedirectFile::parse(const QString &text)
{
    const QStringList lines = TextFile::splitLines(text);
    return Contents{lines.value(0), lines.value(1)};
}

RedirectFile::Contents RedirectFile::read()
{
    const Contents contents = parse(TextFile::readAll(FilePath));
    if (!contents.mode.isEmpty() && !VbValues::isNumber(contents.mode))
        TextFile::reportBadLine(FilePath, 2, TextFile::notANumber(contents.mode));
    return contents;
}

QString RedirectFile::format(const QString &target, bool answersToo)
{
    return target + CrLf + VbValues::printForm(answersToo ? 1 : 2) + CrLf;
}

TextFile::Result RedirectFile::write(const QString &target, bool answersToo)
{
    return TextFile::writeAll(FilePath, format(target, answersToo));
}
