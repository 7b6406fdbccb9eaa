#pragma once

#include "chat/chatfiles.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TimerRegistry;

// The chat the bot runs for its users: registration and joining, chat lines and the
// room queues, their delivery on "Timer10", the member commands, the auto-messages on
// "auto_soob" and the reconnection notice on "chat_tim". It keeps nothing of a
// member in memory: the chat files (chat/chatfiles.h) hold the state.
//
// Everyone who changes the chat's members or rooms (the moderation commands, the chat
// windows) does it through the operations below, so the change signals reach every
// window that shows them.
class ChatService : public QObject
{
    Q_OBJECT
public:
    using Stage = std::function<StageOutcome(MessageState &)>;
    // Sends one ICQ message through the bot slot; false when it could not go.
    using SendFunction = std::function<bool(int slot, const QString &txt, const QString &toUin)>;

    static constexpr int MaxMessageLength = 2000;
    static constexpr int MaxNickLength = 15;
    static constexpr int DefaultDeliveryMs = 5000;
    static constexpr int MinDeliverySeconds = 1;
    static constexpr int MaxDeliverySeconds = 3600;

    static inline const QString ConnectedState = QStringLiteral("Да, подключен");

    // Replies and notices.
    static inline const QString AlreadyInChatText = QStringLiteral("Вы уже в чате.");
    static inline const QString NickBlankText = QStringLiteral("Регистрация ников с пробелами запрещена.");
    static inline const QString NickForbiddenText = QStringLiteral("Вы ввели запрщённые символы ':^:' (без кавычек)");
    static inline const QString NickTooLongText =
        QStringLiteral("Слишком длинный ник. Ограничение на длинну ника 15 символов.");
    static inline const QString OneNickText = QStringLiteral("Вы не можете зарегистрировать более одного ника.");
    static inline const QString NickTakenText = QStringLiteral("Такой ник уже занят.");
    // A member's change that could not be written: nothing changed.
    static inline const QString SaveFailedText = QStringLiteral("Не удалось сохранить, попробуйте позже.");
    static inline const QString NotRegisteredText = QStringLiteral("Вы ещё не зарегестрировались");
    static inline const QString JoinedText = QStringLiteral("Вы авторизовались в чате");
    static inline const QStringList RegisteredLines = {
        QStringLiteral("Благодарю за регистрацию! Теперь можете войти в чат."),
        QStringLiteral("Для входа введите: !chat"),
        QStringLiteral("Для выхода: !exit"),
        QStringLiteral("Для того чтобы проверить кто в комнате, введите: !inroom 0"),
        QStringLiteral("Сейчас вы уже в чате. Используйте !chat после того вы выдите или вас 'выкинет' из чата за "
                       "молчание."),
    };
    static inline const QString JoinNotice = QStringLiteral("К нам присоединился: ");
    static inline const QString LeaveNotice = QStringLiteral("Чат покинул : ");
    static inline const QString AutoMessageNotice = QStringLiteral("Автоматическое сообщение: ");
    static inline const QString ObscenityText =
        QStringLiteral("Программа обнаружила матное слово в вашем сообщении. Вы получаете предупреждение.");
    static inline const QString PrivateOffText =
        QStringLiteral("Функция отправки приватных сообщений не включена. Обратитесь к администратору бота.");
    static inline const QString NoSuchNickText = QStringLiteral("Человека с таким ником нет в чате.");
    static inline const QString PrivateLead = QStringLiteral("Вам приватное сообщение от: ");
    static inline const QString NoSuchMemberText = QStringLiteral("Такого участника не существует.");
    static inline const QString IgnoredText = QStringLiteral("Сообщения указаного участника не будут вам видны.");
    static inline const QString UnignoredText = QStringLiteral("Сообщения указаного участника будут вам видны.");
    static inline const QString FunctionOffText = QStringLiteral("Эта функция отключена");
    static inline const QString NobodyText = QStringLiteral("В чате ни кого нет.");
    static inline const QString HistoryHeading = QStringLiteral("История чата:");
    static inline const QString MemberListHeading = QStringLiteral("Список пользователей чата:");
    static inline const QString EmptyRoomText = QStringLiteral("В комнате пусто");
    static inline const QString BadInputText = QStringLiteral("Не правильный ввод данных.");
    static inline const QString NoRoomsText = QStringLiteral("В этом чате комнат нет.");
    static inline const QString NoSuchRoomText =
        QStringLiteral("Такой комнаты нет. Введите !allroom для проверки доступных комнат.");
    static inline const QString RoomChangedText = QStringLiteral("Вы перешли в другую комнату.");
    static inline const QString LeftText = QStringLiteral("Вы вышли из чата.");
    static inline const QString ReconnectedText =
        QStringLiteral("Бот востановил соединение, после обырва связи. Пожалуйста продолжайте разговор в чате.");

    // Labels of the chat log's event lines (after the date and time).
    static inline const QString LogRegistered = QStringLiteral(" Регистрация нового ника: ");
    static inline const QString LogJoined = QStringLiteral(" Авторизовался: ");
    static inline const QString LogPrivate = QStringLiteral(" Послано приватное сообщение от: ");
    static inline const QString LogHistoryRequest = QStringLiteral(" Сделан запрос на показ истории чата: от ");
    static inline const QString LogListRequest = QStringLiteral(" Сделан запрос на показ списка пользователей чата: от ");
    static inline const QString LogLeft = QStringLiteral(" Из чата вышел: от ");

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
    void setWarnSender(std::function<void(MessageState &)> warn) { m_warnSender = std::move(warn); }

