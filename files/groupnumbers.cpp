#include "files/groupnumbers.h"

#include <QHash>

namespace {

TextFile::Result failed(const QString &why)
{
    return TextFile::Result{false, why};
}

bool unreadable()
{
    return TextFile::readState(GroupNumbers::FilePath) == TextFile::ReadState::Unreadable;
}

} // namespace

bool GroupNumbers::splitLine(const QString &line, QString *number, QString *group)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    if (number)
        *number = line.left(colon);
    if (group)
        *group = line.mid(colon + 1);
    return true;
}

namespace {

// Calls take(number, group) for every line of the file; a line without its colon is
// reported and skipped.
template<typename Take>
void forEachLine(const QStringList &lines, Take take)
{
    QString number;
    QString group;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (GroupNumbers::splitLine(lines.at(n), &number, &group))
            take(number, group);
        else if (!lines.at(n).isEmpty())
            TextFile::reportBadLine(GroupNumbers::FilePath, int(n + 1), TextFile::missingSeparator(u":"));
    }
}

} // namespace

QString GroupNumbers::groupOf(const QString &uin)
{
    // Asked for every message: each number's group (its last line counts) is gathered
    // once per version of the lines.
    thread_local TextFile::PerVersion<QStringList, QHash<QString, QString>> index;
    return index
        .of(TextFile::readLines(FilePath),
            [](const QStringList &lines) {
                QHash<QString, QString> groups;
                forEachLine(lines, [&groups](const QString &number, const QString &group) {
                    groups.insert(number, group);
                });
                return groups;
            })
        .value(uin);
}

QStringList GroupNumbers::numbersOf(const QString &group)
{
    QStringList numbers;
    forEachLine(TextFile::readLines(FilePath), [&](const QString &number, const QString &lineGroup) {
        if (lineGroup == group)
            numbers.append(number);
    });
    return numbers;
}

QString GroupNumbers::normalizedNumber(const QString &typed)
{
    const QString number = typed.trimmed();
    if (number.isEmpty())
        return {};
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    }
    return number;
}

TextFile::Result GroupNumbers::add(const QString &number, const QString &group)
{
    if (number.isEmpty() || normalizedNumber(number) != number)
        return failed(QStringLiteral("not a number"));
    if (unreadable())
        return failed(QStringLiteral("the numbers file cannot be read"));
    return TextFile::appendLine(FilePath, number + QLatin1Char(':') + group);
}

TextFile::Result GroupNumbers::removeNumber(const QString &number)
{
    if (unreadable())
        return failed(QStringLiteral("the numbers file cannot be read"));
    if (!TextFile::exists(FilePath))
        return TextFile::Result{true, {}};
    QStringList kept;
    QString lineNumber;
    for (const QString &line : TextFile::readLines(FilePath)) {
        if (splitLine(line, &lineNumber, nullptr) && lineNumber == number)
            continue;
        kept.append(line);
    }
    if (kept.isEmpty()) {
        if (TextFile::remove(FilePath))
            return TextFile::Result{true, {}};
        return failed(QStringLiteral("the numbers file cannot be deleted"));
    }
    return TextFile::writeLines(FilePath, kept);
}
