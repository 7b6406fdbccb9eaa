#pragma once

#include "commands/commandbase.h"
#include "commands/commandsettings.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The file logic of the command base editor windows: the command manager, the command
// wizard with its answer pages, and the command search. Every record is found through
// CommandBase, by its whole head line, as the answer engine finds it. No widgets here.
namespace CommandEditor {

inline const QString ErrorTitle = QStringLiteral("Ошибка");
inline const QString NotFoundText = QStringLiteral("Команда не найдена.");
inline const QString WriteFailedText = QStringLiteral("Не удалось записать файл:");
inline const QString ReadFailedText = QStringLiteral("Не удалось прочитать файл:");
inline const QString NotEncodableText =
    QStringLiteral("Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.");
inline const QString BadNameText =
    QStringLiteral("Название команды не может быть пустым или содержать переход на новую строку.");
inline const QString GroupListPath = QStringLiteral("\\Группы\\Все группы.txt");

enum class Outcome {
    Done,
    NotFound,     // no record of that name, or the file is missing or empty
    Unreadable,   // the file is there but cannot be read
    WriteFailed,  // the rewrite (or the deletion) failed; the old file stays
    NotEncodable, // the new text holds characters Windows-1251 has no byte for
    BadName,      // the name is empty or holds a line break: no record could be found by it
};

struct Result
{
    Outcome outcome = Outcome::Done;
    QString path; // the file's path on disk, for the message
    explicit operator bool() const { return outcome == Outcome::Done; }
};

// The box a failed result shows: title and text; empty text for Done.
struct Message
{
    QString title;
    QString text;
};
Message messageFor(const Result &result);

// Multi-line boxes hold '\n'; files hold CR LF. A bare LF or CR in a file shows as a
// line break and is saved as CR LF.
QString toEditorText(const QString &fileText);
QString fromEditorText(const QString &editorText);

// "Общая" first, then the lines of the group list as they stand (empty lines too).
QStringList groupNames();
// True when the group list is empty or missing.
bool groupListEmpty();

// The program path of the group's command file, found as the answer engine finds it
// (CommandBase::groupFilePath: a file whose name differs only in letter case stands in
// for a missing "\Команды\<group>.txt"); empty for a name that cannot name a group file.
QString groupFile(const QString &group);

// True for a name a record can hold: not empty, one line.
bool isUsableName(const QString &name);

// The whole text of the group's file; nullopt (and the path in result) when the file
// is there and cannot be read. A missing file is an empty text.
std::optional<QString> readGroupText(const QString &group, Result *failure = nullptr);

// The names of the records of a text, in file order, duplicates included. A head that
// stands inside an answer is no record and gives no name.
QStringList commandNames(const QString &text);

// The body of the first record of that name as it stands in the file: everything
// between "Действие: " and "====", a final CR LF included, so writing it back
// unchanged gives the same record.
std::optional<QString> rawBody(const QString &text, const QString &name);

// The three edits, each over the group's whole file; a name isUsableName() refuses is
// never written (BadName).
Result addCommand(const QString &group, const QString &name, const QString &body);
Result changeCommand(const QString &group, const QString &name, const QString &body);
// The file goes when the record was its only content.
Result deleteCommand(const QString &group, const QString &name);

// --- the command manager ---------------------------------------------------------------

inline const QString OptionsPath = CommandOptions::FilePath;
// Reads the three options; a missing or empty file is written with the defaults.
CommandOptions loadOptions();
// "Применить": the three lines " 0 "/" 1 ", "1"/"2", " 0 "/" 1 ".
Result applyOptions(const CommandOptions &options);

// --- the command search ----------------------------------------------------------------

struct SearchRow
{
    QString group;
    QString command; // the search text as typed
};
// "Общая" when one of its commands begins with text, then the first group of the group
// list, in list order, that holds such a command: at most two rows.
QList<SearchRow> search(const QString &text);

} // namespace CommandEditor

