#include "chat/chatstaffedit.h"

#include "chat/chatreference.h"
#include "core/textfile.h"

QString ChatStaffEditor::roleWord(Role role)
{
    switch (role) {
    case Role::Administrator:
        return ChatStaff::Administrator;
    case Role::Moderator:
        return ChatStaff::Moderator;
    case Role::Premoderator:
        break;
    }
    return ChatStaff::Premoderator;
}

QStringList ChatStaffEditor::numbers(Role role)
{
    QStringList result;
    for (const ChatStaff::Entry &entry : ChatStaff::entries()) {
        Role listed = Role::Premoderator;
        if (entry.role == ChatStaff::Administrator)
            listed = Role::Administrator;
        else if (entry.role == ChatStaff::Moderator)
            listed = Role::Moderator;
        if (listed == role)
            result.append(entry.uin);
    }
    return result;
}

std::optional<QString> ChatStaffEditor::acceptedNumber(const QString &typed)
{
    const QString digits = typed.trimmed();
    if (digits.isEmpty() || digits.size() > 12)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const qlonglong value = digits.toLongLong();
    if (value < 1 || value > 2147483647LL)
        return std::nullopt;
    return QString::number(value);
}

ChatStaffEditor::AddResult ChatStaffEditor::add(Role role, const QString &typed)
{
    const std::optional<QString> number = acceptedNumber(typed);
    if (!number)
        return AddResult::NotAccepted;
    for (const ChatStaff::Entry &entry : ChatStaff::entries()) {
        if (entry.uin == *number)
            return AddResult::Duplicate;
    }
    const QString line = roleWord(role) + QLatin1Char(':') + *number;
    return TextFile::appendLine(ChatStaff::FilePath, line) ? AddResult::Added : AddResult::Failed;
}

bool ChatStaffEditor::remove(const QString &number)
{
    if (number.isEmpty())
        return false;
    const QStringList lines = TextFile::readLines(ChatStaff::FilePath);
    if (lines.isEmpty())
        return false;
    QStringList kept;
    bool dropped = false;
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        const QString lineNumber = colon < 0 ? line : line.mid(colon + 1);
        if (lineNumber == number)
            dropped = true;
        else if (!line.isEmpty())
            kept.append(line);
    }
    if (!dropped)
        return false;
    return bool(TextFile::writeLines(ChatStaff::FilePath, kept));
}
