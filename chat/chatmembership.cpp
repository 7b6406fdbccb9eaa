#include "chat/chatmembership.h"

#include "chat/chatcommand.h"
#include "chat/chatdelivery.h"
#include "chat/chatevents.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chattexts.h"

#include <algorithm>

using ChatCommands::takeMessage;

ChatMembership::ChatMembership(ChatDelivery &delivery, ChatEvents &events)
    : m_delivery(delivery)
    , m_events(events)
{}

QString ChatMembership::ApplyLastCharacterRule(const QString &text, CharacterSet set)
{
    if (text.isEmpty())
        return text;
    const QChar last = text.back();
    static const QString memberPunctuation = QStringLiteral("!~@#$%^&*()-_=+{[]}:;'<,>.№?/\\|`\" ");
    static const QString nickPunctuation = QStringLiteral("~@#$%^&*()-_=+{[]}:;'<,>.№?/\\|` ");
    const QString &punctuation = set == CharacterSet::Member ? memberPunctuation : nickPunctuation;
    bool allowed = (last >= QLatin1Char('0') && last <= QLatin1Char('9')) || punctuation.contains(last);
    if (!allowed) {
        const QString up = ChatCommands::upperCase(QString(last));
        const QChar u = up.isEmpty() ? last : up.front();
        allowed =
            (u >= QLatin1Char('A') && u <= QLatin1Char('Z')) || (u >= QChar(0x0410) && u <= QChar(0x042F));
    }
    return allowed ? text : text.chopped(1);
}

bool ChatMembership::addToCommonRoom(const QString &uin, const QString &nick)
{
    // The room files there are, not the room list: a long list costs nothing here.
    for (const QString &room : RoomMembers::rooms()) {
        if (room != RoomNumber::Common)
            RoomMembers::remove(room, uin);
    }
    if (!ChatMemberList::add(ChatMember{uin, nick, RoomNumber::Common}))
        return false;
    RoomMembers::add(RoomNumber::Common, uin, nick);
    return true;
}

void ChatMembership::queueJoinNotice(const QString &uin, const QString &nick, const QString &room,
                                     const QString &logLine)
{
    const bool notice = ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin);
    if (notice)
        m_delivery.queueNotice(room, ChatTexts::JoinNotice + nick);
    ChatLog::AddChatLogEntry(logLine, notice);
    emit m_events.logChanged();
}

// --- a stranger's commands -------------------------------------------------------------

StageOutcome ChatMembership::registerNick(MessageState &state, const QString &nickArgument)
{
    const QString uin = state.SenderUin;
    const QString nick = ApplyLastCharacterRule(nickArgument, CharacterSet::Nick);
    auto refuse = [&](const QString &text) {
        m_delivery.reply(state, text);
        return takeMessage(state);
    };
    if (ChatMemberList::find(uin))
        return refuse(ChatTexts::AlreadyInChatText);
    const bool blankOrControl = std::any_of(nick.begin(), nick.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    });
    if (blankOrControl)
        return refuse(ChatTexts::NickBlankText);
    if (nick.contains(RoomQueue::Separator) || nick.contains(RoomQueue::BreakCode))
        return refuse(ChatTexts::NickForbiddenText);
    if (nick.size() > MaxNickLength)
        return refuse(ChatTexts::NickTooLongText);
    if (RegistrationList::find(uin))
        return refuse(ChatTexts::OneNickText);
    if (ChatNicks::heldByAnother(nick, uin))
        return refuse(ChatTexts::NickTakenText);

    if (!RegistrationList::add(Registration{uin, nick}))
        return refuse(ChatTexts::SaveFailedText);
    ChatStatistics::AddChatStatistic(ChatStatistics::Registrations, 1);
    // Registered but not in the chat: "!chat" lets him in later.
    if (!addToCommonRoom(uin, nick))
        return refuse(ChatTexts::SaveFailedText);
    m_chatState = ChatTexts::ConnectedState;
    m_delivery.reply(state, ChatTexts::RegisteredLines.join(ChatTexts::CrLf));
    queueJoinNotice(uin, nick, RoomNumber::Common,
                    ChatLog::stamp() + ChatTexts::LogRegistered + uin + ChatTexts::Dash + nick);
    emit m_events.membersChanged();
    m_delivery.start();
    return takeMessage(state);
}

