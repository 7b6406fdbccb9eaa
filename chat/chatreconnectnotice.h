#pragma once

#include <QString>

class ChatDelivery;
class TimerRegistry;

// The notice to every member that the chat goes on after the bot lost its connection:
// the reconnect watchdog's log-in arms it, the next sign-on starts "chat_tim", and its
// tick tells every member once, each through his own bot.
class ChatReconnectNotice
{
public:
    static inline const QString TimerName = QStringLiteral("chat_tim");
    static constexpr int DesignMs = 10000;

    ChatReconnectNotice(TimerRegistry &timers, ChatDelivery &delivery);

    void setNotifyAfterLogin(bool notify) { m_notifyAfterLogin = notify; }
    bool notifyAfterLogin() const { return m_notifyAfterLogin; }
    // Any bot signed on.
    void noteSignedOn();
    void tick();

private:
    TimerRegistry &m_timers;
    ChatDelivery &m_delivery;
    bool m_notifyAfterLogin = false;
};
