#include "chat/chatservice.h"

#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "core/namedtimer.h"
#include "core/random.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "session/distribution.h"

#include <algorithm>

#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Dash = QStringLiteral(" - ");

QString upper(const QString &text)
{
    return VbValues::upperCase(text);
}

// The text before the first blank, upper-cased; empty when there is no blank.
QString firstWord(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : upper(text.left(blank));
}

// The text after the first blank, as it stands; empty when there is no blank.
QString argument(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : text.mid(blank + 1);
}

bool isOneOf(const QString &value, std::initializer_list<const char16_t *> words)
{
    for (const char16_t *word : words) {
        if (value == QStringView(word))
            return true;
    }
    return false;
}

NamedTimer *timerOf(TimerRegistry &timers, const QString &name, int designMs)
{
    NamedTimer *timer = timers.timer(name);
    return timer ? timer : timers.add(name, designMs);
}

QHash<QString, int> assignments()
{
    QHash<QString, int> slotOf;
    for (const QString &line : TextFile::readLines(BotDistribution::AssignmentFile)) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank <= 0)
            continue;
        bool ok = false;
        const int slot = line.left(blank).toInt(&ok);
        const QString uin = line.mid(blank + 1);
        if (ok && slot > 0 && !slotOf.contains(uin))
            slotOf.insert(uin, slot);
    }
    return slotOf;
}

} // namespace

ChatService::ChatService(TimerRegistry &timers, SendFunction send, QObject *parent)
    : QObject(parent)
    , m_timers(timers)
    , m_send(std::move(send))
{
    timerOf(timers, QStringLiteral("Timer10"), DefaultDeliveryMs);
    timerOf(timers, QStringLiteral("auto_soob"), 0);
    timerOf(timers, QStringLiteral("chat_tim"), 10000);
    timers.attach(QStringLiteral("Timer10"), [this] { Timer10_Timer(); });
    timers.attach(QStringLiteral("auto_soob"), [this] { auto_soob_Timer(); });
    timers.attach(QStringLiteral("chat_tim"), [this] { chat_tim_Timer(); });
    ChatLog::open();
}

ChatService::~ChatService()
{
    for (const char *name : {"Timer10", "auto_soob", "chat_tim"}) {
        if (NamedTimer *timer = m_timers.timer(QString::fromLatin1(name)))
            timer->setHandler({});
    }
}

// --- helpers ---------------------------------------------------------------------------

QString ChatService::ApplyLastCharacterRule(const QString &text, CharacterSet set)
{
    if (text.isEmpty())
        return text;
    const QChar last = text.back();
    static const QString memberPunctuation = QStringLiteral("!~@#$%^&*()-_=+{[]}:;'<,>.№?/\\|`\" ");
    static const QString nickPunctuation = QStringLiteral("~@#$%^&*()-_=+{[]}:;'<,>.№?/\\|` ");
    const QString &punctuation = set == CharacterSet::Member ? memberPunctuation : nickPunctuation;
    bool allowed = (last >= QLatin1Char('0') && last <= QLatin1Char('9')) || punctuation.contains(last);
    if (!allowed) {
        const QString up = upper(QString(last));
        const QChar u = up.isEmpty() ? last : up.front();
        allowed = (u >= QLatin1Char('A') && u <= QLatin1Char('Z')) || (u >= QChar(0x0410) && u <= QChar(0x042F));
    }
    return allowed ? text : text.chopped(1);
}

QString ChatService::EncodeLineBreaks(const QString &text)
{
    return RoomQueue::encodeBreaks(text);
}

QStringList ChatService::splitMessage(const QString &text)
{
    // One pass over the text: a part is a run of whole lines, or a piece of a line too
    // long for one message.
    QStringList parts;
    const QStringView all(text);
    qsizetype partStart = -1; // where the part being gathered starts
    qsizetype partEnd = 0;
    qsizetype lineStart = 0;
    while (true) {
        qsizetype lineEnd = text.indexOf(CrLf, lineStart);
        const bool last = lineEnd < 0;
        if (last)
            lineEnd = text.size();
        if (partStart >= 0 && lineEnd - partStart <= MaxMessageLength) {
            partEnd = lineEnd;
        } else {
            if (partStart >= 0)
                parts.append(all.mid(partStart, partEnd - partStart).toString());
            qsizetype at = lineStart;
            while (lineEnd - at > MaxMessageLength) {
                parts.append(all.mid(at, MaxMessageLength).toString());
                at += MaxMessageLength;
            }
            partStart = at;
            partEnd = lineEnd;
        }
        if (last)
            break;
        lineStart = lineEnd + CrLf.size();
    }
    parts.append(all.mid(partStart, partEnd - partStart).toString());
    return parts;
}

