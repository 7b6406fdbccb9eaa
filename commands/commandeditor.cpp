#include "commands/commandeditor.h"

#include "core/cp1251.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

namespace CommandEditor {

namespace {

const QString CrLf = QStringLiteral("\r\n");

Result failed(Outcome outcome, const QString &programPath)
{
    return {outcome, programPath.isEmpty() ? QString() : TextFile::filePath(programPath)};
}

// Writes the new text of a group file, refusing what the code page cannot hold.
Result writeGroupText(const QString &programPath, const QString &text)
{
    if (!Cp1251::canEncode(text))
        return failed(Outcome::NotEncodable, programPath);
    if (!TextFile::writeAll(programPath, text))
        return failed(Outcome::WriteFailed, programPath);
    return {};
}

// The text of a file the edit rewrites; a failure fills result.
std::optional<QString> textToEdit(const QString &group, QString &programPath, Result &result)
{
    programPath = groupFile(group);
    if (programPath.isEmpty()) {
        // A group name that cannot name a file (a path, a side file of the folder).
        result = {Outcome::WriteFailed, CommandBase::Folder + QLatin1Char('\\') + group + QStringLiteral(".txt")};
        return std::nullopt;
    }
    return readGroupText(group, &result);
}

} // namespace

Message messageFor(const Result &result)
{
    switch (result.outcome) {
    case Outcome::Done:
        return {};
    case Outcome::NotFound:
        return {ErrorTitle, NotFoundText};
    case Outcome::Unreadable:
        return {ErrorTitle, ReadFailedText + QLatin1Char('\n') + result.path};
    case Outcome::WriteFailed:
        return {ErrorTitle, WriteFailedText + QLatin1Char('\n') + result.path};
    case Outcome::NotEncodable:
        return {ErrorTitle, NotEncodableText};
    case Outcome::BadName:
        return {ErrorTitle, BadNameText};
    }
    return {};
}

QString toEditorText(const QString &fileText)
{
    QString text = fileText;
    text.replace(CrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromEditorText(const QString &editorText)
{
    QString text = editorText;
    // The text edit's own paragraph and line separators are line breaks too.
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    text.replace(CrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), CrLf);
    return text;
}

QStringList groupNames()
{
    QStringList names{CommandBase::CommonGroup};
    if (!TextFile::readAll(GroupListPath).isEmpty())
        names += TextFile::readLines(GroupListPath);
    return names;
}

bool groupListEmpty()
{
    return TextFile::readAll(GroupListPath).isEmpty();
}

QString groupFile(const QString &group)
{
    return CommandBase::groupFilePath(group);
}

bool isUsableName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'));
}

std::optional<QString> readGroupText(const QString &group, Result *failure)
{
    const QString path = groupFile(group);
    if (path.isEmpty())
        return QString();
    if (TextFile::readState(path) == TextFile::ReadState::Unreadable) {
        if (failure)
            *failure = failed(Outcome::Unreadable, path);
        return std::nullopt;
    }
    return TextFile::readAll(path);
}

QStringList commandNames(const QString &text)
{
    QStringList names;
    const QList<CommandBase::RecordSpan> spans = CommandBase::records(text);
    names.reserve(spans.size());
    for (const CommandBase::RecordSpan &span : spans)
        names.append(span.name);
    return names;
}

std::optional<QString> rawBody(const QString &text, const QString &name)
{
    const std::optional<CommandBase::RecordSpan> span = CommandBase::find(text, name);
    if (!span)
        return std::nullopt;
    return text.mid(span->bodyStart, span->bodyEnd - span->bodyStart);
}

Result addCommand(const QString &group, const QString &name, const QString &body)
{
    if (!isUsableName(name))
        return {Outcome::BadName, {}};
    QString path;
    Result result;
    const std::optional<QString> text = textToEdit(group, path, result);
    if (!text)
        return result;
    return writeGroupText(path, CommandBase::addRecord(*text, name, body));
}

Result changeCommand(const QString &group, const QString &name, const QString &body)
{
    if (!isUsableName(name))
        return {Outcome::BadName, {}};
    QString path;
    Result result;
    const std::optional<QString> text = textToEdit(group, path, result);
    if (!text)
        return result;
    const std::optional<QString> changed = CommandBase::changeRecord(*text, name, body);
    if (!changed)
        return failed(Outcome::NotFound, path);
    return writeGroupText(path, *changed);
}

Result deleteCommand(const QString &group, const QString &name)
{
    QString path;
    Result result;
    const std::optional<QString> text = textToEdit(group, path, result);
    if (!text)
        return result;
    const std::optional<QString> rest = CommandBase::removeRecord(*text, name);
    if (!rest)
        return failed(Outcome::NotFound, path);
    if (!rest->isEmpty())
        return writeGroupText(path, *rest);
    if (!TextFile::remove(path))
        return failed(Outcome::WriteFailed, path);
    return {};
}

CommandOptions loadOptions()
{
    return CommandOptions::load();
}

Result applyOptions(const CommandOptions &options)
{
    TextFile::ensureFolder(CommandBase::Folder);
    const QStringList lines{VbValues::printForm(options.upperCase ? 1 : 0),
                            options.joint ? QStringLiteral("1") : QStringLiteral("2"),
                            VbValues::printForm(options.trim ? 1 : 0)};
    if (!TextFile::writeLines(OptionsPath, lines))
        return failed(Outcome::WriteFailed, OptionsPath);
    return {};
}

QList<SearchRow> search(const QString &text)
{
    const auto holds = [&text](const QString &group) {
        const std::optional<QString> content = readGroupText(group);
        if (!content)
            return false;
        const QStringList names = commandNames(*content);
        for (const QString &name : names) {
            if (name.startsWith(text))
                return true;
        }
        return false;
    };
    QList<SearchRow> rows;
    if (holds(CommandBase::CommonGroup))
        rows.append({CommandBase::CommonGroup, text});
    const QStringList groups = groupNames().mid(1);
    for (const QString &group : groups) {
        if (holds(group)) {
            rows.append({group, text});
            break;
        }
    }
    return rows;
}

} // namespace CommandEditor

