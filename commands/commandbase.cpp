#include "commands/commandbase.h"

#include "core/programfolder.h"
#include "core/vbvalues.h"

#include <QDebug>
#include <QDir>
#include <QHash>

namespace CommandBase {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString filePathOf(const QString &group)
{
    return Folder + QLatin1Char('\\') + group + QStringLiteral(".txt");
}

} // namespace

namespace {

// Walks the records in file order; visit returns false to stop.
template<typename Visit> void scanRecords(const QString &text, Visit visit)
{
    qsizetype pos = 0;
    for (;;) {
        const qsizetype head = text.indexOf(HeadPrefix, pos);
        if (head < 0)
            return;
        const qsizetype nameStart = head + HeadPrefix.size();
        const qsizetype lineEnd = text.indexOf(CrLf, nameStart);
        if (lineEnd < 0)
            return;
        const qsizetype actionAt = lineEnd + CrLf.size();
        if (!QStringView(text).mid(actionAt).startsWith(ActionPrefix)) {
            // A head line without its action line is no record; look further on.
            pos = nameStart;
            continue;
        }
        const qsizetype bodyStart = actionAt + ActionPrefix.size();
        const qsizetype bodyEnd = text.indexOf(Terminator, bodyStart);
        if (bodyEnd < 0)
            return; // unterminated: nothing after it can be terminated either
        if (!visit(head, QStringView(text).mid(nameStart, lineEnd - nameStart), bodyStart, bodyEnd))
            return;
        pos = bodyEnd + Terminator.size();
    }
}

} // namespace

QList<RecordSpan> records(const QString &text)
{
    QList<RecordSpan> found;
    scanRecords(text, [&found](qsizetype head, QStringView name, qsizetype bodyStart, qsizetype bodyEnd) {
        found.append({head, bodyStart, bodyEnd, name.toString()});
        return true;
    });
    return found;
}

QString bodyOf(const QString &text, const RecordSpan &span)
{
    QString body = text.mid(span.bodyStart, span.bodyEnd - span.bodyStart);
    if (body.endsWith(CrLf))
        body.chop(CrLf.size());
    return body;
}

namespace {

// The first record of each name in one text, so a command base read again unchanged
// (the storage layer hands out the same shared text) is not scanned again.
struct NameIndex
{
    QString text; // holds the text's buffer, so a matching pointer means the same text
    bool upperCase = false;
    QHash<QString, RecordSpan> first;
    quint64 lastUse = 0;
};

const NameIndex &indexOf(const QString &text, bool upperCase)
{
    static NameIndex indexes[4];
    static quint64 uses = 0;
    NameIndex *oldest = &indexes[0];
    for (NameIndex &index : indexes) {
        if (index.upperCase == upperCase && index.text.size() == text.size() && !index.text.isNull() &&
            (index.text.constData() == text.constData() || index.text == text)) {
            index.text = text; // the next call with this buffer skips the comparison
            index.lastUse = ++uses;
            return index;
        }
        if (index.lastUse < oldest->lastUse)
            oldest = &index;
    }
    NameIndex &index = *oldest;
    index.text = text;
    index.upperCase = upperCase;
    index.first.clear();
    index.lastUse = ++uses;
    scanRecords(text, [&index](qsizetype head, QStringView name, qsizetype bodyStart, qsizetype bodyEnd) {
        const QString key = index.upperCase ? VbValues::upperCase(name.toString()) : name.toString();
        if (!index.first.contains(key))
            index.first.insert(key, RecordSpan{head, bodyStart, bodyEnd, name.toString()});
        return true;
    });
    return index;
}

} // namespace

