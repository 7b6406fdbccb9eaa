#pragma once

#include "chat/chatfiles.h"
#include "session/messagestate.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ChatEvents;
class TimerRegistry;

// The chat's way out: messages sent in parts through the bot that serves a member, the
// room queues filled with chat lines and notices, and their delivery on "Timer10" to
// the members of each room.
class ChatDelivery
{
public:
    // Sends one ICQ message through the bot slot; false when it could not go.
    using SendFunction = std::function<bool(int slot, const QString &txt, const QString &toUin)>;

    static inline const QString TimerName = QStringLiteral("Timer10");
    static constexpr int MaxMessageLength = 2000;
    static constexpr int DefaultDeliveryMs = 5000;
    static constexpr int MinDeliverySeconds = 1;
    static constexpr int MaxDeliverySeconds = 3600;

    ChatDelivery(TimerRegistry &timers, SendFunction send, ChatEvents &events);

    // --- sending ---------------------------------------------------------------------
    // Sends the text in parts through the slot, a part that cannot go through fallback
    // (0: none); gives the number of parts sent.
    int sendParts(int slot, const QString &text, const QString &toUin, int fallback = 0);
    // The same with the text split already.
    int sendSplit(int slot, const QStringList &parts, const QString &toUin, int fallback);
    // The answer to the sender, through the bot he wrote to.
    void reply(const MessageState &state, const QString &text);
    // The bot the distribution gave the number, or fallback.
    static int slotFor(const QString &uin, int fallback);
    // The slot of every number the distribution gave a bot (its first line).
    static QHash<QString, int> assignments();
    // The text in messages of at most MaxMessageLength characters, cut at line ends
    // (a longer line is cut where it must).
    static QStringList splitMessage(const QString &text);
    // The same as views into the text.
    static QList<QStringView> splitViews(QStringView text);

    // --- the room queues ---------------------------------------------------------------
    // A member's chat line (its line breaks encoded already) with the prefix the chat
    // options ask for, into his room's queue and the chat log; the delivery starts.
    void queueChatLine(const QString &uin, const QString &nick, const QString &room, const QString &text);
    void queueNotice(const QString &room, const QString &notice);
    // The notice lead followed by text into each room; its queue line is made once.
    void queueNotice(const QStringList &rooms, QStringView lead, QStringView text);

    // --- "Timer10" ---------------------------------------------------------------------
    // On, at the interval of the chat switch.
    void start();
    // The same, when it is not running yet.
    void resume();
    void stop();
    // Every room's queue goes to the members of that room.
    void tick();
    // The interval of line 2 of the chat switch in ms; nullopt keeps the timer's own.
    static std::optional<int> deliveryInterval();

    // --- who hears a room --------------------------------------------------------------
    // The member list's room of every member (his first line), and the rooms named.
    struct MemberRooms
    {
        QHash<QString, QString> roomOf;
        QSet<QString> occupied;
    };
    static MemberRooms memberRooms();
    // Members of a room: its file's entries whose member-list line names that room. A
    // room the member list does not name has nobody, and its file is not read.
    static QList<RoomMembers::Entry> occupants(const QString &room, const MemberRooms &memberRooms);

private:
    int sendViews(int slot, const QList<QStringView> &parts, const QString &toUin, int fallback);

    TimerRegistry &m_timers;
    SendFunction m_send;
    ChatEvents &m_events;
};
