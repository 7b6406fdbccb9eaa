#include "moderation/chatmoderation.h"

#include "chat/chatcommand.h"
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/clock.h"
#include "core/datetexts.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "files/chatbanlist.h"
#include "moderation/warningfile.h"

#include <cmath>

using ChatCommands::takeMessage;

namespace {

const QString Blank = QStringLiteral(" ");

bool isAdministrator(const QString &uin)
{
    return ChatStaff::holds(uin, ChatStaff::Administrator);
}

bool isModerator(const QString &uin)
{
    return ChatStaff::holds(uin, ChatStaff::Moderator);
}

bool isPremoderator(const QString &uin)
{
    return ChatStaff::holds(uin, ChatStaff::Premoderator);
}

// Text before / after the first blank; without a blank both are the whole text.
struct Split
{
    QString head;
    QString tail;
    bool hadBlank = false;
};

Split splitAtBlank(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return Split{text, text, false};
    return Split{text.left(blank), text.mid(blank + 1), true};
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A room number the chat's files accept, whose value is not zero.
bool isRoomNumber(const QString &number)
{
    if (!RoomNumber::isValid(number))
        return false;
    const std::optional<double> value = VbValues::toNumber(number);
    return value && *value != 0;
}

// The minute a moment falls in, counted from the start of the calendar.
qint64 minuteOf(const QDateTime &moment)
{
    return moment.date().toJulianDay() * 1440 + moment.time().hour() * 60 + moment.time().minute();
}

} // namespace

ChatModeration::ChatModeration(ChatService *chat, SendFunction send)
    : m_chat(chat)
    , m_send(std::move(send))
{}

// --- dispatcher ------------------------------------------------------------------------

StageOutcome ChatModeration::HandleChatAdminCommand(MessageState &state)
{
    const ChatCommandLine line = ChatCommands::parse(state.MessageText);
    const QString &arguments = line.argument;
    const QString sender = state.SenderUin;

    // Rooms and unbans: administrators only; anyone else's message passes on unanswered.
    auto administrators = [&](StageOutcome (ChatModeration::*block)(MessageState &, const QString &)) {
        if (!ChatStaff::isEmpty() && isAdministrator(sender))
            return (this->*block)(state, arguments);
        return StageOutcome::Continue;
    };
    // Kicks, bans and renames: the staff file must hold someone; a sender without the
    // role is refused.
    auto staff = [&](bool senior, StageOutcome (ChatModeration::*block)(MessageState &, const QString &)) {
        if (ChatStaff::isEmpty())
            return StageOutcome::Continue;
        const bool admitted =
            isAdministrator(sender) || isModerator(sender) || (!senior && isPremoderator(sender));
        if (!admitted) {
            reply(state, NoStaffRightsText);
            return takeMessage(state);
        }
        return (this->*block)(state, arguments);
    };

    switch (line.command) {
    case ChatCommand::DeleteRoom:
        return administrators(&ChatModeration::deleteRoom);
    case ChatCommand::CreateRoom:
        return administrators(&ChatModeration::createRoom);
    case ChatCommand::Unban:
        return administrators(&ChatModeration::unban);
    case ChatCommand::Kick:
        return staff(false, &ChatModeration::kick);
    case ChatCommand::Ban:
        return staff(false, &ChatModeration::timedBan);
    case ChatCommand::PermanentBan:
        return staff(true, &ChatModeration::permanentBan);
    case ChatCommand::Rename:
        return staff(true, &ChatModeration::rename);
    case ChatCommand::InvisibleOff:
        return invisibleOff(state);
    case ChatCommand::InvisibleOn:
        return invisibleOn(state);
    case ChatCommand::SetGroup:
        return setGroup(state, arguments);
    default:
        return StageOutcome::Continue;
    }
}

void ChatModeration::send(int slot, const QString &text, const QString &toUin)
{
    if (m_send)
        m_send(slot, text, toUin);
}

void ChatModeration::reply(const MessageState &state, const QString &text)
{
    send(state.slot > 0 ? state.slot : MainSlot, text, state.SenderUin);
}

void ChatModeration::memberLeaves(const QString &uin)
{
    if (m_chat) {
        m_chat->removeMember(uin);
        return;
    }
    if (const std::optional<ChatMember> member = ChatMemberList::find(uin)) {
        ChatMemberList::remove(uin);
        RoomMembers::remove(member->room, uin);
    }
}

// --- rooms -----------------------------------------------------------------------------

StageOutcome ChatModeration::deleteRoom(MessageState &state, const QString &arguments)
{
    const QString &number = arguments;
    if (!isRoomNumber(number)) {
        reply(state, RoomDataErrorText);
        return takeMessage(state);
    }
    if (TextFile::readAll(RoomList::FilePath).isEmpty())
        return takeMessage(state);
    if (m_chat)
        m_chat->removeRoom(number);
    else
        RoomList::remove(number);
    reply(state, RoomDeletedText);
    return takeMessage(state);
}

StageOutcome ChatModeration::createRoom(MessageState &state, const QString &arguments)
{
    const qsizetype blank = arguments.indexOf(QLatin1Char(' '));
    const QString number = blank >= 0 ? arguments.left(blank) : QString();
    const QString name = blank >= 0 ? arguments.mid(blank + 1) : QString();
    if (!isRoomNumber(number) || name.isEmpty() || holdsLineBreak(name)) {
        reply(state, RoomDataErrorText);
        return takeMessage(state);
    }
    if (RoomList::find(number)) {
        reply(state, RoomExistsText);
        return takeMessage(state);
    }
    const Room room{number, name};
    if (m_chat)
        m_chat->addRoom(room);
    else
        RoomList::add(room);
    reply(state, RoomCreatedText);
    return takeMessage(state);
}

// --- bans ------------------------------------------------------------------------------

QString ChatModeration::banField(const QString &text)
{
    QString field = text;
    field.replace(QLatin1String("\r\n"), Blank);
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    while (field.contains(QStringLiteral(":^:")))
        field.replace(QStringLiteral(":^:"), QStringLiteral(": :"));
    return field;
}

ChatModeration::BanOutcome ChatModeration::BanChatMember(MessageState &state, const QString &nick,
                                                         const QString &until, const QString &reason)
{
    const std::optional<ChatMember> target = ChatMemberList::findByNick(nick);
    if (!target)
        return BanOutcome::NotFound;
    const bool protectedTarget = isAdministrator(target->uin) || isModerator(target->uin);
    if (protectedTarget && !isAdministrator(state.SenderUin)) {
        reply(state, ProtectedBanText);
        takeMessage(state);
        return BanOutcome::Refused;
    }
    // Nobody hears of a ban that the list does not hold: the storage layer reports the
    // failure to the operator, the staff member hears it did not work.
    if (!ChatBanList::add(ChatBanList::Entry{banField(target->nick), target->uin, until, banField(reason)})) {
        reply(state, ChatService::SaveFailedText);
        takeMessage(state);
        return BanOutcome::Failed;
    }
    memberLeaves(target->uin);
    send(MainSlot, BannedText, target->uin);
    AdjustBanStatistics(+1);
    takeMessage(state);
    return BanOutcome::Banned;
}

QString ChatModeration::ComputeCalendarUntil(qint64 minutes)
{
    const QDateTime now = Clock::instance().now();
    return DateTexts::dateTimeText(now.addSecs(minutes * 60));
}

QString ChatModeration::PermanentUntil()
{
    const QDateTime now = Clock::instance().now();
    return DateTexts::dateText(now.date().addDays(PermanentDays)) + Blank + DateTexts::timeText(now.time());
}

void ChatModeration::AdjustBanStatistics(int delta)
{
    ChatStatistics::AddChatStatistic(ChatStatistics::Bans, delta);
}

bool ChatModeration::hasExpired(const QString &until, const QDateTime &now)
{
    const std::optional<QDateTime> end = ChatBanList::untilMoment(until);
    if (!end || !end->isValid())
        return false;
    return minuteOf(now) > minuteOf(*end);
}

void ChatModeration::ban_Timer()
{
    if (ChatBanList::entries().isEmpty())
        return;
    const QDateTime now = Clock::instance().now();
    ChatBanList::removeIf([&now](const ChatBanList::Entry &entry) { return hasExpired(entry.until, now); });
}

StageOutcome ChatModeration::timedBan(MessageState &state, const QString &arguments)
{
    const Split nickAndRest = splitAtBlank(arguments);
    const QString nick = nickAndRest.head;
    const QString rest = nickAndRest.tail;
    QString time;
    QString reason = NoReasonText;
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        const QString candidate = rest.mid(blank + 1);
        if (!candidate.isEmpty()) {
            time = rest.left(blank);
            reason = candidate;
        } else {
            time = rest;
        }
    } else {
        time = rest;
    }

