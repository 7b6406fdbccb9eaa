#include "core/keyvaluefile.h"

#include <QHash>
#include <QSet>

#include <algorithm>
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

// Calls take(key, value) for every line with "=", in order; lines as
// TextFile::splitLines() cuts them (CR LF, CR or LF), looked at in place.
template<typename Take>
void forEachPair(const QString &text, Take take)
{
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
            take(line.left(equals), line.sliced(equals + 1));
        if (end + 1 < size && all[end] == QLatin1Char('\r') && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

} // namespace

std::optional<QString> lookup(const QString &text, const QString &key)
{
    // A text nobody else holds is looked through once, for this key.
    if (text.isDetached()) {
        std::optional<QStringView> value;
        forEachPair(text, [&](QStringView lineKey, QStringView lineValue) {
            if (lineKey == key)
                value = lineValue;
        });
        return value ? std::optional<QString>(value->toString()) : std::nullopt;
    }
    // Settings are looked up several times per message in the text the storage layer
    // keeps of the file: its values are parsed once per version of that text. A text
    // shared with one seen before is that same, unchanged text (shared text is never
    // changed in place).
    constexpr int Kept = 4;
    thread_local std::array<Parsed, Kept> parsed;
    thread_local int next = 0;
    auto found = std::find_if(parsed.begin(), parsed.end(),
                              [&text](const Parsed &p) { return p.text.isSharedWith(text); });
    if (found == parsed.end()) {
        found = parsed.begin() + next;
        next = (next + 1) % Kept;
        found->values.clear();
        forEachPair(text, [&](QStringView lineKey, QStringView lineValue) {
            found->values.insert(lineKey.toString(), lineValue.toString());
        });
        found->text = text;
    }
    const auto it = found->values.constFind(key);
    return it == found->values.cend() ? std::nullopt : std::optional<QString>(*it);
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
