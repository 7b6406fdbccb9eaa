#pragma once

#include "session/messagestate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <memory>

// Spreads the users over the secondary bots: the main bot hands each new user to a
// signed-on secondary bot with room, a secondary bot refers strangers back to the main
// bot, and users silent for 20 minutes are released again.
//
// Files: the distribution list (the bots and their counts), the assignment list
// "slot number" and the activity list "number date time".
class BotDistribution
{
public:
    static inline const QString AssignmentFile = QStringLiteral("\\Настройки\\Распределение_online.txt");
    static inline const QString ActivityFile = QStringLiteral("\\Настройки\\Таймер_активности.txt");
    static constexpr int UsersPerBot = 10;
    static constexpr int IdleMinutes = 20;

    static inline const QString ReferralText = QStringLiteral(
        "Чтобы узнать какой номер свободен и не виснет, пошлите любой сообщение, на этот номер.");
    static inline const QString YourBotText =
        QStringLiteral("Вам предоставлен этот бот, пишите свои сообщения сюда.");
    static inline const QString AssignedText =
        QStringLiteral("Вам выделен бот, сейчас он добавиться к Вам. Отправляйте сообщения на него.");
    static inline const QString AllBusyText =
        QStringLiteral("Сейчас все боты заняты, обратитесь к боту попозже.");

    using SendFunction = std::function<void(int slot, const QString &text, const QString &toUin)>;
    using SignedOnCheck = std::function<bool(int slot)>;

    BotDistribution(SendFunction send, SignedOnCheck isSignedOn);

    // The incoming reader's hook, with state.slot the receiving bot. False when a fixed
    // reply has gone out and the message goes no further; true when it goes on to the
    // engine (the sender's activity has been refreshed).
    bool distribute(MessageState &state);

    // The release timer's tick: users idle for 20 minutes lose their bot.
    void releaseIdle();

    // The slot the user is assigned to, 0 when none.
    static int assignedSlot(const QString &uin);

    // A line of the assignment list.
    struct Assignment
    {
        int slot = 0;
        QString uin;
    };
    // The assignment list in file order. A line that is not "slot number" is skipped and
    // reported once (TextFile::reportBadLine()).
    static QList<Assignment> assignments();

private:
    void refreshActivity(const QString &uin);
    void release(const QString &uin);

    SendFunction m_send;
    SignedOnCheck m_isSignedOn;
    // The activity list as last written while its rewrite waits for the storage layer's
    // next batch: every message refreshes it, so it is not rewritten per message.
    struct PendingActivity
    {
        bool pending = false;
        QStringList lines;
    };
    std::shared_ptr<PendingActivity> m_activity = std::make_shared<PendingActivity>();
};