// --- the wizard ----------------------------------------------------------------------------

using namespace CommandEditor;
using CommandBase::AnswerKind;

namespace {

const QString LineEnd = QStringLiteral("\r\n");
const QString TypeFile = QStringLiteral("Тип: 1");
const QString TypeRecord = QStringLiteral("Тип: 2");
const QString CountPrefix = QStringLiteral("Сообщений: ");
const QString SeparatorEnd = QStringLiteral("**");

// Body lines from n (1-based) to the end, joined by CR LF.
QString bodyLinesFrom(const QString &body, int n)
{
    const QStringList lines = body.split(LineEnd);
    return lines.mid(n - 1).join(LineEnd);
}

} // namespace

CommandWizard::CommandWizard(QObject *parent)
    : QObject(parent)
{
}

void CommandWizard::startAdd(const QString &group)
{
    m_mode = Mode::Add;
    m_group = group;
    m_name.clear();
}

void CommandWizard::startChange(const QString &group, const QString &name)
{
    m_mode = Mode::Change;
    m_group = group;
    m_name = name;
}

QString CommandWizard::reservedNameRefusal(const QString &name)
{
    const QString upper = VbValues::upperCase(name);
    if (upper == QStringLiteral("ИНФОРМАЦИЯ О БОТЕ"))
        return QStringLiteral("Нельзя создать такую команду. Воспользуйтесь окном 'Информация о боте' в меню 'Команды'");
    if (upper == QStringLiteral("НАСТРОЙКИ") || upper == QStringLiteral("ГОЛОСОВАНИЕ"))
        return QStringLiteral("Нельзя создать такую команду.");
    if (upper.contains(QStringLiteral("!ПОГОДА")))
        return QStringLiteral("Нельзя создать такую команду. Используйте подбота погоды.");
    if (upper == QStringLiteral("!КВ"))
        return QStringLiteral("Нельзя создать такую команду. Используйте подбота курса валют.");
    if (upper.contains(QStringLiteral("!BASH")))
        return QStringLiteral("Нельзя создать такую команду. Используйте подбота BASH.");
    return {};
}

bool CommandWizard::nameTaken(const QString &group, const QString &name)
{
    if (const std::optional<QString> text = readGroupText(group)) {
        if (CommandBase::find(*text, name, CommandOptions::load().upperCase))
            return true;
    }
    if (!CommandBase::isUsableGroupName(group))
        return false;
    // The per-group-folder layout keeps an index of the group's command names.
    const QString index = CommandBase::Folder + QLatin1Char('\\') + group + QStringLiteral("\\Команды.txt");
    return TextFile::readLines(index).contains(name);
}

CommandWizard::Handover CommandWizard::handOver(const QString &group, const QString &name, bool overwrite) const
{
    return {m_mode, group, name, m_mode == Mode::Add && overwrite};
}

Result CommandWizard::deleteCommand(const QString &group, const QString &name)
{
    const Result result = CommandEditor::deleteCommand(group, name);
    if (result)
        Q_EMIT commandDeleted(group, name);
    return result;
}

