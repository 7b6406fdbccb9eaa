#include "core/textfile.h"

#include "core/programfolder.h"
#include "core/storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace TextFile {

namespace {

QByteArray readBytesAt(const QString &path)
{
    return Storage::instance().bytes(path);
}

QString readAllAt(const QString &path)
{
    return Storage::instance().text(path);
}

// A rewrite through write(); KeepsLines carries a bad-line report to the new version.
template<typename Write> Result rewriteAt(const QString &path, Options options, Write write)
{
    Storage &storage = Storage::instance();
    std::optional<Storage::Stamp> before;
    if (options.testFlag(Option::KeepsLines))
        before = storage.knownStamp(path);
    Result result;
    result.ok = write(storage, options.testFlag(Option::OwnerOnly), &result.error);
    if (result.ok && before)
        storage.carryBadLineReport(path, *before);
    return result;
}

Result writeBytesAt(const QString &path, const QByteArray &bytes, Options options)
{
    return rewriteAt(path, options, [&](Storage &storage, bool ownerOnly, QString *error) {
        return storage.rewrite(path, bytes, ownerOnly, error);
    });
}

Result writeTextAt(const QString &path, const QString &text, Options options)
{
    return rewriteAt(path, options, [&](Storage &storage, bool ownerOnly, QString *error) {
        return storage.rewriteText(path, text, ownerOnly, error);
    });
}

// Every append of the program comes here, so the layer below ends a hand-edited last
// line first and keeps a UTF-8 file UTF-8.
Result appendTextAt(const QString &path, const QString &text, Options options, bool endLine = false)
{
    Result result;
    result.ok = Storage::instance().appendText(path, text, options.testFlag(Option::OwnerOnly), &result.error,
                                               endLine);
    return result;
}

// The name part of a Kill pattern as an anchored expression.
QRegularExpression wildcardExpression(const QString &namePattern)
{
    QString body = namePattern;
    bool optionalExtension = false;
    if (body.endsWith(QLatin1String(".*"))) {
        body.chop(2);
        optionalExtension = true;
    }
    QString expression;
    for (const QChar c : std::as_const(body)) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    if (optionalExtension)
        expression += QLatin1String("(\\..*)?");
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::DotMatchesEverythingOption);
}

