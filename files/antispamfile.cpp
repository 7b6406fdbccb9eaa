#include "files/antispamfile.h"

#include "core/vbvalues.h"

#include <QStringList>

namespace {

const QString CrLf = QStringLiteral("\r\n");
// The items are separated by lines that hold only "---".
const QString ItemSeparator = QStringLiteral("\r\n---\r\n");

} // namespace

AntiSpamFile::Contents AntiSpamFile::defaults()
{
    Contents contents;
    contents.question = QStringLiteral("Движок какой компании использует этот бот?") + CrLf;
    contents.answer = QStringLiteral("Plumwerk") + CrLf;
    contents.success = QStringLiteral("Вы прошли защиту на спам.") + CrLf +
                       QStringLiteral("Теперь Вы можете воспользоваться услугами бота.") + CrLf;
    return contents;
}

AntiSpamFile::Contents AntiSpamFile::parse(const QString &text)
{
    Contents parsed;
    // A switch typed by hand as "1" and a line end reads as on, like the window's " 1 ".
    parsed.on = VbValues::holdsNumber(text.left(2).trimmed(), 1);
    QStringList items;
    qsizetype from = 0;
    // switch, question, answer; the success text is the rest.
    while (items.size() < 3) {
        const qsizetype at = text.indexOf(ItemSeparator, from);
        if (at < 0)
            break;
        items.append(text.mid(from, at - from));
        from = at + ItemSeparator.size();
    }
    if (from > 0) {
        QString last = text.mid(from);
        if (items.size() == 3)
            parsed.storedSuccess = last;
        if (last.endsWith(CrLf))
            last.chop(CrLf.size());
        items.append(last);
    }
    parsed.question = items.value(1);
    parsed.answer = items.value(2);
    parsed.success = items.value(3);
    return parsed;
}

AntiSpamFile::Contents AntiSpamFile::read()
{
    const QString text = TextFile::readAll(FilePath);
    const QString switchLine = TextFile::splitLines(text.left(TextFile::MaxRecordLength)).value(0);
    if (!text.isEmpty() && !VbValues::isNumber(switchLine))
        TextFile::reportBadLine(FilePath, 1, TextFile::notANumber(switchLine));
    return parse(text);
}

QString AntiSpamFile::format(const Contents &contents)
{
    const QString items[] = {VbValues::printForm(contents.on ? 1 : 0), Separator, contents.question, Separator,
                             contents.answer, Separator, contents.success};
    QString text;
    for (const QString &item : items)
        text += item + CrLf;
    return text;
}

TextFile::Result AntiSpamFile::write(const Contents &contents)
{
    return TextFile::writeAll(FilePath, format(contents));
}
