#include "core/listfile.h"

#include "core/textfile.h"

namespace ListFile {

QStringList split(const QString &line)
{
    return line.split(Separator, Qt::KeepEmptyParts);
}

QString join(const QStringList &fields)
{
    return fields.join(Separator);
}

bool canHoldField(const QString &text)
{
    return !text.contains(Separator) && !text.endsWith(QStringLiteral(":^"));
}

std::optional<QStringList> fields(const QString &line, int fieldCount)
{
    if (fieldCount < 1)
        return std::nullopt;
    QStringList result;
    result.reserve(fieldCount);
    qsizetype start = 0;
    for (int k = 0; k < fieldCount - 1; ++k) {
        const qsizetype at = TextFile::find(line, Separator, start);
        if (at < 0)
            return std::nullopt;
        result.append(line.mid(start, at - start));
        start = at + Separator.size();
    }
    result.append(line.mid(start));
    return result;
}

std::optional<QString> field(const QString &line, int index, int fieldCount)
{
    if (index < 0 || index >= fieldCount)
        return std::nullopt;
    const auto all = fields(line, fieldCount);
    if (!all)
        return std::nullopt;
    return all->at(index);
}

std::optional<QString> uinOf(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    return line.left(blank);
}

} // namespace ListFile
