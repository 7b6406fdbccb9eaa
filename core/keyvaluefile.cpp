#include "core/keyvaluefile.h"

#include <QHash>
#include <QSet>

#include <array>

namespace KeyValueFile {

std::optional<QString> keyOf(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return line.left(equals);
}

namespace {

// The values of one text, each key's last line counting.
struct Parsed
{
    QString text;
    QHash<QString, QString> values;
};

QHash<QString, QString> valuesOf(const QString &text)
{
    // Lines as TextFile::splitLines() cuts them (CR LF, CR or LF), looked at in place.
    QHash<QString, QString> values;
    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = all.sliced(start, end - start);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0)
            values.insert(line.left(equals).toString(), line.sliced(equals + 1).toString());
        if (end + 1 < size && all[end] == QLatin1Char('\r') && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return values;
}

} // namespace

std::optional<QString> lookup(const QString &text, const QString &key)
{
    // Settings are looked up several times per message in the text the storage layer
    // keeps of the file: its values are parsed once per version of that text. A text
    // shared with one seen before is that same, unchanged text (shared text is never
    // changed in place).
    constexpr int Kept = 4;
    thread_local std::array<Parsed, Kept> parsed;
    thread_local int next = 0;
    const auto find = [&key](const Parsed &p) -> std::optional<QString> {
        const auto it = p.values.constFind(key);
        return it == p.values.cend() ? std::nullopt : std::optional<QString>(*it);
    };
    for (const Parsed &p : parsed) {
        if (p.text.isSharedWith(text))
            return find(p);
    }
    Parsed &p = parsed[size_t(next)];
    next = (next + 1) % Kept;
    p.values = valuesOf(text);
    // A text nobody else holds changes or goes with its owner: not kept.
    p.text = text.isDetached() ? QString() : text;
    return find(p);
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
