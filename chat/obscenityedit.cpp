#include "chat/obscenityedit.h"

#include "chat/chatreference.h"
#include "core/textfile.h"

#include <QStringList>

namespace {
QStringList items(const QString &text)
{
    QStringList result;
    for (const QString &line : TextFile::splitLines(text)) {
        if (!line.trimmed().isEmpty())
            result.append(line);
    }
    return result;
}
} // namespace

QString ObscenityEditor::filePath(List list)
{
    return list == List::Words ? ObscenityLists::WordsPath : ObscenityLists::ExceptionsPath;
}

QString ObscenityEditor::text(List list)
{
    return items(TextFile::readAll(filePath(list))).join(QLatin1Char('\n'));
}

bool ObscenityEditor::save(List list, const QString &boxText)
{
    QStringList lines = items(boxText);
    if (list == List::Exceptions)
        lines.prepend(QString());
    return bool(TextFile::writeLines(filePath(list), lines));
}
