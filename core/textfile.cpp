#include "core/textfile.h"

#include "core/cp1251.h"
#include "core/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace TextFile {

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

QByteArray readBytesAt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool makeParent(const QString &path, Result &result)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (QFileInfo(parent).isDir() || QDir().mkpath(parent))
        return true;
    result.error = QStringLiteral("cannot create folder %1").arg(parent);
    return false;
}

Result writeBytesAt(const QString &path, const QByteArray &bytes, Options options)
{
    Result result;
    if (!makeParent(path, result))
        return result;
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("%1 is a folder").arg(path);
        return result;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    // QSaveFile copies the old file's permissions onto its temporary file; narrow them
    // before any byte is written so a password never lies in a readable file.
    if (options.testFlag(Option::OwnerOnly))
        file.setPermissions(kOwnerOnly);
    // write() only fills Qt's buffer; a disk that fills up shows at flush(), and
    // commit() would still put the truncated file in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    if (options.testFlag(Option::OwnerOnly) && !QFile::setPermissions(path, kOwnerOnly)) {
        result.error = QStringLiteral("cannot restrict permissions of %1").arg(path);
        return result;
    }
    result.ok = true;
    return result;
}

Result appendBytesAt(const QString &path, const QByteArray &bytes, Options options)
{
    Result result;
    if (!makeParent(path, result))
        return result;
    QFile file(path);
    const bool ownerOnly = options.testFlag(Option::OwnerOnly);
    const bool opened = ownerOnly ? file.open(QIODevice::WriteOnly | QIODevice::Append, kOwnerOnly)
                                  : file.open(QIODevice::WriteOnly | QIODevice::Append);
    if (!opened) {
        result.error = file.errorString();
        return result;
    }
    if (ownerOnly && file.permissions() != kOwnerOnly && !file.setPermissions(kOwnerOnly)) {
        result.error = QStringLiteral("cannot restrict permissions of %1").arg(path);
        return result;
    }
    if (file.write(bytes) != bytes.size()) {
        result.error = file.errorString();
        return result;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
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
    if (!namePattern.contains(QLatin1Char('*')) && !namePattern.contains(QLatin1Char('?'))) {
        const QFileInfo info(pattern);
        return info.isFile() && QFile::remove(pattern) ? 1 : 0;
    }
    const QRegularExpression expression = wildcardExpression(namePattern);
    const QDir dir(folder);
    int removed = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (expression.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

bool isFileAt(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool removeAt(const QString &path)
{
    return isFileAt(path) && QFile::remove(path);
}

bool ensureFolderAt(const QString &path)
{
    return QFileInfo(path).isDir() || QDir().mkpath(path);
}

QByteArray linesBytes(const QStringList &lines)
{
    return Cp1251::encode(QString(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")));
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
    return Cp1251::decode(readBytes(programPath));
}
QString readAll(const Absolute &file)
{
    return Cp1251::decode(readBytes(file));
}

QStringList readLines(const QString &programPath)
{
    return splitLines(readAll(programPath));
}
QStringList readLines(const Absolute &file)
{
    return splitLines(readAll(file));
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
    qsizetype start = 0;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
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
    return writeBytesAt(filePath(programPath), Cp1251::encode(text), options);
}
Result writeAll(const Absolute &file, const QString &text, Options options)
{
    return writeBytesAt(file.path, Cp1251::encode(text), options);
}

Result writeLines(const QString &programPath, const QStringList &lines, Options options)
{
    return writeBytesAt(filePath(programPath), linesBytes(lines), options);
}
Result writeLines(const Absolute &file, const QStringList &lines, Options options)
{
    return writeBytesAt(file.path, linesBytes(lines), options);
}

Result append(const QString &programPath, const QString &text, Options options)
{
    return appendBytesAt(filePath(programPath), Cp1251::encode(text), options);
}
Result append(const Absolute &file, const QString &text, Options options)
{
    return appendBytesAt(file.path, Cp1251::encode(text), options);
}

Result appendLine(const QString &programPath, const QString &line, Options options)
{
    return appendBytesAt(filePath(programPath), Cp1251::encode(QString(line + QLatin1String("\r\n"))),
                         options);
}
Result appendLine(const Absolute &file, const QString &line, Options options)
{
    return appendBytesAt(file.path, Cp1251::encode(QString(line + QLatin1String("\r\n"))), options);
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
