#include "files/notepadfiles.h"

#include "core/vbvalues.h"

namespace {

bool isUin(const QString &number)
{
    if (number.isEmpty() || number.size() > 15)
        return false;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

namespace NotepadFiles {

bool isOn()
{
    return VbValues::holdsNumber(TextFile::firstLine(SwitchPath), 1);
}

TextFile::Result setOn(bool on)
{
    if (on)
        return TextFile::writeAll(SwitchPath, VbValues::printForm(1) + QStringLiteral("\r\n"));
    TextFile::remove(SwitchPath);
    if (TextFile::exists(SwitchPath))
        return {false, QStringLiteral("не удалось удалить файл")};
    return {true, {}};
}

QString notePath(const QString &uin)
{
    if (!isUin(uin))
        return {};
    return QStringLiteral("\\Блокноты\\") + uin + QStringLiteral(".txt");
}

QStringList owners()
{
    const QStringList lines = TextFile::readLines(ListPath);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (!lines.at(n).isEmpty() && !isUin(lines.at(n)))
            TextFile::reportBadLine(ListPath, int(n + 1), TextFile::notANumber(lines.at(n)));
    }
    return lines;
}

} // namespace NotepadFiles
