#include "core/keyvaluefile.h"

#include <QSet>

namespace KeyValueFile {

std::optional<QString> keyOf(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return line.left(equals);
}

std::optional<QString> lookup(const QString &text, const QString &key)
{
    // Lines as TextFile::splitLines() cuts them (CR LF, CR or LF), looked at in place:
    // settings are looked up several times per message.
    std::optional<QStringView> value;
    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = all.sliced(start, end - start);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && line.left(equals) == key)
            value = line.sliced(equals + 1);
        if (end + 1 < size && all[end] == QLatin1Char('\r') && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return value ? std::optional<QString>(value->toString()) : std::nullopt;
}

QString merged(const QString &oldText, const Pairs &pairs)
{
    const auto valueOf = [&pairs](const QString &key) -> std::optional<QString> {
        for (const auto &pair : pairs) {
            if (pair.first == key)
                return pair.second;
        }
        return std::nullopt;
    };

    QSet<QString> found;
    QString result;
    // Whether result holds a line yet.
    bool hasLines = false;
    if (!oldText.isEmpty()) {
        QStringList lines = TextFile::splitLines(oldText);
        // Lines are joined as they come, and while the text is still empty a line takes
        // its place: empty lines before the first non-empty one disappear.
        while (!lines.isEmpty() && lines.first().isEmpty())
            lines.removeFirst();
        for (QString &line : lines) {
            const auto key = keyOf(line);
            if (!key)
                continue;
            if (const auto value = valueOf(*key)) {
                line = *key + QLatin1Char('=') + *value;
                found.insert(*key);
            }
        }
        result = lines.join(QLatin1String("\r\n"));
        hasLines = !lines.isEmpty();
    }
    for (const auto &pair : pairs) {
        if (found.contains(pair.first))
            continue;
        found.insert(pair.first);
        if (hasLines)
            result += QLatin1String("\r\n");
        hasLines = true;
        result += pair.first + QLatin1Char('=') + pair.second;
    }
    return result + QLatin1String("\r\n");
}

TextFile::Result merge(const QString &programPath, const Pairs &pairs, TextFile::Options options)
{
    const QString oldText = TextFile::readAll(programPath);
    return TextFile::writeAll(programPath, merged(oldText, pairs), options);
}

} // namespace KeyValueFile
