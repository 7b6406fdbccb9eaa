#pragma once

#include "chat/chatcommand.h"
#include "chat/chatfiles.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <functional>

class ChatDelivery;
class ChatEvents;
class ChatMembership;

// What a member in the chat writes: his commands (whispers, ignore lists, the staff,
// statistics, history, member and room lists, a room change, leaving) and, for anything
// else, a chat line for his room.
class ChatMemberCommands
{
public:
    ChatMemberCommands(ChatDelivery &delivery, ChatMembership &membership, ChatEvents &events);

    // Chat moderation's warning after an obscene chat line. Empty does nothing.
    void setWarnSender(std::function<void(MessageState &)> warn) { m_warnSender = std::move(warn); }

    // Stop (with MessageHandled set) when the message was taken; Continue for the
    // history, whose answer then stands in ReplyText.
    StageOutcome handle(MessageState &state, const ChatMember &member);

private:
    StageOutcome chatLine(MessageState &state, const ChatMember &member);
    StageOutcome privateMessage(MessageState &state, const ChatMember &member, const ChatCommandLine &line);
    StageOutcome ignore(MessageState &state, const QString &nick, bool on);
    StageOutcome staffList(MessageState &state);
    StageOutcome statistics(MessageState &state);
    StageOutcome history(MessageState &state);
    StageOutcome memberList(MessageState &state);
    StageOutcome roomList(MessageState &state);
    StageOutcome roomMembers(MessageState &state, const QString &room);

    ChatDelivery &m_delivery;
    ChatMembership &m_membership;
    ChatEvents &m_events;
    std::function<void(MessageState &)> m_warnSender;
};
