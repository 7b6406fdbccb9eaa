#pragma once

#include <QList>
#include <QString>

class ChatService;

// The rooms page: every room with the number of its members, adding and deleting
// rooms through the chat service (so every window hears of it).
class ChatRoomsEditor
{
public:
    struct Row
    {
        QString number;
        QString name;
        int members = 0;
    };
    enum class AddResult { Added, BadInput, InUse, Failed };

    // The common room first, then the listed rooms in file order.
    static QList<Row> rows();

    // A valid room number that is not 0 (in any spelling) and a name that is not blank.
    static AddResult add(ChatService &service, const QString &number, const QString &name);

    // Takes a listed room off the room list; the common room and an empty number are
    // never removed.
    static bool remove(ChatService &service, const QString &number);
};
