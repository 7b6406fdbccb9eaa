#pragma once

#include "core/storage.h"

#include <QByteArray>
#include <QFlags>
#include <QString>
#include <QStringList>

#include <optional>

// Text files of the program: bytes on disk are Windows-1251 with CR LF line ends,
// read and written in binary mode so every byte survives; inside, everything is QString.
//
// Paths: every function takes a program path such as "\\Логи\\логи.txt" (backslashes,
// the leading one optional), resolved by ProgramFolder::path(). A file outside the
// program folder (a sound or answer file the operator picked) is named by wrapping its
// real path in TextFile::Absolute{path}; such a path is used as it is.
//
// Failures: a missing or unreadable file reads as empty text; readState() tells them
// apart, and an unreadable file is reported once and never rewritten as if empty.
// Writers return a Result with the reason (a failure is also reported once per file and
// kind through Storage's reporter); callers that follow the skip-on-failure rule may
// ignore it.
//
// Everything goes through the storage layer (core/storage.h): reads are served from
// memory while the file is unchanged on disk.
namespace TextFile {

struct Absolute
{
    QString path;
};

enum class Option {
    None = 0x0,
    // rw------- (0600): for files that hold passwords. Applied when the file is
    // created and again on every rewrite or append, so an older file is tightened too.
    OwnerOnly = 0x1,
    // A rewrite that keeps the lines of the file it replaces, dropping or changing only
    // entries the program owns: a line already reported as bad (see reportBadLine()) is
    // no news in the new version. An append always keeps them.
    KeepsLines = 0x2,
};
Q_DECLARE_FLAGS(Options, Option)

struct Result
{
    bool ok = false;
    QString error; // empty on success
    explicit operator bool() const { return ok; }
};

// The file-system path of a program path (same as ProgramFolder::path()).
QString filePath(const QString &programPath);
inline QString filePath(const Absolute &file)
{
    return file.path;
}

// --- reading -------------------------------------------------------------------------

using ReadState = Storage::ReadState; // Missing, Readable, Unreadable
ReadState readState(const QString &programPath);
ReadState readState(const Absolute &file);

// The whole file decoded from Windows-1251, CR LF kept. Missing/unreadable: empty.
// A file written on Linux reads too: UTF-8 (a BOM, or valid multi-byte sequences) is
// decoded as UTF-8, and bare LF line ends read as CR LF.
QString readAll(const QString &programPath);
QString readAll(const Absolute &file);
// The raw bytes. Missing/unreadable: empty.
QByteArray readBytes(const QString &programPath);
QByteArray readBytes(const Absolute &file);

// The file's lines as VB's Line Input loop gives them, see splitLines().
QStringList readLines(const QString &programPath);
QStringList readLines(const Absolute &file);
// The first line (empty when the file is missing or empty).
QString firstLine(const QString &programPath);
QString firstLine(const Absolute &file);

// Splits text into lines: CR LF, a bare LF and a bare CR each end a line. A final line
// end does not start another line; an unended last line is a line.
//   ""            -> []            "a"           -> ["a"]
//   "a\r\n"       -> ["a"]         "a\r\nb"      -> ["a", "b"]
//   "\r\n"        -> [""]          "a\r\n\r\n"   -> ["a", ""]
//   "a\nb\r\n"    -> ["a", "b"]    "a\r\r\n"     -> ["a", ""]
QStringList splitLines(const QString &text);
// The same lines as views into text (nothing copied).
QList<QStringView> splitLineViews(QStringView text);
// Where needle first stands in text at or after from, -1 when nowhere: QStringView::indexOf
// for the short separators the files use, which looks for the needle's first character
// with the library's vector search and so walks a line of megabytes without that
// character at memory speed.
qsizetype find(QStringView text, QStringView needle, qsizetype from = 0);

// What a parser made of a file's text (QString) or lines (QStringList), made again only
// when the reader hands over another one. While a file is unchanged the storage layer
// hands out the same shared text and lines, and shared data is never changed in place:
// a source shared with the one parsed last is that same source. Files asked for on
// every message keep one of these (thread_local) beside their reader:
//   thread_local TextFile::PerVersion<QStringList, QHash<QString, QString>> index;
//   const auto &groups = index.of(readLines(FilePath), [](const QStringList &lines) {...});
template<typename Source, typename Parsed>
class PerVersion
{
public:
    template<typename Parse>
    const Parsed &of(const Source &source, Parse parse)
    {
        if (!m_parsed || !source.isSharedWith(m_source)) {
            m_parsed = parse(source);
            // A source nobody else holds changes or goes with its owner: not kept.
            m_source = source.isDetached() ? Source() : source;
        }
        return *m_parsed;
    }

private:
    Source m_source;
    std::optional<Parsed> m_parsed;
};

// --- writing -------------------------------------------------------------------------
// Every writer creates the missing parent folders first (mkpath). A rewrite is atomic
// (QSaveFile): when it fails the old file stays as it was.

// Replaces the file with text encoded as Windows-1251 (no line end is added). A file
// that was read as UTF-8 stays UTF-8 when text holds a character 1251 lacks.
Result writeAll(const QString &programPath, const QString &text, Options options = {});
Result writeAll(const Absolute &file, const QString &text, Options options = {});
Result writeBytes(const QString &programPath, const QByteArray &bytes, Options options = {});
Result writeBytes(const Absolute &file, const QByteArray &bytes, Options options = {});

// A list file's rewrite: lines joined by CR LF, then one CR LF. An empty list
// writes a single empty line ("\r\n"); delete the file with remove() where that file wants it gone.
Result writeLines(const QString &programPath, const QStringList &lines, Options options = {});
Result writeLines(const Absolute &file, const QStringList &lines, Options options = {});

// Appends text as it is (creates the file when missing), whole or not at all: a short
// write leaves the file as it was. Before text that ends with a line end, a last line
// without its line end (a hand edit) is ended first, unless text begins with one; a
// UTF-8 file gets UTF-8.
Result append(const QString &programPath, const QString &text, Options options = {});
Result append(const Absolute &file, const QString &text, Options options = {});
// Appends line followed by CR LF, as VB's Print # does.
Result appendLine(const QString &programPath, const QString &line, Options options = {});
Result appendLine(const Absolute &file, const QString &line, Options options = {});
// appendLine() for records that grow per message: written with the lines added to the
// same file meanwhile in one write, before any read or write of the file, at the
// background tick or at exit (see Storage::appendLater()).
void appendLineLater(const QString &programPath, const QString &line, Options options = {});

// --- lines a parser cannot take ----------------------------------------------------
// A parser that skips a line it cannot take (binary bytes, a line far too long,
// separators missing, a number that is not one) calls reportBadLine(). The operator
// hears of it once per version of the file, in the log and a non-blocking box naming
// the file and the line; calling it again for the same version, for this or another
// line, says nothing more, so a parser may call it for every bad line of every read.
//   if (!number)
//       TextFile::reportBadLine(FilePath, n + 1, TextFile::notANumber(field));
// lineNumber counts from 1; why is a short Russian text for the operator.
void reportBadLine(const QString &programPath, int lineNumber, const QString &why);
void reportBadLine(const Absolute &file, int lineNumber, const QString &why);
// reportBadLine() with the line's own trouble (see lineTrouble()) when it has one, else why.
void reportSkippedLine(const QString &programPath, int lineNumber, QStringView line, const QString &why);

// Lines of list files are short; anything longer is not a record.
inline constexpr qsizetype MaxRecordLength = 4096;
// Why a line cannot be a record at all: binary bytes (control characters other than
// a tab) or more than maxLength characters. Empty when neither.
QString lineTrouble(QStringView line, qsizetype maxLength = MaxRecordLength);
// The texts for the other common troubles.
QString notANumber(QStringView field);
QString missingSeparator(QStringView separator);

// --- files and folders ---------------------------------------------------------------

// True when a regular file (not a folder) exists there.
bool exists(const QString &programPath);
bool exists(const Absolute &file);
bool folderExists(const QString &programPath);

// Deletes one file; true when a file was deleted (false when missing or not deletable).
bool remove(const QString &programPath);
bool remove(const Absolute &file);

// VB's Kill: the last path component may hold the wildcards '*' (any run of characters)
// and '?' (one character); a trailing ".*" also matches names without a dot ("*.*" is
// every file). Matching ignores letter case, as on the platform the data folders come from. Only regular
// files in that one folder are deleted, never folders. Returns how many were deleted.
// A pattern without wildcards deletes that one file.
int removeMatching(const QString &programPattern);
int removeMatching(const Absolute &pattern);

// Creates the folder and its parents; true when it exists afterwards.
bool ensureFolder(const QString &programPath);
bool ensureFolder(const Absolute &folder);

} // namespace TextFile

Q_DECLARE_OPERATORS_FOR_FLAGS(TextFile::Options)
