#include "chat/chatdelivery.h"

#include "chat/chatevents.h"
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chattexts.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "session/distribution.h"

#include <cmath>

ChatDelivery::ChatDelivery(TimerRegistry &timers, SendFunction send, ChatEvents &events)
    : m_timers(timers)
    , m_send(std::move(send))
    , m_events(events)
{}

// --- sending ---------------------------------------------------------------------------

QStringList ChatDelivery::splitMessage(const QString &text)
{
    QStringList parts;
    for (const QStringView part : splitViews(text))
        parts.append(part.toString());
    return parts;
}

QList<QStringView> ChatDelivery::splitViews(QStringView text)
{
    // One pass over the text: a part is a run of whole lines, or a piece of a line too
    // long for one message.
    const QString &crLf = ChatTexts::CrLf;
    QList<QStringView> parts;
    qsizetype partStart = -1; // where the part being gathered starts
    qsizetype partEnd = 0;
    qsizetype lineStart = 0;
    while (true) {
        qsizetype lineEnd = TextFile::find(text, crLf, lineStart);
        const bool last = lineEnd < 0;
        if (last)
            lineEnd = text.size();
        if (partStart >= 0 && lineEnd - partStart <= MaxMessageLength) {
            partEnd = lineEnd;
        } else {
            if (partStart >= 0)
                parts.append(text.sliced(partStart, partEnd - partStart));
            qsizetype at = lineStart;
            while (lineEnd - at > MaxMessageLength) {
                parts.append(text.sliced(at, MaxMessageLength));
                at += MaxMessageLength;
            }
            partStart = at;
            partEnd = lineEnd;
        }
        if (last)
            break;
        lineStart = lineEnd + crLf.size();
    }
    parts.append(text.sliced(partStart, partEnd - partStart));
    return parts;
}

int ChatDelivery::slotFor(const QString &uin, int fallback)
{
    const int slot = BotDistribution::assignedSlot(uin);
    return slot > 0 ? slot : fallback;
}

QHash<QString, int> ChatDelivery::assignments()
{
    QHash<QString, int> slotOf;
    for (const BotDistribution::Assignment &assignment : BotDistribution::assignments()) {
        if (assignment.slot > 0 && !slotOf.contains(assignment.uin))
            slotOf.insert(assignment.uin, assignment.slot);
    }
    return slotOf;
}

int ChatDelivery::sendParts(int slot, const QString &text, const QString &toUin, int fallback)
{
    if (!m_send || text.isEmpty())
        return 0;
    return sendSplit(slot, splitMessage(text), toUin, fallback);
}

int ChatDelivery::sendSplit(int slot, const QStringList &parts, const QString &toUin, int fallback)
{
    return sendViews(slot, QList<QStringView>(parts.cbegin(), parts.cend()), toUin, fallback);
}

int ChatDelivery::sendViews(int slot, const QList<QStringView> &parts, const QString &toUin, int fallback)
{
    if (!m_send)
        return 0;
    int sent = 0;
    for (const QStringView view : parts) {
        if (view.isEmpty())
            continue;
        // Made when it goes: the parts of a huge text never all exist at once.
        const QString part = view.toString();
        // A bot that is down hands its part to the fallback bot.
        if (m_send(slot, part, toUin) || (fallback > 0 && fallback != slot && m_send(fallback, part, toUin)))
            ++sent;
    }
    return sent;
}

void ChatDelivery::reply(const MessageState &state, const QString &text)
{
    sendParts(state.slot, text, state.SenderUin);
}

// --- the room queues -------------------------------------------------------------------

void ChatDelivery::queueChatLine(const QString &uin, const QString &nick, const QString &room,
                                 const QString &text)
{
    const QString &dash = ChatTexts::Dash;
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
                               ? date + QLatin1Char(' ') + time + QLatin1Char(' ') + uin + dash + nick
                               : pieces.join(QLatin1Char(' '));

    RoomQueue::appendDataLine(room, uin, prefix + QStringLiteral(": ") + text);
    ChatLog::AddChatLogEntry(ChatLog::stamp() + QLatin1Char(' ') + uin + dash + nick +
                                 QStringLiteral("группа:") + room + QStringLiteral(": ") + text,
                             true);
    emit m_events.logChanged();
    resume();
}