int ChatService::slotFor(const QString &uin, int fallback) const
{
    const int slot = BotDistribution::assignedSlot(uin);
    return slot > 0 ? slot : fallback;
}

int ChatService::sendParts(int slot, const QString &text, const QString &toUin, int fallback)
{
    if (!m_send || text.isEmpty())
        return 0;
    return sendSplit(slot, splitMessage(text), toUin, fallback);
}

int ChatService::sendSplit(int slot, const QStringList &parts, const QString &toUin, int fallback)
{
    if (!m_send)
        return 0;
    int sent = 0;
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;
        // A bot that is down hands its part to the fallback bot.
        if (m_send(slot, part, toUin) || (fallback > 0 && fallback != slot && m_send(fallback, part, toUin)))
            ++sent;
    }
    return sent;
}

void ChatService::reply(const MessageState &state, const QString &text)
{
    sendParts(state.slot, text, state.SenderUin);
}

StageOutcome ChatService::handled(MessageState &state)
{
    state.MessageHandled = true;
    return StageOutcome::Stop;
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

std::optional<int> ChatService::deliveryInterval()
{
    const QString line = ChatSwitch::intervalText();
    if (line.isEmpty())
        return DefaultDeliveryMs;
    const std::optional<double> seconds = VbValues::toNumber(line);
    if (!seconds || !std::isfinite(*seconds) || *seconds < MinDeliverySeconds || *seconds > MaxDeliverySeconds)
        return std::nullopt;
    return int(std::lround(*seconds * 1000));
}

ChatService::MemberRooms ChatService::memberRooms()
{
    MemberRooms rooms;
    for (const ChatMember &member : ChatMemberList::members()) {
        if (!rooms.roomOf.contains(member.uin)) {
            rooms.roomOf.insert(member.uin, member.room);
            rooms.occupied.insert(member.room);
        }
    }
    return rooms;
}

QList<RoomMembers::Entry> ChatService::occupants(const QString &room, const MemberRooms &memberRooms) const
{
    QList<RoomMembers::Entry> list;
    if (!memberRooms.occupied.contains(room))
        return list;
    QSet<QString> seen;
    for (const RoomMembers::Entry &entry : RoomMembers::entries(room)) {
        if (seen.contains(entry.uin))
            continue;
        const auto it = memberRooms.roomOf.constFind(entry.uin);
        if (it == memberRooms.roomOf.constEnd() || it.value() != room)
            continue;
        seen.insert(entry.uin);
        list.append(entry);
    }
    return list;
}

void ChatService::queueNotice(const QString &room, const QString &notice)
{
    RoomQueue::appendNotice(room, notice);
}

void ChatService::dropStaleRoomLines(const QString &uin)
{
    // The room files there are, not the room list: a long list costs nothing here.
    for (const QString &room : RoomMembers::rooms()) {
        if (room != RoomNumber::Common)
            RoomMembers::remove(room, uin);
    }
}

// --- entry -----------------------------------------------------------------------------

StageOutcome ChatService::HandleChatMessage(MessageState &state)
{
    if (const std::optional<StageOutcome> taken = takenByModeration(state))
        return *taken;
    if (!ChatSwitch::isOn())
        return StageOutcome::Continue;

    if (std::optional<ChatMember> member = ChatMemberList::find(state.SenderUin)) {
        state.MessageText = ApplyLastCharacterRule(state.MessageText, CharacterSet::Member);
        if (const std::optional<StageOutcome> taken = takenByModeration(state))
            return *taken;
        Member m{state, *member};
        return dispatchMember(m);
    }

    const QString whole = upper(state.MessageText);
    if (whole == QStringView(u"!ЧАТ") || whole == QLatin1String("!CHAT"))
        return JoinCommonRoom(state);
    const QString word = firstWord(state.MessageText);
    if (word == QStringView(u"!РЕГ") || word == QLatin1String("!REG"))
        return RegisterNick(state);
    return StageOutcome::Continue;
}

StageOutcome ChatService::dispatchMember(Member &m)
{
    const QString &text = m.state.MessageText;
    const QString whole = upper(text);
    const QString word = firstWord(text);
    if (text.startsWith(QLatin1String(">>")))
        return privateMessage(m);
    if (isOneOf(word, {u"!IGNOR", u"!ИГНОР"}))
        return ignore(m, true);
    if (isOneOf(word, {u"!UIGNOR", u"!УИГНОР"}))
        return ignore(m, false);
    if (isOneOf(whole, {u"!ADM", u"!АДМ"}))
        return staffList(m);
    if (isOneOf(whole, {u"!STAT", u"!САТИСТИКА"}))
        return statistics(m);
    if (whole == QStringView(u"!ИСТОРИЯ"))
        return history(m);
    if (whole == QStringView(u"!СПИСОК"))
        return memberList(m);
    if (isOneOf(whole, {u"!ALLROOM", u"!СПКОМНАТ"}))
        return roomList(m);
    if (isOneOf(word, {u"!INROOM", u"!ВКОМНАТЕ"}))
        return roomMembers(m);
    if (word == QLatin1String("!ROOM"))
        return changeRoom(m);
    if (isOneOf(whole, {u"!ВЫХОД", u"!EXIT"}))
        return leave(m);
    return QueueChatLine(m);
}

// --- registration and joining ----------------------------------------------------------

void ChatService::ArmDeliveryTimer()
{
    NamedTimer *timer = m_timers.timer(QStringLiteral("Timer10"));
    if (!timer)
        return;
    if (const std::optional<int> ms = deliveryInterval(); ms && timer->interval() != *ms)
        timer->setInterval(*ms);
    timer->setEnabled(true);
}

void ChatService::queueJoinNotice(const QString &uin, const QString &nick, const QString &room,
                                  const QString &logLine)
{
    const bool notice = ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin);
    if (notice)
        queueNotice(room, JoinNotice + nick);
    ChatLog::AddChatLogEntry(logLine, notice);
    emit logChanged();
}

