#include "chat/chatmembercommands.h"

#include "chat/chatdelivery.h"
#include "chat/chatevents.h"
#include "chat/chatmembership.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chattexts.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QHash>
#include <QSet>

using ChatCommands::takeMessage;

ChatMemberCommands::ChatMemberCommands(ChatDelivery &delivery, ChatMembership &membership, ChatEvents &events)
    : m_delivery(delivery)
    , m_membership(membership)
    , m_events(events)
{}

StageOutcome ChatMemberCommands::handle(MessageState &state, const ChatMember &member)
{
    const ChatCommandLine line = ChatCommands::parse(state.MessageText);
    switch (line.command) {
    case ChatCommand::Private:
        return privateMessage(state, member, line);
    case ChatCommand::Ignore:
        return ignore(state, line.argument, true);
    case ChatCommand::Unignore:
        return ignore(state, line.argument, false);
    case ChatCommand::StaffList:
        return staffList(state);
    case ChatCommand::Statistics:
        return statistics(state);
    case ChatCommand::History:
        return history(state);
    case ChatCommand::MemberList:
        return memberList(state);
    case ChatCommand::RoomList:
        return roomList(state);
    case ChatCommand::RoomMembers:
        return roomMembers(state, line.argument);
    case ChatCommand::ChangeRoom:
        return m_membership.changeRoom(state, member, line.argument);
    case ChatCommand::Leave:
        return m_membership.leave(state, member);
    default:
        // A stranger's or the staff's word from a member is a chat line.
        return chatLine(state, member);
    }
}

// --- chat lines ------------------------------------------------------------------------

StageOutcome ChatMemberCommands::chatLine(MessageState &state, const ChatMember &member)
{
    // The values of this message, whatever runs later.
    const QString uin = state.SenderUin;
    if (ObscenityLists::findObscenity(state.MessageText)) {
        m_delivery.reply(state, ChatTexts::ObscenityText);
        if (m_warnSender)
            m_warnSender(state);
        return takeMessage(state);
    }
    ChatStatistics::AddChatStatistic(ChatStatistics::Lines, 1);
    state.MessageText = RoomQueue::encodeBreaks(state.MessageText);
    m_delivery.queueChatLine(uin, member.nick, member.room, state.MessageText);
    return takeMessage(state);
}

// --- private messages and ignore lists -------------------------------------------------

StageOutcome ChatMemberCommands::privateMessage(MessageState &state, const ChatMember &member,
                                                const ChatCommandLine &line)
{
    // The word is ">>nick"; a message without a blank names nobody.
    const QString nick = line.word.mid(2);
    if (!ChatOptions::isSet(ChatOptions::PrivateMessages)) {
        m_delivery.reply(state, ChatTexts::PrivateOffText);
        return takeMessage(state);
    }
    const std::optional<ChatMember> recipient =
        line.word.isEmpty() ? std::nullopt : ChatMemberList::findByNick(nick);
    const std::optional<double> number = recipient ? VbValues::toNumber(recipient->uin) : std::nullopt;
    if (!recipient || !number || *number == 0) {
        m_delivery.reply(state, ChatTexts::NoSuchNickText);
        return takeMessage(state);
    }
    ChatLog::AddChatLogEntry(ChatLog::stamp() + ChatTexts::LogPrivate + state.SenderUin +
                                 QStringLiteral(" к ") + nick + QLatin1Char(' ') + state.MessageText,
                             false);
    emit m_events.logChanged();
    m_delivery.sendParts(ChatDelivery::slotFor(recipient->uin, state.slot),
                         ChatTexts::PrivateLead + member.nick + ChatTexts::CrLf + line.argument,
                         recipient->uin, state.slot);
    return takeMessage(state);
}

StageOutcome ChatMemberCommands::ignore(MessageState &state, const QString &nick, bool on)
{
    TextFile::ensureFolder(IgnoreList::Folder);
    const std::optional<Registration> target = RegistrationList::findByNick(nick);
    if (!target) {
        m_delivery.reply(state, ChatTexts::NoSuchMemberText);
        return takeMessage(state);
    }
    if (on) {
        m_delivery.reply(state, IgnoreList::add(state.SenderUin, target->uin) ? ChatTexts::IgnoredText
                                                                              : ChatTexts::SaveFailedText);
    } else if (!TextFile::readAll(IgnoreList::filePath(state.SenderUin)).isEmpty()) {
        m_delivery.reply(state, IgnoreList::remove(state.SenderUin, target->uin) ? ChatTexts::UnignoredText
                                                                                 : ChatTexts::SaveFailedText);
    }
    return takeMessage(state);
}

// --- information commands --------------------------------------------------------------

StageOutcome ChatMemberCommands::staffList(MessageState &state)
{
    const QString &crLf = ChatTexts::CrLf;
    QStringList admins, moderators, premoderators;
    // The first registration of a number names it.
    QHash<QString, QString> nickOf;
    for (const Registration &registration : RegistrationList::registrations()) {
        if (!nickOf.contains(registration.uin))
            nickOf.insert(registration.uin, registration.nick);
    }
    for (const ChatStaff::Entry &entry : ChatStaff::entries()) {
        const QString nick = nickOf.value(entry.uin);
        if (entry.role == ChatStaff::Administrator)
            admins.append(nick);
        else if (entry.role == ChatStaff::Moderator)
            moderators.append(nick);
        else
            premoderators.append(nick);
    }
    m_delivery.reply(state, QStringLiteral("Администраторы:") + crLf + admins.join(crLf) + crLf + crLf +
                                QStringLiteral("Модераторы:") + crLf + moderators.join(crLf) + crLf + crLf +
                                QStringLiteral("Премодераторы") + QLatin1Char(':') + crLf +
                                premoderators.join(crLf));
    return takeMessage(state);
}

