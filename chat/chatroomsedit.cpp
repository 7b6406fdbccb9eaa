#include "chat/chatroomsedit.h"

#include "chat/chatfiles.h"
#include "chat/chatservice.h"

#include <QSet>

QList<ChatRoomsEditor::Row> ChatRoomsEditor::rows()
{
    // Only a room with a members file has members: one look at the folder, not a read
    // per listed room (a hand-edited list may hold thousands).
    const QStringList occupied = RoomMembers::rooms();
    const QSet<QString> withMembers(occupied.cbegin(), occupied.cend());
    const auto members = [&withMembers](const QString &room) {
        return withMembers.contains(room) ? RoomMembers::count(room) : 0;
    };
    const QList<Room> rooms = RoomList::rooms();
    QList<Row> rows;
    rows.reserve(rooms.size() + 1);
    rows.append(Row{RoomNumber::Common, RoomNumber::CommonName, members(RoomNumber::Common)});
    for (const Room &room : rooms) {
        if (room.name.isEmpty())
            continue;
        rows.append(Row{room.number, room.name, members(room.number)});
    }
    return rows;
}

namespace {
bool isZero(const QString &number)
{
    QString text = number;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value == 0.0;
}
} // namespace

ChatRoomsEditor::AddResult ChatRoomsEditor::add(ChatService &service, const QString &number,
                                                const QString &name)
{
    if (!RoomNumber::isValid(number) || isZero(number) || name.trimmed().isEmpty())
        return AddResult::BadInput;
    if (RoomList::find(number))
        return AddResult::InUse;
    return service.addRoom(Room{number, name}) ? AddResult::Added : AddResult::Failed;
}

bool ChatRoomsEditor::remove(ChatService &service, const QString &number)
{
    if (number.isEmpty() || number == RoomNumber::Common)
        return false;
    return service.removeRoom(number);
}
