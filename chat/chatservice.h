#pragma once

#include "chat/chatautomessages.h"
#include "chat/chatdelivery.h"
#include "chat/chatevents.h"
#include "chat/chatmembercommands.h"
#include "chat/chatmembership.h"
#include "chat/chatreconnectnotice.h"
#include "chat/chattexts.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TimerRegistry;

// The chat the bot runs for its users, as the answer engine, moderation and the windows
// see it: one object over its parts, each of its own file.
// - ChatMembership: registration, joining, room changes and leaving, the member changes
//   moderation and the windows make, the per-run files;
// - ChatMemberCommands: what a member writes, his commands and his chat lines;
// - ChatDelivery: the sends, the room queues and their delivery on "Timer10";
// - ChatAutoMessages: the auto-messages on "auto_soob";
// - ChatReconnectNotice: the reconnection notice on "chat_tim".
// It keeps nothing of a member in memory: the chat files (chat/chatfiles.h) hold the
// state. Commands are read by ChatCommands::parse (chat/chatcommand.h).
//
// Everyone who changes the chat's members or rooms (the moderation commands, the chat
// windows) does it through the operations below, so the change signals (ChatEvents)
// reach every window that shows them.
class ChatService : public ChatEvents, public ChatTexts
{
    Q_OBJECT
public:
    using Stage = std::function<StageOutcome(MessageState &)>;
    using SendFunction = ChatDelivery::SendFunction;

    static constexpr int MaxMessageLength = ChatDelivery::MaxMessageLength;
    static constexpr int MaxNickLength = ChatMembership::MaxNickLength;
    static constexpr int DefaultDeliveryMs = ChatDelivery::DefaultDeliveryMs;
    static constexpr int MinDeliverySeconds = ChatDelivery::MinDeliverySeconds;
    static constexpr int MaxDeliverySeconds = ChatDelivery::MaxDeliverySeconds;

    // timers must hold "Timer10", "auto_soob" and "chat_tim" (added off when missing);
    // the service attaches their tick handlers.
    ChatService(TimerRegistry &timers, SendFunction send, QObject *parent = nullptr);
    ~ChatService() override;

    // --- the answer engine's chat stage ----------------------------------------------
    // Stop (with MessageHandled set) when the chat took the message; Continue when the
    // engine goes on with it, the history command's answer then stands in ReplyText.
    StageOutcome HandleChatMessage(MessageState &state);

    // Chat moderation's command stage, tried before anything else (and once more on a
    // member's shortened text). Empty takes nothing. It takes a message by returning
    // Stop or setting MessageHandled.
    void setModerationStage(Stage stage) { m_moderation = std::move(stage); }
    // Chat moderation's warning after an obscene chat line. Empty does nothing.
    void setWarnSender(std::function<void(MessageState &)> warn) { m_commands.setWarnSender(std::move(warn)); }

    // --- member and room changes (moderation, windows) -------------------------------
    // Moderation's commands work through these and the file owners: a ban or a kick is
    // removeMember() (a ban also ChatStatistics::AddChatStatistic(Bans, +1), an unban -1),
    // a rename renameMember(), a room command addRoom()/removeRoom(), invisibility
    // InvisibleList; roles are read with ChatStaff. The chat windows list members with
    // ChatMemberList::members(), registrations with RegistrationList, rooms with
    // RoomList::rooms() and RoomMembers::count(), and refill on the signals.
    bool removeMember(const QString &uin) { return m_membership.removeMember(uin); }
    bool moveMember(const QString &uin, const QString &room) { return m_membership.moveMember(uin, room); }
    bool renameMember(const QString &uin, const QString &nick) { return m_membership.renameMember(uin, nick); }
    bool addRoom(const Room &room);
    bool removeRoom(const QString &number);
    // The chat window's apply of the chat switch.
    bool setChatSwitch(bool on, const QString &interval);
    // The log window deleted the log, or anyone wrote it.
    void noteLogChanged() { emit logChanged(); }

    // --- timers ------------------------------------------------------------------------
    // "Timer10": every room's queue goes to the members of that room.
    void Timer10_Timer() { m_delivery.tick(); }
    // "auto_soob", once a second: the auto-messages.
    void auto_soob_Timer() { m_autoMessages.tick(); }
    // "chat_tim": the reconnection notice.
    void chat_tim_Timer() { m_reconnectNotice.tick(); }

    // The reconnect watchdog logs in again: the next sign-on arms the notice.
    void setNotifyChatAfterLogin(bool notify) { m_reconnectNotice.setNotifyAfterLogin(notify); }
    bool NotifyChatAfterLogin() const { return m_reconnectNotice.notifyAfterLogin(); }
    // Any bot signed on (the post-login step).
    void noteSignedOn(int) { m_reconnectNotice.noteSignedOn(); }

    // The auto-message interval and order, read from the file's first two lines once per
    // run at the first tick; this reads them now.
    void loadAutoMessageSettings() { m_autoMessages.loadSettings(); }

    // The per-run files go (start-up after an unclean end, exit).
    void cleanUpPerRunFiles() { m_membership.cleanUpPerRunFiles(); }
    // The operator disconnected: the member list was deleted and the delivery stopped.
    void noteDisconnected() { m_membership.noteDisconnected(); }

    // "Да, подключен" from the first join or registration of the run on.
    QString ChatState() const { return m_membership.chatState(); }

    // --- helpers shared with tests ---------------------------------------------------
    using CharacterSet = ChatMembership::CharacterSet;
    static QString ApplyLastCharacterRule(const QString &text, CharacterSet set)
    {
        return ChatMembership::ApplyLastCharacterRule(text, set);
    }
    // CR LF, a lone CR and a lone LF each become "^&^&"; a run of breaks at the very
    // start becomes one.
    static QString EncodeLineBreaks(const QString &text);
    // The text in messages of at most MaxMessageLength characters, cut at line ends
    // (a longer line is cut where it must).
    static QStringList splitMessage(const QString &text) { return ChatDelivery::splitMessage(text); }

private:
    // The moderation stage's outcome when it took the message.
    std::optional<StageOutcome> takenByModeration(MessageState &state);

    TimerRegistry &m_timers;
    Stage m_moderation;
    ChatDelivery m_delivery;
    ChatMembership m_membership;
    ChatMemberCommands m_commands;
    ChatAutoMessages m_autoMessages;
    ChatReconnectNotice m_reconnectNotice;
};
