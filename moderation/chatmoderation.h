#pragma once

#include "chat/chatdelivery.h"
#include "chat/chattexts.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class ChatService;

// The chat staff's commands, sent to the bot as ICQ messages, and the automatic
// warnings: rooms, bans and unbans, kicks, renames, invisibility and roles. Roles come
// from the staff file (ChatStaff), bans go to the chat ban list (ChatBanList), which
// shuts a banned number out of the whole bot; members and rooms change through the chat
// service, so the chat windows hear of it. Nothing is kept between messages: every
// command reads its files anew.
class ChatModeration
{
public:
    // Sends one ICQ message through a bot slot; false when it could not go.
    using SendFunction = ChatDelivery::SendFunction;

    // The main bot's slot, on which ban and unban notices go out.
    static constexpr int MainSlot = 1;
    // A timed ban may last at most this long (and a permanent one lasts this long).
    static constexpr qint64 PermanentDays = 400000;
    static constexpr qint64 MaxBanMinutes = PermanentDays * 24 * 60;

    // Replies and notices.
    static inline const QString NoStaffRightsText = QStringLiteral("У вас нет прав модератора или администратора.");
    static inline const QString NoInvisibleRightsText =
        QStringLiteral("У вас нет прав администратора или модератера.");
    static inline const QString ProtectedBanText =
        QStringLiteral("Вы не можете забанить модератора. У вас нет прав администратора.");
    static inline const QString ProtectedRenameText =
        QStringLiteral("Вы не можете сменить ник модератору. У вас нет прав администратора.");
    static inline const QString BannedText = QStringLiteral("Вы забанены.");
    static inline const QString UnbannedText = QStringLiteral("Вас разбанили в чате.");
    static inline const QString WarnedText = QStringLiteral("Вы получили предупреждение.");
    static inline const QString NoReasonText = QStringLiteral("Причина не объяснена.");
    static inline const QString BanUsageText =
        QStringLiteral("Вы не правильно ввели команду. Вот как нужно отправлять команду: !БАН <ник> <время> "
                       "<причина>\r\nНапример: !БАН хулиган 120 За хулегенство в чате");
    static inline const QString RoomDataErrorText =
        QStringLiteral("Обнаружена ошибка в заполнении данных. Обратите внимание: номер 0 использовать нельзя.");
    static inline const QString RoomExistsText = QStringLiteral("Комната с таким номером уже существует");
    static inline const QString RoomCreatedText = QStringLiteral("Комната создана.");
    static inline const QString RoomDeletedText = QStringLiteral("Комната удалена.");
    static inline const QString RenamedText = QStringLiteral("Вас переименовали в: ");
    static inline const QString NickForbiddenText = ChatTexts::NickForbiddenText;
    static inline const QString InvisibleOffText = QStringLiteral("Вы удалены из инвиза.");
    static inline const QString NotInvisibleText =
        QStringLiteral("Программа не смогла обнаружить вас в списке инвиза.");
    static inline const QString AlreadyInvisibleText = QStringLiteral("Вы уже и так не видимый(ая).");
    static inline const QString InvisibleOnText = QStringLiteral("Вы добавлены в список инвиза.");
    static inline const QString UinExistsText = QStringLiteral("Человек с таким UINом уже существует.");

    // chat may be null (tests of the file layer): members then leave only the files.
    ChatModeration(ChatService *chat, SendFunction send);

    // The chat's moderation stage: Stop, with MessageHandled set, when a command took
    // the message; Continue leaves it to the chat.
    StageOutcome HandleChatAdminCommand(MessageState &state);
    // A chat member wrote a forbidden word: one more warning for his nick, a ban from the
    // second on. Sets MessageHandled unless the staff file is empty.
    void WarnChatSender(MessageState &state);
    // The "ban" timer's tick: every ban whose end lies before the current minute goes.
    void ban_Timer();

    // --- the ban routine and its helpers ----------------------------------------------
    enum class BanOutcome { NotFound, Refused, Banned, Failed };
    // Bans the member in the chat who carries nick (exact letter case): a ban line, out of
    // the chat at once, the notice on the main bot and the ban counter. An administrator
    // or moderator is banned only by an administrator (state.SenderUin). Failed: the ban
    // line could not be written; nothing else changed and the sender was told.
    BanOutcome BanChatMember(MessageState &state, const QString &nick, const QString &until, const QString &reason);
    // The until text of a ban lasting minutes from now: "dd.MM.yyyy H:mm:ss" by the
    // calendar. Warnings and timed bans both use it.
    static QString ComputeCalendarUntil(qint64 minutes);
    static QString ComputeFixedUntil(qint64 minutes) { return ComputeCalendarUntil(minutes); }
    // The until text of a permanent ban.
    static QString PermanentUntil();
    // The ban counter of the chat statistics (day and totals).
    static void AdjustBanStatistics(int delta);
    // Whether a ban with this until text has run out at now (to the minute). An until
    // text that cannot be read never runs out.
    static bool hasExpired(const QString &until, const QDateTime &now);
    // A text made fit for a ban line: no ":^:" and no line break.
    static QString banField(const QString &text);

private:
    void reply(const MessageState &state, const QString &text);
    void send(int slot, const QString &text, const QString &toUin);
    void memberLeaves(const QString &uin);

    StageOutcome deleteRoom(MessageState &state, const QString &arguments);
    StageOutcome createRoom(MessageState &state, const QString &arguments);
    StageOutcome unban(MessageState &state, const QString &arguments);
    StageOutcome kick(MessageState &state, const QString &arguments);
    StageOutcome timedBan(MessageState &state, const QString &arguments);
    StageOutcome permanentBan(MessageState &state, const QString &arguments);
    StageOutcome rename(MessageState &state, const QString &arguments);
    StageOutcome invisibleOff(MessageState &state);
    StageOutcome invisibleOn(MessageState &state);
    StageOutcome setGroup(MessageState &state, const QString &arguments);

    QString warningReason(const QString &giverUin, int count) const;

    ChatService *m_chat;
    SendFunction m_send;
};
