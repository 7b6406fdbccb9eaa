#pragma once

#include <QString>

#include <optional>

class ChatDelivery;
class ChatMembership;

// The auto-messages on "auto_soob": once a second while the chat is connected, every
// interval of the file's first line one entry of the file goes as a notice into every
// room somebody is in, in the file's order or at random as its second line says.
class ChatAutoMessages
{
public:
    static inline const QString TimerName = QStringLiteral("auto_soob");
    static constexpr int TickMs = 1000;

    ChatAutoMessages(ChatDelivery &delivery, const ChatMembership &membership);

    // The interval and the order, read from the file's first two lines once per run at
    // the first tick; this reads them now.
    void loadSettings();
    void tick();

private:
    ChatDelivery &m_delivery;
    const ChatMembership &m_membership;
    bool m_loaded = false;
    std::optional<int> m_interval;
    bool m_random = false;
    int m_ticks = 0;
    int m_next = 1;
};