    double minutes = 60;
    if (!time.trimmed().isEmpty()) {
        const std::optional<double> value = VbValues::toNumber(time.trimmed());
        // A ban lasts no less than nothing and no longer than a permanent one.
        if (!value || !std::isfinite(*value) || *value < 0 || *value > double(MaxBanMinutes)) {
            reply(state, BanUsageText);
            return takeMessage(state);
        }
        minutes = *value;
    }
    const QDateTime now = Clock::instance().now();
    const QString until = DateTexts::dateTimeText(now.addSecs(qint64(std::llround(minutes * 60))));
    if (BanChatMember(state, nick, until, reason) == BanOutcome::NotFound)
        return StageOutcome::Continue;
    return takeMessage(state);
}

StageOutcome ChatModeration::permanentBan(MessageState &state, const QString &arguments)
{
    const Split split = splitAtBlank(arguments);
    const QString reason = split.hadBlank && !split.tail.isEmpty() ? split.tail : NoReasonText;
    if (BanChatMember(state, split.head, PermanentUntil(), reason) == BanOutcome::NotFound)
        return StageOutcome::Continue;
    return takeMessage(state);
}

StageOutcome ChatModeration::unban(MessageState &state, const QString &arguments)
{
    const QString &nick = arguments;
    // A list of empty lines is no empty list: the command is taken.
    if (TextFile::readAll(ChatBanList::FilePath).isEmpty())
        return StageOutcome::Continue;
    QList<ChatBanList::Entry> removed;
    if (!ChatBanList::removeNick(nick, &removed)) {
        reply(state, ChatService::SaveFailedText);
        return takeMessage(state);
    }
    if (!removed.isEmpty()) {
        send(MainSlot, UnbannedText, removed.last().number);
        AdjustBanStatistics(-1);
    }
    return takeMessage(state);
}

