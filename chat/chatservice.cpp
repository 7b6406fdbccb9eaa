#include "chat/chatservice.h"

#include "chat/chatcommand.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "core/namedtimer.h"

namespace {

NamedTimer *timerOf(TimerRegistry &timers, const QString &name, int designMs)
{
    NamedTimer *timer = timers.timer(name);
    return timer ? timer : timers.add(name, designMs);
}

} // namespace

ChatService::ChatService(TimerRegistry &timers, SendFunction send, QObject *parent)
    : ChatEvents(parent)
    , m_timers(timers)
    , m_delivery(timers, std::move(send), *this)
    , m_membership(m_delivery, *this)
    , m_commands(m_delivery, m_membership, *this)
    , m_autoMessages(m_delivery, m_membership)
    , m_reconnectNotice(timers, m_delivery)
{
    timerOf(timers, ChatDelivery::TimerName, DefaultDeliveryMs);
    timerOf(timers, ChatAutoMessages::TimerName, 0);
    timerOf(timers, ChatReconnectNotice::TimerName, ChatReconnectNotice::DesignMs);
    timers.attach(ChatDelivery::TimerName, [this] { Timer10_Timer(); });
    timers.attach(ChatAutoMessages::TimerName, [this] { auto_soob_Timer(); });
    timers.attach(ChatReconnectNotice::TimerName, [this] { chat_tim_Timer(); });
    ChatLog::open();
}

ChatService::~ChatService()
{
    for (const QString &name :
         {ChatDelivery::TimerName, ChatAutoMessages::TimerName, ChatReconnectNotice::TimerName}) {
        if (NamedTimer *timer = m_timers.timer(name))
            timer->setHandler({});
    }
}

QString ChatService::EncodeLineBreaks(const QString &text)
{
    return RoomQueue::encodeBreaks(text);
}

std::optional<StageOutcome> ChatService::takenByModeration(MessageState &state)
{
    if (!m_moderation)
        return std::nullopt;
    const StageOutcome outcome = m_moderation(state);
    if (state.MessageHandled)
        return StageOutcome::Stop;
    if (outcome != StageOutcome::Continue)
        return outcome;
    return std::nullopt;
}

StageOutcome ChatService::HandleChatMessage(MessageState &state)
{
    if (const std::optional<StageOutcome> taken = takenByModeration(state))
        return *taken;
    if (!ChatSwitch::isOn())
        return StageOutcome::Continue;

    if (const std::optional<ChatMember> member = ChatMemberList::find(state.SenderUin)) {
        state.MessageText = ApplyLastCharacterRule(state.MessageText, CharacterSet::Member);
        if (const std::optional<StageOutcome> taken = takenByModeration(state))
            return *taken;
        return m_commands.handle(state, *member);
    }

    const ChatCommandLine line = ChatCommands::parse(state.MessageText);
    if (line.command == ChatCommand::Join)
        return m_membership.join(state);
    if (line.command == ChatCommand::Register)
        return m_membership.registerNick(state, line.argument);
    return StageOutcome::Continue;
}

// --- rooms and the switch --------------------------------------------------------------

bool ChatService::addRoom(const Room &room)
{
    if (!RoomList::add(room))
        return false;
    emit roomsChanged();
    return true;
}

bool ChatService::removeRoom(const QString &number)
{
    if (!RoomList::remove(number))
        return false;
    emit roomsChanged();
    return true;
}

bool ChatService::setChatSwitch(bool on, const QString &interval)
{
    const bool ok = ChatSwitch::write(on, interval);
    emit chatSwitched(ChatSwitch::isOn());
    return ok;
}