void ChatDelivery::queueNotice(const QString &room, const QString &notice)
{
    RoomQueue::appendNotice(room, notice);
}

void ChatDelivery::queueNotice(const QStringList &rooms, QStringView lead, QStringView text)
{
    if (rooms.isEmpty())
        return;
    const QString line = RoomQueue::noticeLine(lead, text);
    for (const QString &room : rooms)
        RoomQueue::appendLine(room, line);
}

// --- "Timer10" -------------------------------------------------------------------------

std::optional<int> ChatDelivery::deliveryInterval()
{
    const QString line = ChatSwitch::intervalText();
    if (line.isEmpty())
        return DefaultDeliveryMs;
    const std::optional<double> seconds = VbValues::toNumber(line);
    if (!seconds)
        ChatFiles::reportSkipped(ChatSwitch::FilePath, 1, line, TextFile::notANumber(line));
    if (!seconds || !std::isfinite(*seconds) || *seconds < MinDeliverySeconds ||
        *seconds > MaxDeliverySeconds)
        return std::nullopt;
    return int(std::lround(*seconds * 1000));
}

void ChatDelivery::start()
{
    NamedTimer *timer = m_timers.timer(TimerName);
    if (!timer)
        return;
    if (const std::optional<int> ms = deliveryInterval(); ms && timer->interval() != *ms)
        timer->setInterval(*ms);
    timer->setEnabled(true);
}

void ChatDelivery::resume()
{
    NamedTimer *timer = m_timers.timer(TimerName);
    if (timer && !timer->isEnabled())
        start();
}

void ChatDelivery::stop()
{
    if (NamedTimer *timer = m_timers.timer(TimerName))
        timer->setEnabled(false);
}

void ChatDelivery::tick()
{
    // Every queue is taken whole before anything is sent: a line queued meanwhile goes
    // into a new queue for the next tick. The queue files there are name the rooms to
    // serve (a deleted room's too), so a long room list costs the tick nothing.
    const QStringList rooms = RoomQueue::rooms();
    if (rooms.isEmpty()) {
        emit m_events.delivered(0);
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
        // Views into the queued lines: a line may be megabytes.
        QList<RoomQueue::LineView> lines;
        for (const QString &text : queued) {
            if (std::optional<RoomQueue::LineView> line = RoomQueue::parseView(text))
                lines.append(*line);
        }
        // Members who see the same lines get the same parts: a long queue is split once.
        QList<qsizetype> lastShown;
        QString lastText;
        QList<QStringView> lastParts;
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
                lastShown = shown;
                const QStringView first = lines[shown.front()].text;
                if (shown.size() == 1 && TextFile::find(first, RoomQueue::BreakCode) < 0) {
                    // One line as it stands: split where it is queued, not copied.
                    lastText.clear();
                    lastParts = splitViews(first);
                } else {
                    qsizetype size = 0;
                    for (const qsizetype i : std::as_const(shown))
                        size += lines[i].text.size() + ChatTexts::CrLf.size();
                    lastText = QString();
                    lastText.reserve(size);
                    for (const qsizetype i : std::as_const(shown)) {
                        if (i != shown.front())
                            lastText.append(ChatTexts::CrLf);
                        RoomQueue::appendDecoded(lastText, lines[i].text);
                    }
                    lastParts = splitViews(lastText);
                }
            }
            // A member the distribution has let go, or whose bot is down, hears the chat
            // through the main bot.
            messages += sendViews(slotOf.value(entry.uin, 1), lastParts, entry.uin, 1);
        }
    }
    emit m_events.delivered(messages);
}

// --- who hears a room ------------------------------------------------------------------

ChatDelivery::MemberRooms ChatDelivery::memberRooms()
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

QList<RoomMembers::Entry> ChatDelivery::occupants(const QString &room, const MemberRooms &memberRooms)
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