// --- warnings --------------------------------------------------------------------------

QString ChatModeration::warningReason(const QString &giverUin, int count) const
{
    const std::optional<ChatMember> giver = ChatMemberList::find(giverUin);
    return QStringLiteral("Получил ") + QString::number(count) +
           QStringLiteral(" предупреждений. Последнее предупреждение дал: ") +
           (giver ? giver->nick : QString());
}

StageOutcome ChatModeration::kick(MessageState &state, const QString &arguments)
{
    const QString &nick = arguments;
    // A nick with a line break would write lines of other nicks into the warning file.
    if (holdsLineBreak(nick))
        return takeMessage(state);
    bool wasEmpty = false;
    const int count = WarningFile::addWarning(nick, &wasEmpty);
    // The first registration of the nick hears of it; every one when the warning file
    // was new.
    for (const Registration &registration : RegistrationList::registrations()) {
        if (registration.nick != nick)
            continue;
        reply(MessageState{registration.uin, {}, {}, false, false, state.slot}, WarnedText);
        if (!wasEmpty)
            break;
    }
    // A first warning is only counted: nobody leaves the chat without the ban routine
    // and its protection of the staff.
    if (count < 2)
        return takeMessage(state);
    // The warning is counted whether or not the nick is in the chat to be banned; the
    // message is taken either way, so the chat's second look cannot count it again.
    BanChatMember(state, nick, ComputeFixedUntil(qint64(60) * count), warningReason(state.SenderUin, count));
    return takeMessage(state);
}

void ChatModeration::WarnChatSender(MessageState &state)
{
    if (ChatStaff::isEmpty())
        return;
    const std::optional<ChatMember> member = ChatMemberList::find(state.SenderUin);
    if (!member) {
        state.MessageHandled = true;
        return;
    }
    const int count = WarningFile::addWarning(member->nick);
    if (count >= 2)
        BanChatMember(state, member->nick, ComputeFixedUntil(qint64(60) * count),
                      warningReason(state.SenderUin, count));
    state.MessageHandled = true;
}

