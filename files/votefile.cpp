#include "files/votefile.h"

#include "core/listfile.h"
#include "core/vbvalues.h"

#include <utility>

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

namespace VoteFile {

std::optional<Definition> parse(const QString &text)
{
    QString line = text;
    if (line.endsWith(CrLf))
        line.chop(CrLf.size());
    if (line.isEmpty())
        return std::nullopt;
    QStringList fields = ListFile::split(line);
    Definition found;
    found.question = fields.takeFirst();
    found.options = fields;
    return found;
}

std::optional<Definition> read()
{
    const std::optional<Definition> vote = parse(TextFile::readAll(DefinitionPath));
    if (vote && vote->options.isEmpty())
        TextFile::reportBadLine(DefinitionPath, 1, TextFile::missingSeparator(ListFile::Separator));
    return vote;
}

bool unstorable(const QString &text)
{
    return !ListFile::canHoldField(text);
}

QString format(const QString &question, const QStringList &options)
{
    QString joined;
    for (const QString &option : options) {
        if (joined.isEmpty())
            joined = option;
        else
            joined += ListFile::Separator + option;
    }
    return question + ListFile::Separator + joined + CrLf;
}

TextFile::Result write(const QString &question, const QStringList &options)
{
    return TextFile::writeAll(DefinitionPath, format(question, options));
}

QList<Count> count(const QStringList &options, const QStringList &resultLines)
{
    QList<Count> table;
    QStringList upper;
    for (const QString &option : options) {
        table.append(Count{option, 0});
        upper.append(VbValues::upperCase(option));
    }
    for (const QString &line : resultLines) {
        const qsizetype at = upper.indexOf(line);
        if (at >= 0)
            ++table[at].votes;
    }
    // The exchange sort as the window always did it: for every i, for every j, swap
    // when i has more votes than j. Counts end non-increasing; ties end where it leaves them.
    const qsizetype n = table.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = 0; j < n; ++j) {
            if (table.at(i).votes > table.at(j).votes)
                std::swap(table[i], table[j]);
        }
    }
    return table;
}

QList<Count> results()
{
    const std::optional<Definition> vote = read();
    if (!vote)
        return {};
    return count(vote->options, TextFile::readLines(ResultsPath));
}

void remove()
{
    for (const QString &path : {DefinitionPath, PendingPath, VotersPath, ResultsPath})
        TextFile::remove(path);
}

} // namespace VoteFile
