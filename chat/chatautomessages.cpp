#include "chat/chatautomessages.h"

#include "chat/chatdelivery.h"
#include "chat/chatfiles.h"
#include "chat/chatmembership.h"
#include "chat/chatreference.h"
#include "chat/chattexts.h"
#include "core/random.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

ChatAutoMessages::ChatAutoMessages(ChatDelivery &delivery, const ChatMembership &membership)
    : m_delivery(delivery)
    , m_membership(membership)
{}

void ChatAutoMessages::loadSettings()
{
    const AutoMessages::File file = AutoMessages::readView().header();
    m_interval = file.interval();
    m_random = file.random();
    const QString header[] = {file.intervalLine, file.randomLine};
    for (int n = 0; n < 2; ++n) {
        if (!header[n].isEmpty() && !VbValues::toNumber(header[n]))
            ChatFiles::reportSkipped(AutoMessages::FilePath, n, header[n], TextFile::notANumber(header[n]));
    }
    m_loaded = true;
    m_ticks = 0;
}

void ChatAutoMessages::tick()
{
    if (m_membership.chatState() != ChatTexts::ConnectedState)
        return;
    if (!m_loaded)
        loadSettings();
    if (!m_interval)
        return;
    if (++m_ticks < *m_interval)
        return;
    m_ticks = 0;

    // Views into the file's text: an entry may be megabytes, and it is copied once, into
    // the queue line.
    const AutoMessages::View view = AutoMessages::readView();
    const int n = int(view.entryCount());
    if (n == 0)
        return;
    int index = m_random ? 1 + Random::instance().bounded(n) : m_next;
    if (index < 1 || index > n)
        index = 1;
    const QStringView line = view.entry(index - 1);
    if (AutoMessages::staysAfterSending(line)) {
        // It stays as it was and leaves the file alone.
        m_next = index + 1;
    } else {
        AutoMessages::File file = AutoMessages::read();
        if (const std::optional<QString> after = AutoMessages::afterSending(file.entries.value(index - 1))) {
            m_next = index + 1;
            file.entries[index - 1] = *after;
        } else {
            file.entries.removeAt(index - 1);
            m_next = index;
        }
        AutoMessages::write(file);
    }
    const QStringView text = AutoMessages::textOf(line);
    if (text.isEmpty())
        return;

    const ChatDelivery::MemberRooms members = ChatDelivery::memberRooms();
    QStringList rooms = {RoomNumber::Common};
    for (const Room &room : RoomList::rooms()) {
        if (RoomNumber::isValid(room.number))
            rooms.append(room.number);
    }
    QStringList heard;
    for (const QString &room : std::as_const(rooms)) {
        if (!ChatDelivery::occupants(room, members).isEmpty())
            heard.append(room);
    }
    m_delivery.queueNotice(heard, ChatTexts::AutoMessageNotice, text);
}