StageOutcome ChatService::RegisterNick(MessageState &state)
{
    const QString uin = state.SenderUin;
    const QString nick = ApplyLastCharacterRule(argument(state.MessageText), CharacterSet::Nick);
    if (ChatMemberList::find(uin)) {
        reply(state, AlreadyInChatText);
        return handled(state);
    }
    const bool blankOrControl = std::any_of(nick.begin(), nick.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    });
    if (blankOrControl) {
        reply(state, NickBlankText);
        return handled(state);
    }
    if (nick.contains(RoomQueue::Separator) || nick.contains(RoomQueue::BreakCode)) {
        reply(state, NickForbiddenText);
        return handled(state);
    }
    if (nick.size() > MaxNickLength) {
        reply(state, NickTooLongText);
        return handled(state);
    }
    if (RegistrationList::find(uin)) {
        reply(state, OneNickText);
        return handled(state);
    }
    if (ChatNicks::heldByAnother(nick, uin)) {
        reply(state, NickTakenText);
        return handled(state);
    }

    if (!RegistrationList::add(Registration{uin, nick})) {
        reply(state, SaveFailedText);
        return handled(state);
    }
    ChatStatistics::AddChatStatistic(ChatStatistics::Registrations, 1);
    dropStaleRoomLines(uin);
    // Registered but not in the chat: "!chat" lets him in later.
    if (!ChatMemberList::add(ChatMember{uin, nick, RoomNumber::Common})) {
        reply(state, SaveFailedText);
        return handled(state);
    }
    RoomMembers::add(RoomNumber::Common, uin, nick);
    m_chatState = ConnectedState;
    reply(state, RegisteredLines.join(CrLf));
    queueJoinNotice(uin, nick, RoomNumber::Common, ChatLog::stamp() + LogRegistered + uin + Dash + nick);
    emit membersChanged();
    ArmDeliveryTimer();
    return handled(state);
}

