#pragma once

#include "core/textfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The command base: one file of command records per user group under "\Команды\",
// plus "\Команды\Общая.txt" for every sender. A record is
//   "Команда: " name CR LF
//   "Действие: " body (one or more lines)
//   "===="
// The editor windows, "!add" and the answer engine all go through this code.
namespace CommandBase {

inline const QString HeadPrefix = QStringLiteral("Команда: ");
inline const QString ActionPrefix = QStringLiteral("Действие: ");
inline const QString Terminator = QStringLiteral("====");
inline const QString CommonGroup = QStringLiteral("Общая");
inline const QString Folder = QStringLiteral("\\Команды");

// The first body line that selects how the answer is made, compared exactly.
inline const QString FileKind = QStringLiteral("'Ответ из файла'");
inline const QString DownloadKind = QStringLiteral("'Ответ из файла, скаченного из интернета'");
inline const QString ProgramKind = QStringLiteral("'Ответ из файла, генерирующегося программой'");
inline const QString RandomKind = QStringLiteral("'Случайный ответ'");

enum class AnswerKind { Text, File, Download, Program, Random };

// One record found in a file's text. Positions are 0-based indexes into that text.
struct RecordSpan
{
    qsizetype head = 0;      // the "К" of "Команда: "
    qsizetype bodyStart = 0; // the character after "Действие: "
    qsizetype bodyEnd = 0;   // the first "====" after the body
    QString name;
};

// Every terminated record in file order. A head counts only when the next line begins
// with "Действие: "; text inside a body never starts a record, and a head without a
// following "====" (a hand-edited file) is passed over.
QList<RecordSpan> records(const QString &text);

// The body of a record: the text between "Действие: " and "====", without the one
// CR LF that stands right before "====" (that line break is layout, not answer).
QString bodyOf(const QString &text, const RecordSpan &span);

// The first record whose whole name equals name; with upperCase both are compared
// upper-cased (ё as Ё). nullopt when none matches.
std::optional<RecordSpan> find(const QString &text, const QString &name, bool upperCase = false);
std::optional<QString> findBody(const QString &text, const QString &name, bool upperCase = false);

// The body's first line (up to the first CR LF, or the whole body).
QString kindLine(const QString &body);
AnswerKind kindOf(const QString &body);
// Body line n (1-based) as a whole line without its line break; empty when missing.
QString bodyLine(const QString &body, int n);

// --- files -----------------------------------------------------------------------------

// False for names that cannot name a group file: empty, holding a path separator, "."
// or "..", or one of the side files that share the folder ("Настройки", "Подпись"...).
bool isUsableGroupName(const QString &group);

// The program path of the group's file, the one lookup of every reader and writer (the
// answer engine, "!add", the editor windows): "\Команды\<group>.txt", or, when that file
// is missing, a file whose name differs only in letter case (data copied from Windows),
// so an edit lands where the engine reads. Empty for an unusable name.
QString groupFilePath(const QString &group);

// The text edits of the three operations; pure, for tests and for callers that hold
// the text already. change and remove give nullopt when the file must stay unchanged.
QString addRecord(const QString &text, const QString &name, const QString &body);
std::optional<QString> changeRecord(const QString &text, const QString &name, const QString &body);
// An empty result means the file is to be deleted.
std::optional<QString> removeRecord(const QString &text, const QString &name);

// The writers take the group's file by groupFilePath(); a file there that cannot be read
// is left alone and the write fails.
// ADD: appends a record to the group's file (created when missing).
TextFile::Result AddCommandRecord(const QString &group, const QString &name, const QString &body);
// CHANGE: replaces the body of the first record of that name. Fails when the file is
// missing or empty, holds no such record, or could not be written.
TextFile::Result ChangeCommandRecord(const QString &group, const QString &name, const QString &body);
// DELETE: removes the first record of that name; the file goes when nothing remains.
// Fails when no such record exists (the file is untouched), or the file could not be
// rewritten or deleted (reported in the log too).
TextFile::Result DeleteCommandRecord(const QString &group, const QString &name);

} // namespace CommandBase
