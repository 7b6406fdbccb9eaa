#include "files/automessages.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

AutoMessages::Entry AutoMessages::Entry::parse(const QString &line)
{
    Entry entry;
    const qsizetype first = line.indexOf(FieldSeparator);
    if (first < 0) {
        entry.text = line;
        return entry;
    }
    entry.text = line.left(first);
    const qsizetype second = line.indexOf(FieldSeparator, first + FieldSeparator.size());
    if (second < 0) {
        entry.count = line.mid(first + FieldSeparator.size());
        return entry;
    }
    entry.count = line.mid(first + FieldSeparator.size(), second - first - FieldSeparator.size());
    entry.direction = line.mid(second + FieldSeparator.size());
    return entry;
}

QString AutoMessages::Entry::line() const
{
    return text + FieldSeparator + count + FieldSeparator + direction;
}

std::optional<int> AutoMessages::File::interval() const
{
    const std::optional<double> seconds = VbValues::toNumber(intervalLine);
    if (!seconds)
        return std::nullopt;
    const double whole = VbValues::roundHalfEven(*seconds);
    if (whole < MinInterval || whole > MaxInterval)
        return std::nullopt;
    return int(whole);
}

bool AutoMessages::File::random() const
{
    return VbValues::holdsNumber(randomLine, 1);
}

bool AutoMessages::hasText()
{
    return !TextFile::readAll(FilePath).isEmpty();
}

AutoMessages::File AutoMessages::read()
{
    const QStringList lines = TextFile::readLines(FilePath);
    File file;
    file.intervalLine = lines.value(0);
    file.randomLine = lines.value(1);
    file.entries = lines.mid(2);
    return file;
}

bool AutoMessages::write(const File &file)
{
    QStringList lines = {file.intervalLine, file.randomLine};
    if (file.entries.isEmpty())
        lines.append(QString());
    else
        lines += file.entries;
    return bool(TextFile::writeLines(FilePath, lines));
}

bool AutoMessages::write(const QString &intervalLine, const QString &randomLine, const QStringList &entries)
{
    return bool(TextFile::writeLines(FilePath, QStringList{intervalLine, randomLine} + entries));
}

std::optional<QString> AutoMessages::afterSending(const QString &entryLine)
{
    if (entryLine.isEmpty())
        return entryLine;
    Entry entry = Entry::parse(entryLine);
    if (entry.count == Endless || entry.direction == QLatin1String("="))
        return entryLine;
    const std::optional<double> count = VbValues::toNumber(entry.count);
    if (!count)
        return std::nullopt;
    const double next = VbValues::roundHalfEven(*count) + (entry.direction == QLatin1String(">") ? 1 : -1);
    if (next < 0)
        return std::nullopt;
    entry.count = VbValues::numberText(next);
    return entry.line();
}
