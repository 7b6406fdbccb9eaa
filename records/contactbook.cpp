#include "records/contactbook.h"

#include "core/cp1251.h"
#include "core/listfile.h"
#include "core/textfile.h"

Contact Contact::fromFields(const QStringList &fields)
{
    const auto at = [&fields](int i) { return i < fields.size() ? fields.at(i) : QString(); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
}

Contact Contact::fromLine(const QString &line)
{
    QStringList fields;
    qsizetype from = 0;
    for (int k = 0; k < FieldCount - 1; ++k) {
        const qsizetype at = TextFile::find(line, ListFile::Separator, from);
        if (at < 0)
            break;
        fields.append(line.mid(from, at - from));
        from = at + ListFile::Separator.size();
    }
    fields.append(line.mid(from));
    return fromFields(fields);
}

QString Contact::line() const
{
    return fields().join(ListFile::Separator);
}

ContactBook::ContactBook(QObject *parent)
    : QObject(parent)
{}

QList<ContactEntry> ContactBook::entries()
{
    QList<ContactEntry> result;
    const QStringList lines = TextFile::readLines(FilePath);
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            result.append({i + 1, Contact::fromLine(lines.at(i))});
    }
    return result;
}

bool ContactBook::isStorable(const Contact &contact)
{
    for (const QString &field : contact.fields()) {
        if (!ListFile::canHoldField(field) || field.contains(QLatin1Char('\r')) ||
            field.contains(QLatin1Char('\n')) || !Cp1251::canEncode(field))
            return false;
    }
    return true;
}

ContactBook::Result ContactBook::add(const Contact &contact)
{
    if (!isStorable(contact))
        return Result::InvalidField;
    for (const ContactEntry &entry : entries()) {
        if (entry.contact.fio == contact.fio && entry.contact.uin == contact.uin)
            return Result::Duplicate;
    }
    if (!TextFile::appendLine(FilePath, contact.line()))
        return Result::WriteFailed;
    emit changed();
    return Result::Done;
}

ContactBook::Result ContactBook::change(int line, const Contact &original, const Contact &updated)
{
    if (!isStorable(updated))
        return Result::InvalidField;
    QStringList lines = TextFile::readLines(FilePath);
    if (line < 1 || line > lines.size() || lines.at(line - 1).isEmpty() ||
        Contact::fromLine(lines.at(line - 1)) != original) {
        // Changed behind the window's back: whoever shows the book reads it again.
        emit changed();
        return Result::Moved;
    }
    lines[line - 1] = updated.line();
    if (!TextFile::writeLines(FilePath, lines))
        return Result::WriteFailed;
    emit changed();
    return Result::Done;
}

ContactBook::Result ContactBook::remove(int line, const Contact &contact)
{
    const QStringList lines = TextFile::readLines(FilePath);
    if (line < 1 || line > lines.size() || lines.at(line - 1).isEmpty() ||
        Contact::fromLine(lines.at(line - 1)) != contact) {
        emit changed();
        return Result::Moved;
    }
    QStringList kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (i != line - 1 && !lines.at(i).isEmpty())
            kept.append(lines.at(i));
    }
    const bool ok = kept.isEmpty() ? (TextFile::remove(FilePath) || !TextFile::exists(FilePath))
                                   : bool(TextFile::writeLines(FilePath, kept));
    if (!ok)
        return Result::WriteFailed;
    emit changed();
    return Result::Done;
}

std::optional<ContactEntry> ContactBook::find(const QString &text, Key key, int afterLine)
{
    for (const ContactEntry &entry : entries()) {
        if (entry.line <= afterLine)
            continue;
        const QString &field = key == Key::Fio ? entry.contact.fio : entry.contact.uin;
        if (field == text)
            return entry;
    }
    return std::nullopt;
}