StageOutcome ChatMemberCommands::statistics(MessageState &state)
{
    const QStringList day = ChatStatistics::dayValues();
    const QStringList total = ChatStatistics::totalValues();
    const QStringList lines = {
        QStringLiteral("Статистика за сегодня:"),
        QStringLiteral("Зарегестрировано: ") + day[0],
        QStringLiteral("Авторизовано: ") + day[1],
        QStringLiteral("Сообщений: ") + day[3],
        QStringLiteral("Забанено: ") + day[2],
        QString(),
        QStringLiteral("Всего:"),
        QStringLiteral("Зарегестрировано: ") + total[0],
        QStringLiteral("Авторизовано: ") + total[1],
        QStringLiteral("Сообщений: ") + total[3],
        QStringLiteral("Забанено: ") + total[2],
    };
    m_delivery.reply(state, lines.join(ChatTexts::CrLf));
    return takeMessage(state);
}

StageOutcome ChatMemberCommands::history(MessageState &state)
{
    if (!ChatOptions::isSet(ChatOptions::HistoryAllowed)) {
        m_delivery.reply(state, ChatTexts::FunctionOffText);
        return takeMessage(state);
    }
    const QStringList before = ChatLog::lines();
    ChatLog::AddChatLogEntry(ChatLog::stamp() + ChatTexts::LogHistoryRequest + state.SenderUin, true);
    emit m_events.logChanged();

    QString answer = ChatTexts::HistoryHeading + ChatTexts::CrLf;
    for (const QString &line : before) {
        // The event text starts after the date and the time.
        const qsizetype first = line.indexOf(QLatin1Char(' '));
        const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(' '), first + 1);
        if (second >= 0 && QStringView(line).mid(second).startsWith(ChatTexts::LogPrivate))
            continue;
        if (answer.size() + line.size() + 2 > ChatDelivery::MaxMessageLength)
            break;
        answer += line + ChatTexts::CrLf;
    }
    state.ReplyText = answer;
    state.MessageHandled = false;
    return StageOutcome::Continue;
}

StageOutcome ChatMemberCommands::memberList(MessageState &state)
{
    if (!ChatOptions::isSet(ChatOptions::MemberListAllowed)) {
        m_delivery.reply(state, ChatTexts::FunctionOffText);
        return takeMessage(state);
    }
    const bool showUins = ChatOptions::isSet(ChatOptions::ShowMemberUins);
    ChatLog::AddChatLogEntry(ChatLog::stamp() + ChatTexts::LogListRequest + state.SenderUin, true);
    emit m_events.logChanged();
    const QList<ChatMember> members = ChatMemberList::members();
    if (members.isEmpty())
        return takeMessage(state);
    const QSet<QString> invisible = InvisibleList::uins();
    const QString &dash = ChatTexts::Dash;
    QStringList entries;
    for (const ChatMember &member : members) {
        if (invisible.contains(member.uin))
            continue;
        entries.append(showUins ? member.nick + dash + member.uin + dash + member.room
                                : member.nick + dash + member.room);
    }
    m_delivery.reply(state, entries.isEmpty() ? ChatTexts::NobodyText
                                              : ChatTexts::MemberListHeading + ChatTexts::CrLf +
                                                    entries.join(ChatTexts::CrLf));
    return takeMessage(state);
}

// --- rooms -----------------------------------------------------------------------------

StageOutcome ChatMemberCommands::roomList(MessageState &state)
{
    const ChatDelivery::MemberRooms members = ChatDelivery::memberRooms();
    auto count = [&](const QString &room) {
        return RoomNumber::isValid(room) ? int(ChatDelivery::occupants(room, members).size()) : 0;
    };
    QStringList lines = {QStringLiteral("0 - ") + RoomNumber::CommonName + QLatin1Char('(') +
                         QString::number(count(RoomNumber::Common)) + QLatin1Char(')')};
    for (const Room &room : RoomList::rooms())
        lines.append(room.number + ChatTexts::Dash + room.name + QLatin1Char('(') +
                     QString::number(count(room.number)) + QLatin1Char(')'));
    m_delivery.reply(state, lines.join(ChatTexts::CrLf));
    return takeMessage(state);
}

StageOutcome ChatMemberCommands::roomMembers(MessageState &state, const QString &room)
{
    QStringList entries;
    if (RoomNumber::isValid(room)) {
        const bool showUins = ChatOptions::isSet(ChatOptions::ShowMemberUins);
        const QSet<QString> invisible = InvisibleList::uins();
        for (const RoomMembers::Entry &entry : ChatDelivery::occupants(room, ChatDelivery::memberRooms())) {
            if (invisible.contains(entry.uin))
                continue;
            entries.append(showUins ? entry.line() : entry.nick);
        }
    }
    m_delivery.reply(state, entries.isEmpty() ? ChatTexts::EmptyRoomText : entries.join(ChatTexts::CrLf));
    return takeMessage(state);
}
