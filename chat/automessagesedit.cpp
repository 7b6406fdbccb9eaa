#include "chat/automessagesedit.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

AutoMessagesEditor::AutoMessagesEditor(QObject *parent)
    : QObject(parent)
{}

AutoMessagesEditor::Page AutoMessagesEditor::read()
{
    Page page;
    if (!AutoMessages::hasText())
        return page;
    const AutoMessages::File file = AutoMessages::read();
    page.hasText = true;
    page.interval = file.intervalLine;
    page.random = file.random();
    int id = 0;
    for (const QString &line : file.entries)
        page.rows.append(Row{++id, line, AutoMessages::Entry::parse(line)});
    return page;
}

std::optional<int> AutoMessagesEditor::acceptedInterval(const QString &typed)
{
    bool ok = false;
    const int seconds = typed.trimmed().toInt(&ok);
    if (!ok || seconds < AutoMessages::MinInterval || seconds > AutoMessages::MaxInterval)
        return std::nullopt;
    return seconds;
}

QStringList AutoMessagesEditor::entriesBeforeGap(const QStringList &entries)
{
    QStringList kept;
    for (const QString &line : entries) {
        if (line.isEmpty())
            break;
        kept.append(line);
    }
    return kept;
}

bool AutoMessagesEditor::write(const QString &interval, const QString &random, const QStringList &entries)
{
    const bool ok = AutoMessages::write(interval, random, entries);
    emit changed();
    return ok;
}

bool AutoMessagesEditor::apply(const QString &interval, bool random)
{
    const AutoMessages::File file = AutoMessages::read();
    QString line1 = interval.trimmed();
    if (!acceptedInterval(line1))
        line1 = acceptedInterval(file.intervalLine) ? file.intervalLine : DefaultInterval;
    return write(line1, VbValues::printForm(random ? 1 : 0), entriesBeforeGap(file.entries));
}

AutoMessagesEditor::AddResult AutoMessagesEditor::add(const QString &text, const QString &count,
                                                      const QString &direction)
{
    if (text.isEmpty())
        return AddResult::Empty;
    const QString &separator = AutoMessages::FieldSeparator;
    for (const QString *field : {&text, &count, &direction}) {
        if (field->contains(separator) || field->contains(QLatin1Char('\r')) ||
            field->contains(QLatin1Char('\n')))
            return AddResult::Forbidden;
    }
    const AutoMessages::File file = AutoMessages::read();
    QStringList entries = entriesBeforeGap(file.entries);
    entries.append(text + separator + count + separator + direction);
    return write(file.intervalLine, file.randomLine, entries) ? AddResult::Added : AddResult::Failed;
}

AutoMessagesEditor::RemoveResult AutoMessagesEditor::remove(int id, const QString &shownLine)
{
    const AutoMessages::File file = AutoMessages::read();
    if (id < 1 || id > file.entries.size() || file.entries.at(id - 1) != shownLine) {
        emit changed();
        return RemoveResult::Stale;
    }
    QStringList entries = file.entries;
    entries.removeAt(id - 1);
    return write(file.intervalLine, file.randomLine, entries) ? RemoveResult::Removed : RemoveResult::Failed;
}