CommandWizard::Answer CommandWizard::answerOf(const QString &body)
{
    Answer answer;
    answer.kind = CommandBase::kindOf(body);
    switch (answer.kind) {
    case AnswerKind::Text:
        answer.text = body;
        break;
    case AnswerKind::File:
        answer.path = CommandBase::bodyLine(body, 2);
        break;
    case AnswerKind::Program:
        answer.program = CommandBase::bodyLine(body, 2);
        answer.seconds = CommandBase::bodyLine(body, 3);
        answer.answerFile = CommandBase::bodyLine(body, 4);
        break;
    case AnswerKind::Download:
        answer.url = CommandBase::bodyLine(body, 2);
        break;
    case AnswerKind::Random: {
        answer.answersInRecord = CommandBase::bodyLine(body, 2) == TypeRecord;
        QString count = CommandBase::bodyLine(body, 3);
        if (count.startsWith(CountPrefix))
            count = count.mid(CountPrefix.size());
        answer.count = count;
        QString separator = CommandBase::bodyLine(body, 4);
        if (separator.endsWith(SeparatorEnd))
            separator.chop(SeparatorEnd.size());
        answer.separator = separator;
        if (answer.answersInRecord)
            answer.answers = bodyLinesFrom(body, 5);
        else
            answer.answersPath = CommandBase::bodyLine(body, 5);
        break;
    }
    }
    return answer;
}

std::optional<CommandWizard::Answer> CommandWizard::currentAnswer(const Handover &handover)
{
    const std::optional<QString> text = readGroupText(handover.group);
    if (!text)
        return std::nullopt;
    const std::optional<CommandBase::RecordSpan> span =
        CommandBase::find(*text, handover.name, handover.overwrite && CommandOptions::load().upperCase);
    if (!span)
        return std::nullopt;
    return answerOf(CommandBase::bodyOf(*text, *span));
}

QString CommandWizard::refusal(const Answer &answer)
{
    const auto forbidden = [](const QString &value) { return value.contains(CommandBase::Terminator); };
    switch (answer.kind) {
    case AnswerKind::Text:
        if (answer.text.isEmpty() || forbidden(answer.text))
            return EmptyOrForbiddenText;
        if (answer.text.contains(CommandBase::HeadPrefix))
            return HeadInTextText;
        return {};
    case AnswerKind::File:
        if (answer.path.isEmpty())
            return EmptyFieldText;
        return forbidden(answer.path) ? EmptyOrForbiddenText : QString();
    case AnswerKind::Program:
        if (answer.program.isEmpty() || answer.seconds.isEmpty() || answer.answerFile.isEmpty() ||
            !VbValues::isNumber(answer.seconds))
            return EmptyFieldText;
        if (forbidden(answer.program) || forbidden(answer.seconds) || forbidden(answer.answerFile))
            return EmptyOrForbiddenText;
        return {};
    case AnswerKind::Download:
        if (answer.url.isEmpty())
            return EmptyFieldText;
        return forbidden(answer.url) ? EmptyOrForbiddenText : QString();
    case AnswerKind::Random: {
        if (answer.separator.isEmpty())
            return NoSeparatorText;
        const std::optional<double> count = VbValues::toNumber(answer.count);
        if (!count)
            return CountLettersText;
        if (float(*count) < 1)
            return CountTooSmallText;
        if (forbidden(answer.separator))
            return SeparatorForbiddenText;
        const QString &source = answer.answersInRecord ? answer.answers : answer.answersPath;
        if (source.isEmpty())
            return SourceEmptyText;
        if (forbidden(source) || forbidden(answer.count))
            return EmptyOrForbiddenText;
        return {};
    }
    }
    return {};
}

QString CommandWizard::bodyOf(const Answer &answer)
{
    switch (answer.kind) {
    case AnswerKind::Text:
        return answer.text;
    case AnswerKind::File:
        return CommandBase::FileKind + LineEnd + answer.path;
    case AnswerKind::Program:
        return CommandBase::ProgramKind + LineEnd + answer.program + LineEnd + answer.seconds + LineEnd + answer.answerFile;
    case AnswerKind::Download:
        return CommandBase::DownloadKind + LineEnd + answer.url;
    case AnswerKind::Random:
        return CommandBase::RandomKind + LineEnd + (answer.answersInRecord ? TypeRecord : TypeFile) + LineEnd +
               CountPrefix + answer.count + LineEnd + answer.separator + SeparatorEnd + LineEnd +
               (answer.answersInRecord ? answer.answers : answer.answersPath);
    }
    return {};
}

Result CommandWizard::save(const Handover &handover, const Answer &answer)
{
    const QString &group = handover.group;
    const QString &name = handover.name;
    if (!isUsableName(name))
        return {Outcome::BadName, {}};
    const QString body = bodyOf(answer);
    if (handover.mode == Mode::Change) {
        const Result result = changeCommand(group, name, body);
        if (result)
            Q_EMIT commandChanged(group, name);
        return result;
    }
    if (handover.overwrite) {
        // The operator agreed to replace the command the group already holds.
        Result failure;
        const std::optional<QString> text = readGroupText(group, &failure);
        if (!text)
            return failure;
        if (const std::optional<CommandBase::RecordSpan> span =
                CommandBase::find(*text, name, CommandOptions::load().upperCase)) {
            const Result result = changeCommand(group, span->name, body);
            if (result)
                Q_EMIT commandChanged(group, span->name);
            return result;
        }
    }
    const Result result = addCommand(group, name, body);
    if (result)
        Q_EMIT commandAdded(group, name);
    return result;
}
