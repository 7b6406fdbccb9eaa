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
    std::optional<QString> value;
    const QStringList lines = TextFile::splitLines(text);
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (QStringView(line).left(equals) == key)
            value = line.mid(equals + 1);
    }
    return value;
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