    // --- member and room changes (moderation, windows) -------------------------------
    // Moderation's commands work through these and the file owners: a ban or a kick is
    // removeMember() (a ban also ChatStatistics::AddChatStatistic(Bans, +1), an unban -1),
    // a rename renameMember(), a room command addRoom()/removeRoom(), invisibility
    // InvisibleList; roles are read with ChatStaff. The chat windows list members with
    // ChatMemberList::members(), registrations with RegistrationList, rooms with
    // RoomList::rooms() and RoomMembers::count(), and refill on the signals below.
    // Takes the member out of the member list and out of his room's file.
    bool removeMember(const QString &uin);
    // Moves a member into another room (member list and room files).
    bool moveMember(const QString &uin, const QString &room);
    // Gives a member a new nick in the member list and his room file; the registration
    // keeps the nick given at sign-up. False when the member list was not written.
    bool renameMember(const QString &uin, const QString &nick);
    bool addRoom(const Room &room);
    bool removeRoom(const QString &number);
    // The chat window's apply of the chat switch.
    bool setChatSwitch(bool on, const QString &interval);
    // The log window deleted the log, or anyone wrote it.
    void noteLogChanged() { emit logChanged(); }

    // --- timers ------------------------------------------------------------------------
    // "Timer10": every room's queue goes to the members of that room.
    void Timer10_Timer();
    // "auto_soob", once a second: the auto-messages.
    void auto_soob_Timer();
    // "chat_tim": the reconnection notice.
    void chat_tim_Timer();

    // The reconnect watchdog logs in again: the next sign-on arms the notice.
    void setNotifyChatAfterLogin(bool notify) { m_notifyAfterLogin = notify; }
    bool NotifyChatAfterLogin() const { return m_notifyAfterLogin; }
    // Any bot signed on (the post-login step).
    void noteSignedOn(int slot);

    // The auto-message interval and order, read from the file's first two lines once per
    // run at the first tick; this reads them now.
    void loadAutoMessageSettings();

    // The per-run files go (start-up after an unclean end, exit).
    void cleanUpPerRunFiles();
    // The operator disconnected: the member list was deleted and the delivery stopped.
    void noteDisconnected();

    // "Да, подключен" from the first join or registration of the run on.
    QString ChatState() const { return m_chatState; }

    // --- helpers shared with tests ---------------------------------------------------
    enum class CharacterSet { Member, Nick };
    static QString ApplyLastCharacterRule(const QString &text, CharacterSet set);
    // CR LF, a lone CR and a lone LF each become "^&^&"; a run of breaks at the very
    // start becomes one.
    static QString EncodeLineBreaks(const QString &text);
    // The text in messages of at most MaxMessageLength characters, cut at line ends
    // (a longer line is cut where it must).
    static QStringList splitMessage(const QString &text);

Q_SIGNALS:
    // Somebody joined, registered, left, was removed or renamed.
    void membersChanged();
    void memberRoomChanged(const QString &uin, const QString &oldRoom, const QString &newRoom);
    void chatSwitched(bool on);
    void roomsChanged();
    void logChanged();
    // One delivery tick finished (tests, benchmark).
    void delivered(int messages);

private:
    struct Member
    {
        MessageState &state;
        ChatMember member;
    };

    // The moderation stage's outcome when it took the message.
    std::optional<StageOutcome> takenByModeration(MessageState &state);
    StageOutcome handled(MessageState &state);
    void reply(const MessageState &state, const QString &text);
    // Sends the text in parts through the slot, a part that cannot go through fallback
    // (0: none); gives the number of parts sent.
    int sendParts(int slot, const QString &text, const QString &toUin, int fallback = 0);
    // The same with the text split already.
    int sendSplit(int slot, const QStringList &parts, const QString &toUin, int fallback);
    int slotFor(const QString &uin, int fallback) const;

    // Strangers.
    StageOutcome RegisterNick(MessageState &state);
    StageOutcome JoinCommonRoom(MessageState &state);
    void ArmDeliveryTimer();
    void queueJoinNotice(const QString &uin, const QString &nick, const QString &room, const QString &logLine);

    // Members.
    StageOutcome dispatchMember(Member &m);
    StageOutcome QueueChatLine(Member &m);
    StageOutcome privateMessage(Member &m);
    StageOutcome ignore(Member &m, bool on);
    StageOutcome staffList(Member &m);
    StageOutcome statistics(Member &m);
    StageOutcome history(Member &m);
    StageOutcome memberList(Member &m);
    StageOutcome roomList(Member &m);
    StageOutcome roomMembers(Member &m);
    StageOutcome changeRoom(Member &m);
    StageOutcome leave(Member &m);

    // The interval of line 2 of the chat switch in ms; nullopt keeps the timer's own.
    static std::optional<int> deliveryInterval();
    // The member list's room of every member (his first line), and the rooms named.
    struct MemberRooms
    {
        QHash<QString, QString> roomOf;
        QSet<QString> occupied;
    };
    static MemberRooms memberRooms();
    // Members of a room: its file's entries whose member-list line names that room. A
    // room the member list does not name has nobody, and its file is not read.
    QList<RoomMembers::Entry> occupants(const QString &room, const MemberRooms &memberRooms) const;
    void queueNotice(const QString &room, const QString &notice);
    void dropStaleRoomLines(const QString &uin);

    TimerRegistry &m_timers;
    SendFunction m_send;
    Stage m_moderation;
    std::function<void(MessageState &)> m_warnSender;
    QString m_chatState;
    bool m_notifyAfterLogin = false;
    // Auto-messages.
    bool m_autoLoaded = false;
    std::optional<int> m_autoInterval;
    bool m_autoRandom = false;
    int m_autoTicks = 0;
    int m_autoNext = 1;
};
