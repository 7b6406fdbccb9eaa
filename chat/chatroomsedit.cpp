#include "chat/chatroomsedit.h"

#include "chat/chatfiles.h"
#include "chat/chatservice.h"

QList<ChatRoomsEditor::Row> ChatRoomsEditor::rows()
{
    QList<Row> rows;
    rows.append(Row{RoomNumber::Common, RoomNumber::CommonName, RoomMembers::count(RoomNumber::Common)});
    for (const Room &room : RoomList::rooms()) {
        if (room.name.isEmpty())
            continue;
        rows.append(Row{room.number, room.name, RoomMembers::count(room.number)});
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
