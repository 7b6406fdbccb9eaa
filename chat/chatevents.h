#pragma once

#include <QObject>
#include <QString>

// The chat's change signals. Every part of the chat emits them on the one object the
// windows connect to (ChatService derives from it).
class ChatEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // Somebody joined, registered, left, was removed or renamed.
    void membersChanged();
    void memberRoomChanged(const QString &uin, const QString &oldRoom, const QString &newRoom);
    void chatSwitched(bool on);
    void roomsChanged();
    void logChanged();
    // One delivery tick finished (tests, benchmark).
    void delivered(int messages);
};
