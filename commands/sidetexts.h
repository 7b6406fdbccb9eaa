#pragma once

#include "commands/commandeditor.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The small side files of the command base editor: the unknown-command reply, the bot
// information text, the list of commands open to "!add", and the help texts embedded
// into a command's answer. No widgets here.

namespace UnknownReply {

inline const QString &FilePath = UnknownCommand::FilePath;
// The box text when no reply is stored yet.
inline const QString DefaultText = QStringLiteral("Извините, но такой команды нет.");
inline const QString EmptyText = QStringLiteral("Текстовое поле пустое.");

// The text the editor shows: the whole file without the one CR LF that the save adds,
// so saving it unchanged writes the same bytes. nullopt when there is no file.
std::optional<QString> load();
// Writes text (CR LF line ends) followed by CR LF.
TextFile::Result save(const QString &text);

} // namespace UnknownReply

namespace BotInfo {

inline const QString &FilePath = BotInformation::FilePath;
inline const QString EmptyTitle = QStringLiteral("Предупреждение");
inline const QString EmptyText = QStringLiteral("Введите текст");

struct Info
{
    bool visible = false;
    QString text; // CR LF line ends
};

// Line 1 is the switch (a number compared with 1); the text is everything after the
// first line, shown whatever the switch says, without the CR LF that the save adds.
Info load();
// "1" or "0", CR LF, then the text and CR LF.
TextFile::Result save(const Info &info);

} // namespace BotInfo

namespace AdditionalCommands {

inline const QString FilePath = QStringLiteral("\\Команды\\Добавочные.txt");
inline const QString BlankRefusal = QStringLiteral(
    "Такую команду нельзя сделать добавочной: в названии группы или команды есть пробел.");
inline const QString HelpTitle = QStringLiteral("Справка");
QString helpText();

// Every line of the file in order, empty lines included; none for a missing or empty file.
QStringList entries();
// The entry line of a group and a command: the group, one blank, the command.
QString entryOf(const QString &group, const QString &command);
// True when the pair can make an entry that "!add" reads back: neither part empty and
// no blank in either.
bool usable(const QString &group, const QString &command);
// Appends the entry line (the file is created when missing). A file that is there but
// cannot be read is left alone and the add fails.
TextFile::Result add(const QString &group, const QString &command);
// Drops every line equal to entry; the remaining lines are joined again, empty lines
// before the first non-empty one dropped. Nothing is written for a missing or empty file;
// an unreadable one is left alone and the remove fails.
TextFile::Result remove(const QString &entry);

} // namespace AdditionalCommands

// The list window follows what the add window appends while both are open.
class AdditionalCommandsList : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // entryAdded follows a successful write only.
    TextFile::Result add(const QString &group, const QString &command);

Q_SIGNALS:
    void entryAdded(const QString &entry);
};

namespace HelpEmbedding {

// Which help the help embedding window writes: 1 the notepad, 2 the contact with the
// administrator; any other value writes nothing. The feature windows set it before
// they show the window, and every press of its button sets it back to 0.
enum Kind { None = 0, Notepad = 1, AdminContact = 2 };
int kind();
void setKind(int kind);

// The help text of a kind: a CR LF first, the lines joined by CR LF, nothing after the
// last line. Empty for an unknown kind.
QString helpText(int kind);

// Appends the help of kind to the body of the first record of command in the group's
// file, right before its "====". NotFound (nothing written) when the kind is unknown,
// the file is missing or empty, or no record has exactly that name.
CommandEditor::Result embed(const QString &group, const QString &command, int kind);

} // namespace HelpEmbedding