StageOutcome ChatService::JoinCommonRoom(MessageState &state)
{
    const QString uin = state.SenderUin;
    const std::optional<Registration> registration = RegistrationList::find(uin);
    if (!registration) {
        reply(state, NotRegisteredText);
        return handled(state);
    }
    if (ChatMemberList::find(uin)) {
        reply(state, AlreadyInChatText);
        return handled(state);
    }
    const QString nick = registration->nick;
    dropStaleRoomLines(uin);
    if (!ChatMemberList::add(ChatMember{uin, nick, RoomNumber::Common})) {
        reply(state, SaveFailedText);
        return handled(state);
    }
    RoomMembers::add(RoomNumber::Common, uin, nick);
    queueJoinNotice(uin, nick, RoomNumber::Common, ChatLog::stamp() + LogJoined + uin + Dash + nick);
    emit membersChanged();
    ArmDeliveryTimer();
    m_chatState = ConnectedState;
    reply(state, JoinedText);
    ChatStatistics::AddChatStatistic(ChatStatistics::Joins, 1);
    return handled(state);
}

// --- chat lines ------------------------------------------------------------------------

StageOutcome ChatService::QueueChatLine(Member &m)
{
    MessageState &state = m.state;
    // The values of this message, whatever runs later.
    const QString uin = state.SenderUin;
    const QString nick = m.member.nick;
    const QString room = m.member.room;

    if (ObscenityLists::findObscenity(state.MessageText)) {
        reply(state, ObscenityText);
        if (m_warnSender)
            m_warnSender(state);
        return handled(state);
    }
    ChatStatistics::AddChatStatistic(ChatStatistics::Lines, 1);

    const QList<bool> options = ChatOptions::readAll();
    const QString date = ChatLog::stamp().section(QLatin1Char(' '), 0, 0);
    const QString time = ChatLog::stamp().section(QLatin1Char(' '), 1, 1);
    QStringList pieces;
    if (options.value(0))
        pieces.append(date);
    if (options.value(1))
        pieces.append(time);
    if (options.value(2))
        pieces.append(uin);
    if (options.value(3))
        pieces.append(nick);
    const QString prefix = pieces.isEmpty()
                               ? date + QLatin1Char(' ') + time + QLatin1Char(' ') + uin + Dash + nick
                               : pieces.join(QLatin1Char(' '));

    state.MessageText = EncodeLineBreaks(state.MessageText);
    RoomQueue::appendDataLine(room, uin, prefix + QStringLiteral(": ") + state.MessageText);
    ChatLog::AddChatLogEntry(ChatLog::stamp() + QLatin1Char(' ') + uin + Dash + nick + QStringLiteral("группа:") +
                                 room + QStringLiteral(": ") + state.MessageText,
                             true);
    emit logChanged();

    NamedTimer *timer = m_timers.timer(QStringLiteral("Timer10"));
    if (timer && !timer->isEnabled()) {
        if (const std::optional<int> ms = deliveryInterval(); ms && timer->interval() != *ms)
            timer->setInterval(*ms);
        timer->setEnabled(true);
    }
    return handled(state);
}

// --- delivery --------------------------------------------------------------------------

void ChatService::Timer10_Timer()
{
    // Every queue is taken whole before anything is sent: a line queued meanwhile goes
    // into a new queue for the next tick. The queue files there are name the rooms to
    // serve (a deleted room's too), so a long room list costs the tick nothing.
    const QStringList rooms = RoomQueue::rooms();
    if (rooms.isEmpty()) {
        emit delivered(0);
        return;
    }

    const MemberRooms members = memberRooms();
    const QHash<QString, int> slotOf = assignments();
    QHash<QString, QSet<QString>> ignoreLists;
    int messages = 0;
    for (const QString &room : std::as_const(rooms)) {
        const QStringList queued = RoomQueue::take(room);
        if (queued.isEmpty())
            continue;
        QList<RoomQueue::Line> lines;
        for (const QString &text : queued) {
            if (std::optional<RoomQueue::Line> line = RoomQueue::parse(text))
                lines.append(*line);
        }
        // Members who see the same lines get the same parts: a long queue is split once.
        QList<qsizetype> lastShown;
        QStringList lastParts;
        for (const RoomMembers::Entry &entry : occupants(room, members)) {
            auto ignoredIt = ignoreLists.find(entry.uin);
            if (ignoredIt == ignoreLists.end())
                ignoredIt = ignoreLists.insert(entry.uin, IgnoreList::ignored(entry.uin));
            QList<qsizetype> shown;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (lines[i].notice || !ignoredIt.value().contains(lines[i].senderUin))
                    shown.append(i);
            }
            if (shown.isEmpty())
                continue;
            if (shown != lastShown) {
                QStringList pieces;
                for (const qsizetype i : std::as_const(shown))
                    pieces.append(lines[i].text);
                lastParts = splitMessage(pieces.join(CrLf));
                lastShown = shown;
            }
            // A member the distribution has let go, or whose bot is down, hears the chat
            // through the main bot.
            messages += sendSplit(slotOf.value(entry.uin, 1), lastParts, entry.uin, 1);
        }
    }
    emit delivered(messages);
}