int removeMatchingAt(const QString &pattern)
{
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QDir::currentPath() : pattern.left(slash + 1);
    const QString namePattern = slash < 0 ? pattern : pattern.mid(slash + 1);
    if (namePattern.isEmpty())
        return 0;
    if (!namePattern.contains(QLatin1Char('*')) && !namePattern.contains(QLatin1Char('?')))
        return Storage::instance().remove(pattern) ? 1 : 0;
    const QRegularExpression expression = wildcardExpression(namePattern);
    const QDir dir(folder);
    int removed = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (expression.match(name).hasMatch() && Storage::instance().remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

bool isFileAt(const QString &path)
{
    return Storage::instance().isFile(path);
}

bool removeAt(const QString &path)
{
    return Storage::instance().remove(path);
}

bool ensureFolderAt(const QString &path)
{
    return QFileInfo(path).isDir() || QDir().mkpath(path);
}

QString linesText(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

} // namespace

QString filePath(const QString &programPath)
{
    return ProgramFolder::path(programPath);
}

QByteArray readBytes(const QString &programPath)
{
    return readBytesAt(filePath(programPath));
}
QByteArray readBytes(const Absolute &file)
{
    return readBytesAt(file.path);
}

QString readAll(const QString &programPath)
{
    return readAllAt(filePath(programPath));
}
QString readAll(const Absolute &file)
{
    return readAllAt(file.path);
}

QStringList readLines(const QString &programPath)
{
    return Storage::instance().lines(filePath(programPath));
}
QStringList readLines(const Absolute &file)
{
    return Storage::instance().lines(file.path);
}

ReadState readState(const QString &programPath)
{
    return Storage::instance().readState(filePath(programPath));
}
ReadState readState(const Absolute &file)
{
    return Storage::instance().readState(file.path);
}

QString firstLine(const QString &programPath)
{
    return readLines(programPath).value(0);
}
QString firstLine(const Absolute &file)
{
    return readLines(file).value(0);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    for (const QStringView line : splitLineViews(text))
        lines.append(line.size() == text.size() ? text : line.toString()); // a lone line is shared
    return lines;
}

QList<QStringView> splitLineViews(QStringView text)
{
    // The next CR and the next LF are each looked for with the library's vector search,
    // and looked for again only once passed, so a line of megabytes is walked at memory
    // speed and a file of short lines still once.
    QList<QStringView> lines;
    const qsizetype size = text.size();
    qsizetype nextCr = text.indexOf(QLatin1Char('\r'));
    qsizetype nextLf = text.indexOf(QLatin1Char('\n'));
    qsizetype start = 0;
    while (nextCr >= 0 || nextLf >= 0) {
        const bool cr = nextCr >= 0 && (nextLf < 0 || nextCr < nextLf);
        const qsizetype at = cr ? nextCr : nextLf;
        lines.append(text.sliced(start, at - start));
        start = at + 1;
        if (cr && nextLf == start)
            ++start; // CR LF
        if (nextCr >= 0 && nextCr < start)
            nextCr = text.indexOf(QLatin1Char('\r'), start);
        if (nextLf >= 0 && nextLf < start)
            nextLf = text.indexOf(QLatin1Char('\n'), start);
    }
    if (start < size)
        lines.append(text.sliced(start));
    return lines;
}

qsizetype find(QStringView text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty())
        return from <= text.size() ? from : -1;
    const QChar head = needle.front();
    const QStringView tail = needle.sliced(1);
    const qsizetype last = text.size() - needle.size();
    for (qsizetype at = text.indexOf(head, from); at >= 0 && at <= last; at = text.indexOf(head, at + 1)) {
        if (text.sliced(at + 1, tail.size()) == tail)
            return at;
    }
    return -1;
}

Result writeBytes(const QString &programPath, const QByteArray &bytes, Options options)
{
    return writeBytesAt(filePath(programPath), bytes, options);
}
Result writeBytes(const Absolute &file, const QByteArray &bytes, Options options)
{
    return writeBytesAt(file.path, bytes, options);
}

Result writeAll(const QString &programPath, const QString &text, Options options)
{
    return writeTextAt(filePath(programPath), text, options);
}
Result writeAll(const Absolute &file, const QString &text, Options options)
{
    return writeTextAt(file.path, text, options);
}

Result writeLines(const QString &programPath, const QStringList &lines, Options options)
{
    return writeTextAt(filePath(programPath), linesText(lines), options);
}
Result writeLines(const Absolute &file, const QStringList &lines, Options options)
{
    return writeTextAt(file.path, linesText(lines), options);
}

Result append(const QString &programPath, const QString &text, Options options)
{
    return appendTextAt(filePath(programPath), text, options);
}
Result append(const Absolute &file, const QString &text, Options options)
{
    return appendTextAt(file.path, text, options);
}

Result appendLine(const QString &programPath, const QString &line, Options options)
{
    return appendTextAt(filePath(programPath), line, options, true);
}
Result appendLine(const Absolute &file, const QString &line, Options options)
{
    return appendTextAt(file.path, line, options, true);
}

void appendLineLater(const QString &programPath, const QString &line, Options options)
{
    Storage::instance().appendLater(filePath(programPath), line + QLatin1String("\r\n"),
                                    options.testFlag(Option::OwnerOnly));
}

void reportBadLine(const QString &programPath, int lineNumber, const QString &why)
{
    Storage::instance().reportBadLine(filePath(programPath), lineNumber, why);
}
void reportBadLine(const Absolute &file, int lineNumber, const QString &why)
{
    Storage::instance().reportBadLine(file.path, lineNumber, why);
}

void reportSkippedLine(const QString &programPath, int lineNumber, QStringView line, const QString &why)
{
    const QString trouble = lineTrouble(line);
    reportBadLine(programPath, lineNumber, trouble.isEmpty() ? why : trouble);
}

QString lineTrouble(QStringView line, qsizetype maxLength)
{
    if (line.size() > maxLength)
        return QStringLiteral("строка длиннее %1 знаков").arg(maxLength);
    for (const QChar c : line) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            return QStringLiteral("в строке двоичные данные");
    }
    return {};
}

QString notANumber(QStringView field)
{
    // A long field is cut: the operator needs to find it, not to read it whole.
    return QStringLiteral("«%1» — не число").arg(field.left(40));
}

QString missingSeparator(QStringView separator)
{
    return QStringLiteral("нет разделителя «%1»").arg(separator);
}

bool exists(const QString &programPath)
{
    return isFileAt(filePath(programPath));
}
bool exists(const Absolute &file)
{
    return isFileAt(file.path);
}
bool folderExists(const QString &programPath)
{
    return QFileInfo(filePath(programPath)).isDir();
}

bool remove(const QString &programPath)
{
    return removeAt(filePath(programPath));
}
bool remove(const Absolute &file)
{
    return removeAt(file.path);
}

int removeMatching(const QString &programPattern)
{
    return removeMatchingAt(filePath(programPattern));
}
int removeMatching(const Absolute &pattern)
{
    QString path = pattern.path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return removeMatchingAt(path);
}

bool ensureFolder(const QString &programPath)
{
    return ensureFolderAt(filePath(programPath));
}
bool ensureFolder(const Absolute &folder)
{
    return ensureFolderAt(folder.path);
}

} // namespace TextFile