StageOutcome ChatMembership::join(MessageState &state)
{
    const QString uin = state.SenderUin;
    auto refuse = [&](const QString &text) {
        m_delivery.reply(state, text);
        return takeMessage(state);
    };
    const std::optional<Registration> registration = RegistrationList::find(uin);
    if (!registration)
        return refuse(ChatTexts::NotRegisteredText);
    if (ChatMemberList::find(uin))
        return refuse(ChatTexts::AlreadyInChatText);
    const QString nick = registration->nick;
    if (!addToCommonRoom(uin, nick))
        return refuse(ChatTexts::SaveFailedText);
    queueJoinNotice(uin, nick, RoomNumber::Common,
                    ChatLog::stamp() + ChatTexts::LogJoined + uin + ChatTexts::Dash + nick);
    emit m_events.membersChanged();
    m_delivery.start();
    m_chatState = ChatTexts::ConnectedState;
    m_delivery.reply(state, ChatTexts::JoinedText);
    ChatStatistics::AddChatStatistic(ChatStatistics::Joins, 1);
    return takeMessage(state);
}

// --- a member's commands ---------------------------------------------------------------

StageOutcome ChatMembership::changeRoom(MessageState &state, const ChatMember &member, const QString &room)
{
    auto refuse = [&](const QString &text) {
        m_delivery.reply(state, text);
        return takeMessage(state);
    };
    if (room.isEmpty())
        return refuse(ChatTexts::BadInputText);
    if (RoomList::rooms().isEmpty())
        return refuse(ChatTexts::NoRoomsText);
    if (!RoomNumber::isValid(room) || !RoomList::find(room))
        return refuse(ChatTexts::NoSuchRoomText);
    const QString uin = state.SenderUin;
    const QString nick = member.nick;
    const QString oldRoom = member.room;
    // The member list says where a member is; his line in the new room's file comes
    // first, so a failed write leaves him where he was.
    if (!RoomMembers::add(room, uin, nick))
        return refuse(ChatTexts::SaveFailedText);
    if (!ChatMemberList::setRoom(uin, room)) {
        if (room != oldRoom)
            RoomMembers::remove(room, uin);
        return refuse(ChatTexts::SaveFailedText);
    }
    if (room != oldRoom)
        RoomMembers::remove(oldRoom, uin);
    if (ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin)) {
        m_delivery.queueNotice(room, ChatTexts::JoinNotice + nick);
        ChatLog::addHistoryLine(ChatLog::stamp() + ChatTexts::LogRegistered + uin + ChatTexts::Dash + nick);
    }
    emit m_events.memberRoomChanged(uin, oldRoom, room);
    m_delivery.reply(state, ChatTexts::RoomChangedText);
    return takeMessage(state);
}

StageOutcome ChatMembership::leave(MessageState &state, const ChatMember &member)
{
    const QString uin = state.SenderUin;
    const QString nick = member.nick;
    const QString room = member.room;
    if (!ChatMemberList::remove(uin)) {
        m_delivery.reply(state, ChatTexts::SaveFailedText);
        return takeMessage(state);
    }
    RoomMembers::remove(room, uin);
    if (ChatMemberList::isEmpty())
        m_delivery.stop();
    ChatLog::AddChatLogEntry(ChatLog::stamp() + ChatTexts::LogLeft + uin + QLatin1Char(' ') + nick, true);
    emit m_events.logChanged();
    if (ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin))
        m_delivery.queueNotice(room, ChatTexts::LeaveNotice + nick);
    emit m_events.membersChanged();
    m_delivery.reply(state, ChatTexts::LeftText);
    return takeMessage(state);
}

// --- changes from moderation and the windows -------------------------------------------

bool ChatMembership::removeMember(const QString &uin)
{
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member)
        return false;
    ChatMemberList::remove(uin);
    RoomMembers::remove(member->room, uin);
    emit m_events.membersChanged();
    return true;
}

bool ChatMembership::moveMember(const QString &uin, const QString &room)
{
    if (!RoomNumber::isValid(room))
        return false;
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member)
        return false;
    RoomMembers::remove(member->room, uin);
    RoomMembers::add(room, uin, member->nick);
    ChatMemberList::setRoom(uin, room);
    emit m_events.memberRoomChanged(uin, member->room, room);
    return true;
}

bool ChatMembership::renameMember(const QString &uin, const QString &nick)
{
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member || !ChatMemberList::rename(uin, nick))
        return false;
    RoomMembers::rename(member->room, uin, nick);
    emit m_events.membersChanged();
    return true;
}

// --- per-run files ---------------------------------------------------------------------

void ChatMembership::noteDisconnected()
{
    ChatMemberList::clear();
    m_delivery.stop();
    emit m_events.membersChanged();
}

void ChatMembership::cleanUpPerRunFiles()
{
    ChatRunFiles::removeAll();
    emit m_events.membersChanged();
}
