#include "engine/additionalanswers.h"

#include "commands/commandbase.h"
#include "core/textfile.h"

#include <QDir>

using CommandBase::ActionPrefix;
using CommandBase::HeadPrefix;
using CommandBase::Terminator;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// An answers file named in a record: an absolute path stands as it is, anything else is
// a path inside the program folder (the engine reads it the same way).
TextFile::Result appendToNamedFile(const QString &path, const QString &text)
{
    if (path.isEmpty())
        return {false, QStringLiteral("no answers file")};
    if (QDir::isAbsolutePath(path) && path.startsWith(QLatin1Char('/')))
        return TextFile::append(TextFile::Absolute{path}, text);
    return TextFile::append(path, text);
}

QString labelValue(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : line.mid(blank + 1);
}

} // namespace

StageOutcome AdditionalAnswers::AddAnswerVariant(MessageState &state)
{
    const QString &message = state.MessageText;
    const qsizetype blank = message.indexOf(QLatin1Char(' '));
    if (blank < 0 || message.left(blank) != Word)
        return StageOutcome::Continue;
    const QString rest = message.mid(blank + 1);
    const qsizetype nameEnd = rest.indexOf(QLatin1Char(' '));
    // A name without a text adds nothing.
    if (nameEnd < 0)
        return StageOutcome::Stop;
    const QString command = rest.left(nameEnd);
    const QString text = rest.mid(nameEnd + 1);
    if (!acceptable(text))
        return StageOutcome::Stop;

    const QStringList listed = TextFile::readLines(ListPath);
    for (const QString &line : listed) {
        const qsizetype split = line.indexOf(QLatin1Char(' '));
        if (split < 0 || line.mid(split + 1) != command)
            continue;
        addToGroup(line.left(split), command, text);
    }
    return StageOutcome::Stop;
}

bool AdditionalAnswers::acceptable(const QString &text)
{
    // An added answer must stay one answer: nothing in it may end the record or start another.
    if (text.isEmpty() || text.contains(Terminator))
        return false;
    const QStringList lines = TextFile::splitLines(text);
    for (const QString &line : lines) {
        if (line.startsWith(HeadPrefix) || line.startsWith(ActionPrefix))
            return false;
    }
    return true;
}

bool AdditionalAnswers::addToGroup(const QString &group, const QString &command, const QString &text)
{
    if (!acceptable(text))
        return false;
    const QString path = CommandBase::groupFilePath(group);
    if (path.isEmpty())
        return false;
    const QString file = TextFile::readAll(path);
    const std::optional<CommandBase::RecordSpan> span = CommandBase::find(file, command);
    if (!span)
        return false;
    const QString body = CommandBase::bodyOf(file, *span);
    if (CommandBase::kindOf(body) != CommandBase::AnswerKind::Random)
        return false;

    const QString type = labelValue(CommandBase::bodyLine(body, 2));
    const QString separatorLine = CommandBase::bodyLine(body, 4);
    const qsizetype stars = separatorLine.indexOf(QStringLiteral("**"));
    const QString separator = stars < 0 ? separatorLine : separatorLine.left(stars);
    if (separator.isEmpty() || text.contains(separator))
        return false;

    if (type == QLatin1String("1"))
        return appendToNamedFile(CommandBase::bodyLine(body, 5), text + CrLf + separator + CrLf).ok;

    // The answer goes right after the body, before the record's own line break and "====".
    const qsizetype at = span->bodyStart + body.size();
    const QString changed = file.left(at) + CrLf + text + CrLf + separator + file.mid(at);
    return TextFile::writeAll(path, changed).ok;
}