// --- rename ----------------------------------------------------------------------------

StageOutcome ChatModeration::rename(MessageState &state, const QString &arguments)
{
    const Split split = splitAtBlank(arguments);
    const QString oldNick = split.head;
    // "!НИК Вася " names no new nick: the nick stays as it is.
    const QString newNick = split.tail.isEmpty() ? oldNick : split.tail;
    const std::optional<ChatMember> target = ChatMemberList::findByNick(oldNick);
    if (!target)
        return StageOutcome::Continue;
    const bool protectedTarget = isAdministrator(target->uin) || isModerator(target->uin);
    if (protectedTarget && !isAdministrator(state.SenderUin)) {
        reply(state, ProtectedRenameText);
        return takeMessage(state);
    }
    // A nick with the list separator or a line break would not read back from the chat's
    // files (and would forge lines of the ban list).
    if (newNick.contains(QStringLiteral(":^:")) || holdsLineBreak(newNick)) {
        reply(state, NickForbiddenText);
        return takeMessage(state);
    }
    // Every lookup by nick (roles, kicks, bans, whispers) takes the first line that
    // carries it: a nick somebody else holds is not given again.
    if (ChatNicks::heldByAnother(newNick, target->uin)) {
        reply(state, ChatService::NickTakenText);
        return takeMessage(state);
    }
    bool renamed = false;
    if (m_chat) {
        renamed = m_chat->renameMember(target->uin, newNick);
    } else {
        renamed = ChatMemberList::rename(target->uin, newNick);
        RoomMembers::rename(target->room, target->uin, newNick);
    }
    if (!renamed) {
        reply(state, ChatService::SaveFailedText);
        return takeMessage(state);
    }
    reply(MessageState{target->uin, {}, {}, false, false, state.slot}, RenamedText + newNick);
    return takeMessage(state);
}

// --- invisibility ----------------------------------------------------------------------

StageOutcome ChatModeration::invisibleOff(MessageState &state)
{
    if (ChatStaff::isEmpty())
        return takeMessage(state);
    if (TextFile::readAll(InvisibleList::FilePath).isEmpty())
        return takeMessage(state);
    const bool found = InvisibleList::remove(state.SenderUin);
    reply(state, found ? InvisibleOffText : NotInvisibleText);
    return takeMessage(state);
}

StageOutcome ChatModeration::invisibleOn(MessageState &state)
{
    if (ChatStaff::isEmpty())
        return takeMessage(state);
    if (!isAdministrator(state.SenderUin) && !isModerator(state.SenderUin)) {
        reply(state, NoInvisibleRightsText);
        return takeMessage(state);
    }
    if (InvisibleList::contains(state.SenderUin)) {
        reply(state, AlreadyInvisibleText);
        return takeMessage(state);
    }
    InvisibleList::add(state.SenderUin);
    reply(state, InvisibleOnText);
    return takeMessage(state);
}

// --- roles -----------------------------------------------------------------------------

StageOutcome ChatModeration::setGroup(MessageState &state, const QString &arguments)
{
    if (ChatStaff::isEmpty() || !isAdministrator(state.SenderUin))
        return takeMessage(state);
    const Split split = splitAtBlank(arguments);
    const QString group = ChatCommands::upperCase(split.head);
    const QString &nick = split.tail;
    const std::optional<Registration> registration = RegistrationList::findByNick(nick);
    if (!registration)
        return takeMessage(state);
    const QString &uin = registration->uin;

    QString role;
    if (group == QLatin1String("ADMIN"))
        role = ChatStaff::Administrator;
    else if (group == QLatin1String("MODERATOR"))
        role = ChatStaff::Moderator;
    else if (group == QLatin1String("PREMODERATOR"))
        role = ChatStaff::Premoderator;
    else if (group == QLatin1String("USER")) {
        ChatStaff::removeAll(uin);
        return takeMessage(state);
    } else {
        return takeMessage(state);
    }

    for (const ChatStaff::Entry &entry : ChatStaff::entries()) {
        if (entry.uin == uin) {
            reply(state, UinExistsText);
            return takeMessage(state);
        }
    }
    ChatStaff::add(role, uin);
    return takeMessage(state);
}