// The command wizard: its mode, the name and group handed from step 1 to step 2, the
// checks of step 1 and of the five answer pages, and the writes. One instance serves
// every editor window; its signals tell the windows whose lists show a group of what
// changed in that group.
class CommandWizard : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Add, Change };

    // What step 1 hands to step 2: the page that shows it writes this command, whatever
    // later entries of the wizard choose meanwhile.
    struct Handover
    {
        Mode mode = Mode::Add;
        QString group;
        QString name;
        bool overwrite = false; // add mode: the operator agreed to replace that command
    };

    static inline const QString DeleteErrorTitle = QStringLiteral("Ошибка удаления команды");
    static inline const QString NoSuchCommandText = QStringLiteral("Такой команды нет");
    static inline const QString WarningTitle = QStringLiteral("Предупреждение");
    static inline const QString OverwriteTitle = QStringLiteral("Перезаписать файл");
    static inline const QString OverwriteText = QStringLiteral("Такая команда уже есть. Хотите переписать?");
    static inline const QString EmptyOrForbiddenText = QStringLiteral(
        "Текстовое поле либо пустое, либо содержит запрщённую комбинацию символов - '====' (без кавычек)");
    static inline const QString HeadInTextText =
        QStringLiteral("Текст ответа не должен содержать 'Команда: ' (без кавычек)");
    static inline const QString EmptyFieldText = QStringLiteral("Текстовое поле либо пустое");
    static inline const QString NoSeparatorText = QStringLiteral("Вы не указали разделители");
    static inline const QString CountLettersText =
        QStringLiteral("В поле 'Кол-во посылаемых ответов' не может быть букв.");
    static inline const QString CountTooSmallText = QStringLiteral("Вы указали малое кол-во посылаемых ответов");
    static inline const QString SeparatorForbiddenText =
        QStringLiteral("В текстовом поле разделителя есть запрещающая комбинация - '====' (без кавычек)");
    static inline const QString SourceEmptyText = QStringLiteral("Нужные текстовые поля не заполнены");

    // The values of the five pages. Multi-line values hold CR LF.
    struct Answer
    {
        CommandBase::AnswerKind kind = CommandBase::AnswerKind::Text;
        QString text;       // text page
        QString path;       // file page
        QString program;    // program page: command line
        QString seconds;    //               seconds to wait
        QString answerFile; //               the file the program writes
        QString url;        // download page
        bool answersInRecord = false; // random page: "Тип: 2"
        QString count = QStringLiteral("1");
        QString separator;
        QString answersPath;
        QString answers;
    };

    explicit CommandWizard(QObject *parent = nullptr);

    // The entries of the two modes.
    void startAdd(const QString &group);
    void startChange(const QString &group, const QString &name);

    Mode mode() const { return m_mode; }
    QString commandName() const { return m_name; }
    QString groupName() const { return m_group; }

    // Step 1: the box text when the name belongs to a built-in function, else empty.
    static QString reservedNameRefusal(const QString &name);
    // Step 1 in add mode: true when the group already holds a command of that name (in
    // its command file, with the letter-case option, or in its per-group-folder index),
    // so the operator is asked before going on.
    static bool nameTaken(const QString &group, const QString &name);
    // Step 1's hand-over to step 2, in the mode of the last entry. overwrite: the
    // operator agreed to replace a command of that name, so the page changes its record
    // instead of adding a second one.
    Handover handOver(const QString &group, const QString &name, bool overwrite) const;

    // Step 1 in change mode with the delete option.
    CommandEditor::Result deleteCommand(const QString &group, const QString &name);

    // The values of the handed-over record, for the pages in change mode; nullopt when
    // the group file holds no such record.
    static std::optional<Answer> currentAnswer(const Handover &handover);
    static Answer answerOf(const QString &body);

    // A page's check: the refusal text, or empty when the values may be saved.
    static QString refusal(const Answer &answer);
    // The body a page writes: the kind literal and the values joined by CR LF.
    static QString bodyOf(const Answer &answer);

    // A page's "Сохранить команду": adds the handed-over record in add mode (or changes
    // the one of that name when overwriting), changes it in change mode.
    CommandEditor::Result save(const Handover &handover, const Answer &answer);

Q_SIGNALS:
    void commandAdded(const QString &group, const QString &name);
    void commandChanged(const QString &group, const QString &name);
    void commandDeleted(const QString &group, const QString &name);
    // A group was added to or deleted from the group list.
    void groupListChanged();

private:
    Mode m_mode = Mode::Add;
    QString m_name;
    QString m_group;
};