// --- private messages and ignore lists -------------------------------------------------

StageOutcome ChatService::privateMessage(Member &m)
{
    MessageState &state = m.state;
    const qsizetype blank = state.MessageText.indexOf(QLatin1Char(' '));
    const QString nick = blank < 0 ? QString() : state.MessageText.left(blank).mid(2);
    const QString text = argument(state.MessageText);
    if (!ChatOptions::isSet(ChatOptions::PrivateMessages)) {
        reply(state, PrivateOffText);
        return handled(state);
    }
    const std::optional<ChatMember> recipient = blank < 0 ? std::nullopt : ChatMemberList::findByNick(nick);
    const std::optional<double> number = recipient ? VbValues::toNumber(recipient->uin) : std::nullopt;
    if (!recipient || !number || *number == 0) {
        reply(state, NoSuchNickText);
        return handled(state);
    }
    ChatLog::AddChatLogEntry(ChatLog::stamp() + LogPrivate + state.SenderUin + QStringLiteral(" к ") + nick +
                                 QLatin1Char(' ') + state.MessageText,
                             false);
    emit logChanged();
    sendParts(slotFor(recipient->uin, state.slot), PrivateLead + m.member.nick + CrLf + text, recipient->uin,
              state.slot);
    return handled(state);
}

StageOutcome ChatService::ignore(Member &m, bool on)
{
    MessageState &state = m.state;
    TextFile::ensureFolder(IgnoreList::Folder);
    const std::optional<Registration> target = RegistrationList::findByNick(argument(state.MessageText));
    if (!target) {
        reply(state, NoSuchMemberText);
        return handled(state);
    }
    if (on) {
        reply(state, IgnoreList::add(state.SenderUin, target->uin) ? IgnoredText : SaveFailedText);
    } else if (!TextFile::readAll(IgnoreList::filePath(state.SenderUin)).isEmpty()) {
        reply(state, IgnoreList::remove(state.SenderUin, target->uin) ? UnignoredText : SaveFailedText);
    }
    return handled(state);
}

// --- information commands --------------------------------------------------------------

StageOutcome ChatService::staffList(Member &m)
{
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
    reply(m.state, QStringLiteral("Администраторы:") + CrLf + admins.join(CrLf) + CrLf + CrLf +
                       QStringLiteral("Модераторы:") + CrLf + moderators.join(CrLf) + CrLf + CrLf +
                       QStringLiteral("Премодераторы") + QLatin1Char(':') + CrLf + premoderators.join(CrLf));
    return handled(m.state);
}

StageOutcome ChatService::statistics(Member &m)
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
    reply(m.state, lines.join(CrLf));
    return handled(m.state);
}

StageOutcome ChatService::history(Member &m)
{
    MessageState &state = m.state;
    if (!ChatOptions::isSet(ChatOptions::HistoryAllowed)) {
        reply(state, FunctionOffText);
        return handled(state);
    }
    const QStringList before = ChatLog::lines();
    ChatLog::AddChatLogEntry(ChatLog::stamp() + LogHistoryRequest + state.SenderUin, true);
    emit logChanged();

    QString answer = HistoryHeading + CrLf;
    for (const QString &line : before) {
        // The event text starts after the date and the time.
        const qsizetype first = line.indexOf(QLatin1Char(' '));
        const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(' '), first + 1);
        if (second >= 0 && QStringView(line).mid(second).startsWith(LogPrivate))
            continue;
        if (answer.size() + line.size() + 2 > MaxMessageLength)
            break;
        answer += line + CrLf;
    }
    state.ReplyText = answer;
    state.MessageHandled = false;
    return StageOutcome::Continue;
}