std::optional<RecordSpan> find(const QString &text, const QString &name, bool upperCase)
{
    const NameIndex &index = indexOf(text, upperCase);
    const auto it = index.first.constFind(upperCase ? VbValues::upperCase(name) : name);
    if (it == index.first.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QString> findBody(const QString &text, const QString &name, bool upperCase)
{
    const std::optional<RecordSpan> span = find(text, name, upperCase);
    if (!span)
        return std::nullopt;
    return bodyOf(text, *span);
}

QString kindLine(const QString &body)
{
    const qsizetype end = body.indexOf(CrLf);
    return end < 0 ? body : body.left(end);
}

AnswerKind kindOf(const QString &body)
{
    const QString line = kindLine(body);
    if (line == FileKind)
        return AnswerKind::File;
    if (line == DownloadKind)
        return AnswerKind::Download;
    if (line == ProgramKind)
        return AnswerKind::Program;
    if (line == RandomKind)
        return AnswerKind::Random;
    return AnswerKind::Text;
}

QString bodyLine(const QString &body, int n)
{
    if (n < 1)
        return {};
    const QStringList lines = body.split(CrLf);
    return n <= lines.size() ? lines.at(n - 1) : QString();
}

bool isUsableGroupName(const QString &group)
{
    if (group.isEmpty() || group == QLatin1String(".") || group == QLatin1String(".."))
        return false;
    if (group.contains(QLatin1Char('/')) || group.contains(QLatin1Char('\\')) || group.contains(QChar(0)))
        return false;
    // The side files of the command base share the folder with the group files.
    static const QStringList sideFiles = {QStringLiteral("Настройки"), QStringLiteral("Добавочные"),
                                          QStringLiteral("Подпись"),
                                          QStringLiteral("Ответ на неизвестную команду")};
    for (const QString &side : sideFiles) {
        if (group.compare(side, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

QString groupFilePath(const QString &group)
{
    if (!isUsableGroupName(group))
        return {};
    const QString exact = filePathOf(group);
    if (TextFile::exists(exact))
        return exact;
    const QString wanted = group + QStringLiteral(".txt");
    const QStringList names = QDir(ProgramFolder::path(Folder)).entryList(QDir::Files);
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return Folder + QLatin1Char('\\') + name;
    }
    return exact;
}

QString addRecord(const QString &text, const QString &name, const QString &body)
{
    return text + HeadPrefix + name + CrLf + ActionPrefix + body + CrLf + Terminator + CrLf;
}

std::optional<QString> changeRecord(const QString &text, const QString &name, const QString &body)
{
    const std::optional<RecordSpan> span = find(text, name);
    if (!span)
        return std::nullopt;
    return text.left(span->bodyStart) + body + text.mid(span->bodyEnd) + CrLf;
}

std::optional<QString> removeRecord(const QString &text, const QString &name)
{
    const std::optional<RecordSpan> span = find(text, name);
    if (!span)
        return std::nullopt;
    qsizetype after = span->bodyEnd + Terminator.size();
    // Only the terminator's own line break goes; a record glued to it stays whole.
    if (QStringView(text).mid(after).startsWith(CrLf))
        after += CrLf.size();
    const QString rest = text.left(span->head) + text.mid(after);
    return rest.isEmpty() ? QString() : rest + CrLf;
}

namespace {

// Writers take the file the readers read. A file there that cannot be read is never
// rewritten as if it were empty.
std::optional<QString> writableText(const QString &group, QString &path, TextFile::Result &refusal)
{
    path = groupFilePath(group);
    if (path.isEmpty()) {
        refusal = {false, QStringLiteral("unusable group name")};
        return std::nullopt;
    }
    if (TextFile::readState(path) == TextFile::ReadState::Unreadable) {
        refusal = {false, QStringLiteral("%1 cannot be read").arg(TextFile::filePath(path))};
        return std::nullopt;
    }
    return TextFile::readAll(path);
}

} // namespace

TextFile::Result AddCommandRecord(const QString &group, const QString &name, const QString &body)
{
    QString path;
    TextFile::Result refusal;
    const std::optional<QString> text = writableText(group, path, refusal);
    if (!text)
        return refusal;
    return TextFile::writeAll(path, addRecord(*text, name, body));
}

TextFile::Result ChangeCommandRecord(const QString &group, const QString &name, const QString &body)
{
    QString path;
    TextFile::Result refusal;
    const std::optional<QString> text = writableText(group, path, refusal);
    if (!text)
        return refusal;
    const std::optional<QString> changed = changeRecord(*text, name, body);
    if (!changed)
        return {false, QStringLiteral("no command %1").arg(name)};
    return TextFile::writeAll(path, *changed);
}

TextFile::Result DeleteCommandRecord(const QString &group, const QString &name)
{
    QString path;
    TextFile::Result refusal;
    const std::optional<QString> text = writableText(group, path, refusal);
    if (!text)
        return refusal;
    const std::optional<QString> rest = removeRecord(*text, name);
    if (!rest)
        return {false, QStringLiteral("no command %1").arg(name)};
    if (!rest->isEmpty())
        return TextFile::writeAll(path, *rest);
    if (TextFile::remove(path))
        return {true, QString()};
    const TextFile::Result failed{false, QStringLiteral("%1 could not be deleted").arg(TextFile::filePath(path))};
    qWarning().noquote() << "command base:" << failed.error;
    return failed;
}

} // namespace CommandBase
