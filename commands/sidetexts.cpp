#include "commands/sidetexts.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString withoutFinalLineEnd(const QString &text)
{
    return text.endsWith(CrLf) ? text.chopped(CrLf.size()) : text;
}

} // namespace

namespace UnknownReply {

std::optional<QString> load()
{
    if (TextFile::readState(FilePath) != TextFile::ReadState::Readable)
        return std::nullopt;
    return withoutFinalLineEnd(TextFile::readAll(FilePath));
}

TextFile::Result save(const QString &text)
{
    return TextFile::writeAll(FilePath, text + CrLf);
}

} // namespace UnknownReply

namespace BotInfo {

Info load()
{
    Info info;
    const QString text = TextFile::readAll(FilePath);
    if (text.isEmpty())
        return info;
    const qsizetype lineEnd = text.indexOf(CrLf);
    const QString first = lineEnd < 0 ? text : text.left(lineEnd);
    info.visible = VbValues::holdsNumber(first, 1);
    if (lineEnd >= 0)
        info.text = withoutFinalLineEnd(text.mid(lineEnd + CrLf.size()));
    return info;
}

TextFile::Result save(const Info &info)
{
    return TextFile::writeAll(FilePath, (info.visible ? QStringLiteral("1") : QStringLiteral("0")) + CrLf +
                                            info.text + CrLf);
}

} // namespace BotInfo

namespace AdditionalCommands {

QString helpText()
{
    return QStringList{QStringLiteral("Чтобы пользователям можно было достаточно послать такую команду:"),
                       QString(),
                       QStringLiteral("!add название_команды добавочный_текст"),
                       QString(),
                       QStringLiteral("Пример: !add добавка я очень люблю эту функцию"),
                       QString(),
                       QStringLiteral("Эта функция работает только с обработчиком 'Случайный ответ'."),
                       QStringLiteral("Добавлять свои сообщения могут все!")}
        .join(CrLf);
}

QStringList entries()
{
    if (TextFile::readAll(FilePath).isEmpty())
        return {};
    return TextFile::readLines(FilePath);
}

QString entryOf(const QString &group, const QString &command)
{
    return group + QLatin1Char(' ') + command;
}

bool usable(const QString &group, const QString &command)
{
    const auto hasBlank = [](const QString &text) {
        for (const QChar c : text) {
            if (c.isSpace())
                return true;
        }
        return false;
    };
    return !group.isEmpty() && !command.isEmpty() && !hasBlank(group) && !hasBlank(command);
}

TextFile::Result add(const QString &group, const QString &command)
{
    const QString line = entryOf(group, command);
    // A list that is there but cannot be read is never started afresh over its entries.
    if (TextFile::readState(FilePath) == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("unreadable")};
    if (TextFile::readAll(FilePath).isEmpty())
        return TextFile::writeAll(FilePath, line + CrLf);
    return TextFile::appendLine(FilePath, line);
}

TextFile::Result remove(const QString &entry)
{
    if (TextFile::readState(FilePath) == TextFile::ReadState::Unreadable)
        return {false, QStringLiteral("unreadable")};
    if (TextFile::readAll(FilePath).isEmpty())
        return {true, {}};
    QString joined;
    for (const QString &line : TextFile::readLines(FilePath)) {
        if (line == entry)
            continue;
        if (joined.isEmpty())
            joined = line;
        else
            joined += CrLf + line;
    }
    return TextFile::writeAll(FilePath, joined + CrLf);
}

} // namespace AdditionalCommands

TextFile::Result AdditionalCommandsList::add(const QString &group, const QString &command)
{
    const TextFile::Result result = AdditionalCommands::add(group, command);
    // The list window shows what the file holds: an entry that was not written is not listed.
    if (result)
        Q_EMIT entryAdded(AdditionalCommands::entryOf(group, command));
    return result;
}

namespace HelpEmbedding {

namespace {
int g_kind = None;
}

int kind()
{
    return g_kind;
}

void setKind(int kind)
{
    g_kind = kind;
}

QString helpText(int kind)
{
    QStringList lines;
    if (kind == Notepad) {
        lines = {QStringLiteral("---Встроенная функция - Блокнот---"),
                 QStringLiteral("Чтобы воспользоваться блокнотом:"),
                 QStringLiteral("1) Для создания записи нужно выслать боту сообщения типа"),
                 QString(),
                 QStringLiteral("!блокнот_запись"),
                 QStringLiteral("само сообщение"),
                 QString(),
                 QStringLiteral("2) Для получения сохранённых записей нужно выслать боту: !блокнот")};
    } else if (kind == AdminContact) {
        lines = {QStringLiteral("---Встроенная функция - Связь с админом---"),
                 QStringLiteral("Чтобы связаться с админом:"),
                 QStringLiteral("Нужно выслать боту сообщения типа"),
                 QString(),
                 QStringLiteral("!админ само сообщение"),
                 QStringLiteral("Между !админ и самим сообщением должен быть пробел.")};
    } else {
        return {};
    }
    return CrLf + lines.join(CrLf);
}

CommandEditor::Result embed(const QString &group, const QString &command, int kind)
{
    const QString help = helpText(kind);
    const QString path = CommandEditor::groupFile(group);
    if (help.isEmpty() || command.isEmpty())
        return {CommandEditor::Outcome::NotFound, path};
    CommandEditor::Result failure;
    const std::optional<QString> text = CommandEditor::readGroupText(group, &failure);
    if (!text)
        return failure;
    const std::optional<QString> body = CommandEditor::rawBody(*text, command);
    if (!body)
        return {CommandEditor::Outcome::NotFound, path};
    return CommandEditor::changeCommand(group, command, *body + help);
}

} // namespace HelpEmbedding