StageOutcome ChatService::memberList(Member &m)
{
    MessageState &state = m.state;
    if (!ChatOptions::isSet(ChatOptions::MemberListAllowed)) {
        reply(state, FunctionOffText);
        return handled(state);
    }
    const bool showUins = ChatOptions::isSet(ChatOptions::ShowMemberUins);
    ChatLog::AddChatLogEntry(ChatLog::stamp() + LogListRequest + state.SenderUin, true);
    emit logChanged();
    const QList<ChatMember> members = ChatMemberList::members();
    if (members.isEmpty())
        return handled(state);
    const QSet<QString> invisible = InvisibleList::uins();
    QStringList entries;
    for (const ChatMember &member : members) {
        if (invisible.contains(member.uin))
            continue;
        entries.append(showUins ? member.nick + Dash + member.uin + Dash + member.room
                                : member.nick + Dash + member.room);
    }
    reply(state, entries.isEmpty() ? NobodyText : MemberListHeading + CrLf + entries.join(CrLf));
    return handled(state);
}

// --- rooms and leaving -----------------------------------------------------------------

StageOutcome ChatService::roomList(Member &m)
{
    const MemberRooms members = memberRooms();
    auto count = [&](const QString &room) {
        return RoomNumber::isValid(room) ? int(occupants(room, members).size()) : 0;
    };
    QStringList lines = {QStringLiteral("0 - ") + RoomNumber::CommonName + QLatin1Char('(') +
                         QString::number(count(RoomNumber::Common)) + QLatin1Char(')')};
    for (const Room &room : RoomList::rooms())
        lines.append(room.number + Dash + room.name + QLatin1Char('(') + QString::number(count(room.number)) +
                     QLatin1Char(')'));
    reply(m.state, lines.join(CrLf));
    return handled(m.state);
}

StageOutcome ChatService::roomMembers(Member &m)
{
    const QString room = argument(m.state.MessageText);
    QStringList entries;
    if (RoomNumber::isValid(room)) {
        const bool showUins = ChatOptions::isSet(ChatOptions::ShowMemberUins);
        const QSet<QString> invisible = InvisibleList::uins();
        for (const RoomMembers::Entry &entry : occupants(room, memberRooms())) {
            if (invisible.contains(entry.uin))
                continue;
            entries.append(showUins ? entry.line() : entry.nick);
        }
    }
    reply(m.state, entries.isEmpty() ? EmptyRoomText : entries.join(CrLf));
    return handled(m.state);
}

StageOutcome ChatService::changeRoom(Member &m)
{
    MessageState &state = m.state;
    const QString room = argument(state.MessageText);
    if (room.isEmpty()) {
        reply(state, BadInputText);
        return handled(state);
    }
    if (RoomList::rooms().isEmpty()) {
        reply(state, NoRoomsText);
        return handled(state);
    }
    if (!RoomNumber::isValid(room) || !RoomList::find(room)) {
        reply(state, NoSuchRoomText);
        return handled(state);
    }
    const QString uin = state.SenderUin;
    const QString nick = m.member.nick;
    const QString oldRoom = m.member.room;
    // The member list says where a member is; his line in the new room's file comes
    // first, so a failed write leaves him where he was.
    if (!RoomMembers::add(room, uin, nick)) {
        reply(state, SaveFailedText);
        return handled(state);
    }
    if (!ChatMemberList::setRoom(uin, room)) {
        if (room != oldRoom)
            RoomMembers::remove(room, uin);
        reply(state, SaveFailedText);
        return handled(state);
    }
    if (room != oldRoom)
        RoomMembers::remove(oldRoom, uin);
    if (ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin)) {
        queueNotice(room, JoinNotice + nick);
        ChatLog::addHistoryLine(ChatLog::stamp() + LogRegistered + uin + Dash + nick);
    }
    emit memberRoomChanged(uin, oldRoom, room);
    reply(state, RoomChangedText);
    return handled(state);
}

StageOutcome ChatService::leave(Member &m)
{
    MessageState &state = m.state;
    const QString uin = state.SenderUin;
    const QString nick = m.member.nick;
    const QString room = m.member.room;
    if (!ChatMemberList::remove(uin)) {
        reply(state, SaveFailedText);
        return handled(state);
    }
    RoomMembers::remove(room, uin);
    if (ChatMemberList::isEmpty()) {
        if (NamedTimer *timer = m_timers.timer(QStringLiteral("Timer10")))
            timer->setEnabled(false);
    }
    ChatLog::AddChatLogEntry(ChatLog::stamp() + LogLeft + uin + QLatin1Char(' ') + nick, true);
    emit logChanged();
    if (ChatOptions::isSet(ChatOptions::JoinLeaveNotices) && !InvisibleList::contains(uin))
        queueNotice(room, LeaveNotice + nick);
    emit membersChanged();
    reply(state, LeftText);
    return handled(state);
}

