#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The administration page's edits of the staff role file (chat/chatreference.h owns its
// layout): the numbers of each role, adding one and removing one.
class ChatStaffEditor
{
public:
    enum class Role { Administrator, Moderator, Premoderator };
    enum class AddResult { Added, NotAccepted, Duplicate, Failed };

    static QString roleWord(Role role);

    // The numbers of the role in file order. A role word other than the administrator's
    // and the moderator's lists as premoderator.
    static QStringList numbers(Role role);

    // A typed number as it is stored: digits only (blanks around it ignored), 1 to
    // 2147483647, written without leading zeros. nullopt when not accepted.
    static std::optional<QString> acceptedNumber(const QString &typed);

    // Appends "role:number". Refused when the typed text is not accepted, or when a line
    // of any role already holds that number.
    static AddResult add(Role role, const QString &typed);

    // Drops every line (of any role) whose number is exactly this one; a file left
    // without entries holds one empty line. False when nothing was dropped.
    static bool remove(const QString &number);
};
