#include "files/signaturefile.h"

#include "core/vbvalues.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

QString SignatureFile::Contents::signatureText() const
{
    qsizetype first = 0;
    while (first < signatures.size() && signatures.at(first).isEmpty())
        ++first;
    return signatures.mid(first).join(CrLf);
}

SignatureFile::Contents SignatureFile::parse(const QString &text)
{
    Contents contents;
    if (text.isEmpty())
        return contents;
    const QStringList lines = TextFile::splitLines(text);
    contents.on = VbValues::holdsNumber(lines.value(0), 1);
    contents.separator = lines.value(1);
    contents.signatures = lines.mid(2);
    return contents;
}

SignatureFile::Contents SignatureFile::read()
{
    const QStringList lines = TextFile::readLines(FilePath);
    if (!lines.isEmpty() && !VbValues::isNumber(lines.at(0)))
        TextFile::reportBadLine(FilePath, 1, TextFile::notANumber(lines.at(0)));
    return parse(TextFile::readAll(FilePath));
}

QString SignatureFile::format(const QString &separator, const QString &signatureText)
{
    return VbValues::printForm(1) + CrLf + separator + CrLf + signatureText + CrLf;
}

TextFile::Result SignatureFile::write(const QString &separator, const QString &signatureText)
{
    return TextFile::writeAll(FilePath, format(separator, signatureText));
}

bool SignatureFile::remove()
{
    TextFile::remove(FilePath);
    return !TextFile::exists(FilePath);
}

QString SignatureFile::withSignature(const QString &reply, const QString &separator, const QString &signature)
{
    if (separator == EmptyLineSeparator)
        return reply + CrLf + CrLf + signature;
    return reply + CrLf + separator + signature;
}