// --- changes from moderation and the windows -------------------------------------------

bool ChatService::removeMember(const QString &uin)
{
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member)
        return false;
    ChatMemberList::remove(uin);
    RoomMembers::remove(member->room, uin);
    emit membersChanged();
    return true;
}

bool ChatService::moveMember(const QString &uin, const QString &room)
{
    if (!RoomNumber::isValid(room))
        return false;
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member)
        return false;
    RoomMembers::remove(member->room, uin);
    RoomMembers::add(room, uin, member->nick);
    ChatMemberList::setRoom(uin, room);
    emit memberRoomChanged(uin, member->room, room);
    return true;
}

bool ChatService::renameMember(const QString &uin, const QString &nick)
{
    const std::optional<ChatMember> member = ChatMemberList::find(uin);
    if (!member || !ChatMemberList::rename(uin, nick))
        return false;
    RoomMembers::rename(member->room, uin, nick);
    emit membersChanged();
    return true;
}

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

// --- auto-messages ---------------------------------------------------------------------

void ChatService::loadAutoMessageSettings()
{
    const AutoMessages::File file = AutoMessages::read();
    m_autoInterval = file.interval();
    m_autoRandom = file.random();
    m_autoLoaded = true;
    m_autoTicks = 0;
}

void ChatService::auto_soob_Timer()
{
    if (m_chatState != ConnectedState)
        return;
    if (!m_autoLoaded)
        loadAutoMessageSettings();
    if (!m_autoInterval)
        return;
    if (++m_autoTicks < *m_autoInterval)
        return;
    m_autoTicks = 0;

    AutoMessages::File file = AutoMessages::read();
    const int n = int(file.entries.size());
    if (n == 0)
        return;
    int index = m_autoRandom ? 1 + Random::instance().bounded(n) : m_autoNext;
    if (index < 1 || index > n)
        index = 1;
    const QString line = file.entries[index - 1];
    const QString text = AutoMessages::Entry::parse(line).text;
    const std::optional<QString> after = AutoMessages::afterSending(line);
    if (after) {
        file.entries[index - 1] = *after;
        m_autoNext = index + 1;
    } else {
        file.entries.removeAt(index - 1);
        m_autoNext = index;
    }
    AutoMessages::write(file);
    if (text.isEmpty())
        return;

    const MemberRooms members = memberRooms();
    QStringList rooms = {RoomNumber::Common};
    for (const Room &room : RoomList::rooms()) {
        if (RoomNumber::isValid(room.number))
            rooms.append(room.number);
    }
    for (const QString &room : std::as_const(rooms)) {
        if (!occupants(room, members).isEmpty())
            queueNotice(room, AutoMessageNotice + text);
    }
}

// --- reconnection notice ---------------------------------------------------------------

void ChatService::noteSignedOn(int)
{
    if (!m_notifyAfterLogin)
        return;
    m_notifyAfterLogin = false;
    if (NamedTimer *timer = m_timers.timer(QStringLiteral("chat_tim")))
        timer->setEnabled(true);
}

void ChatService::chat_tim_Timer()
{
    if (NamedTimer *timer = m_timers.timer(QStringLiteral("chat_tim")))
        timer->setEnabled(false);
    if (!ChatSwitch::holdsOne())
        return;
    // The list is read whole before the first send.
    const QList<ChatMember> members = ChatMemberList::members();
    const QHash<QString, int> slotOf = assignments();
    QSet<QString> told;
    for (const ChatMember &member : members) {
        if (told.contains(member.uin))
            continue;
        told.insert(member.uin);
        sendParts(slotOf.value(member.uin, 1), ReconnectedText, member.uin, 1);
    }
}

// --- per-run files ---------------------------------------------------------------------

void ChatService::noteDisconnected()
{
    ChatMemberList::clear();
    if (NamedTimer *timer = m_timers.timer(QStringLiteral("Timer10")))
        timer->setEnabled(false);
    emit membersChanged();
}

void ChatService::cleanUpPerRunFiles()
{
    ChatRunFiles::removeAll();
    emit membersChanged();
}
