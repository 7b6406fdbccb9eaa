#include "files/automessages.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

namespace {

// The three fields of an entry line, as views into it.
struct Fields
{
    QStringView text;
    QStringView count;
    QStringView direction;
};

Fields fieldsOf(QStringView line)
{
    const QString &separator = AutoMessages::FieldSeparator;
    const qsizetype first = TextFile::find(line, separator);
    if (first < 0)
        return {line, {}, {}};
    const QStringView rest = line.sliced(first + separator.size());
    const qsizetype second = TextFile::find(rest, separator);
    if (second < 0)
        return {line.first(first), rest, {}};
    return {line.first(first), rest.first(second), rest.sliced(second + separator.size())};
}

} // namespace

AutoMessages::Entry AutoMessages::Entry::parse(const QString &line)
{
    const Fields fields = fieldsOf(line);
    // The whole line is its text: shared, not copied (it may be megabytes).
    if (fields.text.size() == line.size())
        return {line, QString(), QString()};
    return {fields.text.toString(), fields.count.toString(), fields.direction.toString()};
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

AutoMessages::View AutoMessages::readView()
{
    View view;
    view.text = TextFile::readAll(FilePath);
    view.lines = TextFile::splitLineViews(view.text);
    return view;
}

AutoMessages::File AutoMessages::View::header() const
{
    File file;
    file.intervalLine = line(0).toString();
    file.randomLine = line(1).toString();
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

bool AutoMessages::staysAfterSending(QStringView entryLine)
{
    const Fields fields = fieldsOf(entryLine);
    return entryLine.isEmpty() || fields.count == Endless || fields.direction == QLatin1String("=");
}

QStringView AutoMessages::textOf(QStringView entryLine)
{
    return fieldsOf(entryLine).text;
}

std::optional<QString> AutoMessages::afterSending(const QString &entryLine)
{
    // Only the count and direction are looked at: the text is not copied.
    if (staysAfterSending(entryLine))
        return entryLine;
    const Fields fields = fieldsOf(entryLine);
    const std::optional<double> count = VbValues::toNumber(fields.count.toString());
    if (!count)
        return std::nullopt;
    const double next = VbValues::roundHalfEven(*count) + (fields.direction == QLatin1String(">") ? 1 : -1);
    if (next < 0)
        return std::nullopt;
    return Entry{fields.text.toString(), VbValues::numberText(next), fields.direction.toString()}.line();
}
