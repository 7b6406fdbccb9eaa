#include "chat/chatfiles.h"

#include "core/cp1251.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "session/incomingreader.h"

#include <QDir>
#include <QRegularExpression>

namespace {

const QString Dash = QStringLiteral(" - ");

QString uinOf(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : line.left(blank);
}

// Non-empty lines of a file.
QStringList filledLines(const QString &path)
{
    QStringList lines = TextFile::readLines(path);
    lines.removeAll(QString());
    return lines;
}

bool rewriteOrRemove(const QString &path, const QStringList &lines, TextFile::Options options = {})
{
    if (lines.isEmpty()) {
        TextFile::remove(path);
        return !TextFile::exists(path);
    }
    return bool(TextFile::writeLines(path, lines, options));
}

// Calls take(index, line) for every non-empty line of the file.
template<typename Take> void forFilledLines(const QString &path, Take take)
{
    const QStringList lines = TextFile::readLines(path);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (!lines.at(n).isEmpty())
            take(n, lines.at(n));
    }
}

// Whether a line of a file of UINs can be an entry: uin (its first field) is a UIN and the
// line is neither binary nor far too long. Else the operator hears of it.
bool isUinEntry(const QString &path, qsizetype index, const QString &line, const QString &uin)
{
    // Senders are checked as they arrive, so nothing else was ever written here.
    if (uin.size() <= 15 && IncomingReader::isValidUin(uin.toLatin1()) && TextFile::lineTrouble(line).isEmpty())
        return true;
    ChatFiles::reportSkipped(path, index, line, TextFile::notANumber(uin));
    return false;
}

// The entries of a file of UINs, one a line.
QSet<QString> uinSet(const QString &path)
{
    QSet<QString> uins;
    forFilledLines(path, [&](qsizetype n, const QString &line) {
        if (isUinEntry(path, n, line, line))
            uins.insert(line);
    });
    return uins;
}

} // namespace

void ChatFiles::reportSkipped(const QString &path, qsizetype index, QStringView line, const QString &why)
{
    TextFile::reportSkippedLine(path, int(index + 1), line, why);
}

// --- RoomNumber ------------------------------------------------------------------------

bool RoomNumber::isValid(const QString &room)
{
    static const QRegularExpression grammar(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    return grammar.match(room).hasMatch();
}

// --- ChatSwitch ------------------------------------------------------------------------

bool ChatSwitch::isOn()
{
    return TextFile::readLines(FilePath).value(0) == OnText;
}

bool ChatSwitch::holdsOne()
{
    return VbValues::holdsNumber(TextFile::readLines(FilePath).value(0), 1);
}

QString ChatSwitch::intervalText()
{
    return TextFile::readLines(FilePath).value(1);
}

bool ChatSwitch::write(bool on, const QString &interval)
{
    if (!on) {
        TextFile::remove(FilePath);
        return !TextFile::exists(FilePath);
    }
    const std::optional<double> seconds = VbValues::toNumber(interval);
    const QString stored = seconds && *seconds > 0 ? interval : DefaultInterval;
    return bool(TextFile::writeLines(FilePath, {OnText, stored}));
}

// --- ChatOptions -----------------------------------------------------------------------

bool ChatOptions::isSet(Option option)
{
    return VbValues::holdsNumber(TextFile::readLines(FilePath).value(int(option) - 1), 1);
}

QList<bool> ChatOptions::readAll()
{
    const QStringList lines = TextFile::readLines(FilePath);
    QList<bool> values;
    for (int i = 0; i < Count; ++i) {
        const QString line = lines.value(i);
        const std::optional<double> number = VbValues::toNumber(line);
        if (!number && !line.isEmpty())
            ChatFiles::reportSkipped(FilePath, i, line, TextFile::notANumber(line));
        values.append(number && *number == 1);
    }
    return values;
}

bool ChatOptions::write(const QList<bool> &values)
{
    bool prefixChosen = false;
    for (int i = 0; i < 4; ++i)
        prefixChosen = prefixChosen || values.value(i);
    if (!prefixChosen)
        return false;
    QStringList lines;
    for (int i = 0; i < Count; ++i)
        lines.append(VbValues::printForm(values.value(i) ? 1 : 0));
    return bool(TextFile::writeLines(FilePath, lines));
}

// --- ChatMemberList --------------------------------------------------------------------

QString ChatMember::line() const
{
    return uin + Dash + nick + Dash + room;
}

std::optional<ChatMember> ChatMember::parse(const QString &line)
{
    ChatMember member;
    member.uin = uinOf(line);
    if (member.uin.isEmpty())
        return std::nullopt;
    const qsizetype first = line.indexOf(Dash);
    if (first >= 0) {
        const qsizetype second = line.indexOf(Dash, first + Dash.size());
        if (second < 0) {
            member.nick = line.mid(first + Dash.size());
        } else {
            member.nick = line.mid(first + Dash.size(), second - first - Dash.size());
            member.room = line.mid(second + Dash.size());
        }
    }
    return member;
}

QList<ChatMember> ChatMemberList::members()
{
    QList<ChatMember> members;
    forFilledLines(FilePath, [&members](qsizetype n, const QString &line) {
        if (std::optional<ChatMember> member = ChatMember::parse(line))
            members.append(*member);
        else
            ChatFiles::reportSkipped(FilePath, n, line, TextFile::missingSeparator(u" "));
    });
    return members;
}

std::optional<ChatMember> ChatMemberList::find(const QString &uin)
{
    // Every message asks: only the one line is taken apart.
    const QStringList lines = TextFile::readLines(FilePath);
    for (const QString &line : lines) {
        if (line.size() > uin.size() && line.at(uin.size()) == QLatin1Char(' ') && line.startsWith(uin) &&
            !uin.isEmpty())
            return ChatMember::parse(line);
    }
    return std::nullopt;
}

std::optional<ChatMember> ChatMemberList::findByNick(const QString &nick)
{
    for (const ChatMember &member : members()) {
        if (member.nick == nick)
            return member;
    }
    return std::nullopt;
}

bool ChatMemberList::add(const ChatMember &member)
{
    return bool(TextFile::appendLine(FilePath, member.line()));
}

bool ChatMemberList::remove(const QString &uin)
{
    QList<ChatMember> list = members();
    const qsizetype removed = list.removeIf([&uin](const ChatMember &m) { return m.uin == uin; });
    if (removed == 0)
        return false;
    return write(list);
}

bool ChatMemberList::setRoom(const QString &uin, const QString &room)
{
    QList<ChatMember> list = members();
    bool found = false;
    for (ChatMember &member : list) {
        if (member.uin == uin) {
            member.room = room;
            found = true;
        }
    }
    return found && write(list);
}

bool ChatMemberList::rename(const QString &uin, const QString &nick)
{
    QList<ChatMember> list = members();
    bool found = false;
    for (ChatMember &member : list) {
        if (member.uin == uin) {
            member.nick = nick;
            found = true;
        }
    }
    return found && write(list);
}

bool ChatMemberList::write(const QList<ChatMember> &members)
{
    QStringList lines;
    for (const ChatMember &member : members)
        lines.append(member.line());
    return rewriteOrRemove(FilePath, lines);
}

bool ChatMemberList::clear()
{
    TextFile::remove(FilePath);
    return !TextFile::exists(FilePath);
}

// --- RegistrationList ------------------------------------------------------------------

QString Registration::line() const
{
    return uin + Dash + nick;
}

std::optional<Registration> Registration::parse(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return std::nullopt;
    return Registration{line.left(blank), line.mid(blank + 3)};
}

QList<Registration> RegistrationList::registrations()
{
    QList<Registration> list;
    forFilledLines(FilePath, [&list](qsizetype n, const QString &line) {
        if (std::optional<Registration> registration = Registration::parse(line))
            list.append(*registration);
        else
            ChatFiles::reportSkipped(FilePath, n, line, TextFile::missingSeparator(Dash));
    });
    return list;
}

std::optional<Registration> RegistrationList::find(const QString &uin)
{
    for (const Registration &registration : registrations()) {
        if (registration.uin == uin)
            return registration;
    }
    return std::nullopt;
}

std::optional<Registration> RegistrationList::findByNick(const QString &nick)
{
    for (const Registration &registration : registrations()) {
        if (registration.nick == nick)
            return registration;
    }
    return std::nullopt;
}

bool RegistrationList::add(const Registration &registration)
{
    QStringList lines = filledLines(FilePath);
    lines.append(registration.line());
    return bool(TextFile::writeLines(FilePath, lines, TextFile::Option::KeepsLines));
}

bool ChatNicks::heldByAnother(const QString &nick, const QString &uin)
{
    for (const ChatMember &member : ChatMemberList::members()) {
        if (member.nick == nick && member.uin != uin)
            return true;
    }
    for (const Registration &registration : RegistrationList::registrations()) {
        if (registration.nick == nick && registration.uin != uin)
            return true;
    }
    return false;
}

// --- RoomList --------------------------------------------------------------------------

QString Room::line() const
{
    return number + QLatin1Char(' ') + name;
}

std::optional<Room> Room::parse(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return std::nullopt;
    return Room{line.left(blank), line.mid(blank + 1)};
}

QList<Room> RoomList::rooms()
{
    QList<Room> list;
    forFilledLines(FilePath, [&list](qsizetype n, const QString &line) {
        if (std::optional<Room> room = Room::parse(line))
            list.append(*room);
        else
            ChatFiles::reportSkipped(FilePath, n, line, TextFile::missingSeparator(u" "));
    });
    return list;
}

std::optional<Room> RoomList::find(const QString &number)
{
    for (const Room &room : rooms()) {
        if (room.number == number)
            return room;
    }
    return std::nullopt;
}

bool RoomList::add(const Room &room)
{
    if (!RoomNumber::isValid(room.number) || room.number == RoomNumber::Common || room.name.isEmpty() ||
        find(room.number))
        return false;
    TextFile::ensureFolder(RoomMembers::Folder);
    return bool(TextFile::appendLine(FilePath, room.line()));
}

bool RoomList::remove(const QString &number)
{
    QStringList lines = filledLines(FilePath);
    const qsizetype removed =
        lines.removeIf([&number](const QString &line) { return uinOf(line) == number; });
    if (removed == 0)
        return false;
    return bool(TextFile::writeLines(FilePath, lines, TextFile::Option::KeepsLines));
}

// --- RoomMembers -----------------------------------------------------------------------

QString RoomMembers::filePath(const QString &room)
{
    if (!RoomNumber::isValid(room))
        return QString();
    return Folder + QLatin1Char('\\') + room + QStringLiteral(".txt");
}

QList<RoomMembers::Entry> RoomMembers::entries(const QString &room)
{
    QList<Entry> list;
    const QString path = filePath(room);
    if (path.isEmpty())
        return list;
    forFilledLines(path, [&](qsizetype n, const QString &line) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const QString uin = blank < 0 ? line : line.left(blank);
        if (isUinEntry(path, n, line, uin))
            list.append(Entry{uin, blank < 0 ? QString() : line.mid(blank + 1)});
    });
    return list;
}

QStringList RoomMembers::rooms()
{
    QStringList rooms;
    const QDir folder(TextFile::filePath(Folder));
    for (QString name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        name.chop(4);
        if (RoomNumber::isValid(name))
            rooms.append(name);
    }
    return rooms;
}

bool RoomMembers::contains(const QString &room, const QString &uin)
{
    for (const Entry &entry : entries(room)) {
        if (entry.uin == uin)
            return true;
    }
    return false;
}

bool RoomMembers::add(const QString &room, const QString &uin, const QString &nick)
{
    const QString path = filePath(room);
    if (path.isEmpty())
        return false;
    if (contains(room, uin))
        return true;
    TextFile::ensureFolder(Folder);
    const QStringList lines = filledLines(path);
    if (lines.size() != TextFile::readLines(path).size()) // drop the empty lines while at it
        return bool(TextFile::writeLines(path, lines + QStringList{Entry{uin, nick}.line()},
                                         TextFile::Option::KeepsLines));
    return bool(TextFile::appendLine(path, Entry{uin, nick}.line()));
}

bool RoomMembers::remove(const QString &room, const QString &uin)
{
    const QString path = filePath(room);
    if (path.isEmpty())
        return false;
    QStringList lines = filledLines(path);
    const qsizetype removed = lines.removeIf([&uin](const QString &line) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        return (blank < 0 ? line : line.left(blank)) == uin;
    });
    if (removed == 0)
        return false;
    return rewriteOrRemove(path, lines, TextFile::Option::KeepsLines);
}

bool RoomMembers::rename(const QString &room, const QString &uin, const QString &nick)
{
    const QString path = filePath(room);
    if (path.isEmpty())
        return false;
    QStringList lines = filledLines(path);
    bool found = false;
    for (QString &line : lines) {
        if (uinOf(line) == uin) {
            line = Entry{uin, nick}.line();
            found = true;
        }
    }
    return found && TextFile::writeLines(path, lines, TextFile::Option::KeepsLines);
}

void RoomMembers::removeAll()
{
    TextFile::removeMatching(Folder + QStringLiteral("\\*.*"));
}

// --- RoomQueue -------------------------------------------------------------------------

QString RoomQueue::filePath(const QString &room)
{
    if (!RoomNumber::isValid(room))
        return QString();
    return Prefix + room + QStringLiteral(".txt");
}

namespace {

// The lines this process appended to a queue file, while the file is exactly as the last
// of those appends left it: the delivery takes them without reading back megabytes.
struct QueuedLines
{
    quint64 generation = 0;
    Storage::Stamp stamp;
    QStringList lines;
};

QHash<QString, QueuedLines> &queuedLines()
{
    static QHash<QString, QueuedLines> queued;
    return queued;
}

// The lines the queue file holds, taken from memory; nullopt when only the file can tell.
// A missing file holds none.
std::optional<QStringList> takeQueuedLines(const QString &path)
{
    Storage &storage = Storage::instance();
    const QString file = TextFile::filePath(path);
    const std::optional<Storage::Stamp> stamp = storage.knownStamp(file);
    const auto it = queuedLines().find(path);
    if (it == queuedLines().end())
        return stamp ? std::nullopt : std::optional<QStringList>(QStringList());
    QueuedLines queued = std::move(it.value());
    queuedLines().erase(it);
    if (!stamp)
        return QStringList();
    // A recent stamp proves the file unchanged only while a watch vouches for it.
    if (queued.generation != storage.generation() || queued.stamp != *stamp ||
        (Storage::isRecent(*stamp) && !storage.isWatched(file)))
        return std::nullopt;
    return std::move(queued.lines);
}

} // namespace

bool RoomQueue::appendDataLine(const QString &room, const QString &senderUin, const QString &body)
{
    return appendLine(room, senderUin + Separator + body);
}

bool RoomQueue::appendNotice(const QString &room, const QString &notice)
{
    return appendLine(room, noticeLine(notice, {}));
}

QString RoomQueue::noticeLine(QStringView lead, QStringView text)
{
    QString line;
    line.reserve(NoticeLead.size() + lead.size() + text.size());
    line.append(NoticeLead).append(lead).append(text);
    return line;
}

bool RoomQueue::appendLine(const QString &room, const QString &line)
{
    const QString path = filePath(room);
    if (path.isEmpty())
        return false;
    std::optional<QStringList> known = takeQueuedLines(path);
    if (!TextFile::appendLine(path, line))
        return false;
    // Only a line that reads back as itself may stand for what the file holds.
    if (!known || line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')) || !Cp1251::canEncode(line))
        return true;
    Storage &storage = Storage::instance();
    if (const std::optional<Storage::Stamp> stamp = storage.knownStamp(TextFile::filePath(path))) {
        if (!line.isEmpty())
            known->append(line);
        queuedLines().insert(path, QueuedLines{storage.generation(), *stamp, std::move(*known)});
    }
    return true;
}

QStringList RoomQueue::lines(const QString &room)
{
    const QString path = filePath(room);
    return path.isEmpty() ? QStringList() : filledLines(path);
}

QStringList RoomQueue::take(const QString &room)
{
    const QString path = filePath(room);
    if (path.isEmpty())
        return {};
    std::optional<QStringList> known = takeQueuedLines(path);
    if (!TextFile::exists(path))
        return {};
    const QStringList taken = known ? std::move(*known) : filledLines(path);
    TextFile::remove(path);
    return taken;
}

QStringList RoomQueue::rooms()
{
    const QString prefix = Prefix.mid(Prefix.lastIndexOf(QLatin1Char('\\')) + 1);
    const QString folder = Prefix.left(Prefix.lastIndexOf(QLatin1Char('\\')));
    QStringList rooms;
    for (QString name : QDir(TextFile::filePath(folder))
                            .entryList({prefix + QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        name = name.mid(prefix.size());
        name.chop(4);
        if (!RoomNumber::isValid(name))
            continue;
        if (name == RoomNumber::Common)
            rooms.prepend(name);
        else
            rooms.append(name);
    }
    return rooms;
}

void RoomQueue::removeAll()
{
    queuedLines().clear();
    TextFile::removeMatching(QStringLiteral("\\Подпрограммы\\Сообщения_в*"));
}

QString RoomQueue::encodeBreaks(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    const QStringList pieces = text.split(breaks);
    QString result;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        if (result.isEmpty())
            result = pieces[i];
        else
            result += BreakCode + pieces[i];
    }
    return result + BreakCode + pieces.back();
}

std::optional<RoomQueue::LineView> RoomQueue::parseView(QStringView line)
{
    if (line.isEmpty())
        return std::nullopt;
    LineView parsed;
    if (line.startsWith(NoticeLead)) {
        parsed.notice = true;
        parsed.text = line.sliced(NoticeLead.size());
    } else {
        const qsizetype separator = TextFile::find(line, Separator);
        if (separator < 0) {
            // Neither kind: shown as it stands, as a notice would be.
            parsed.notice = true;
            parsed.text = line;
        } else {
            parsed.senderUin = line.first(separator).toString();
            parsed.text = line.sliced(separator + Separator.size());
        }
    }
    return parsed;
}

void RoomQueue::appendDecoded(QString &to, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype code = TextFile::find(text, BreakCode); code >= 0; code = TextFile::find(text, BreakCode, from)) {
        to.append(text.sliced(from, code - from)).append(QLatin1String("\r\n"));
        from = code + BreakCode.size();
    }
    to.append(text.sliced(from));
}

std::optional<RoomQueue::Line> RoomQueue::parse(const QString &line)
{
    const std::optional<LineView> view = parseView(line);
    if (!view)
        return std::nullopt;
    Line parsed{view->notice, view->senderUin, QString()};
    appendDecoded(parsed.text, view->text);
    return parsed;
}

// --- IgnoreList ------------------------------------------------------------------------

QString IgnoreList::filePath(const QString &ownerUin)
{
    return Folder + QLatin1Char('\\') + ownerUin + QStringLiteral(".txt");
}

QSet<QString> IgnoreList::ignored(const QString &ownerUin)
{
    return uinSet(filePath(ownerUin));
}

bool IgnoreList::ignores(const QString &ownerUin, const QString &senderUin)
{
    return ignored(ownerUin).contains(senderUin);
}

bool IgnoreList::add(const QString &ownerUin, const QString &uin)
{
    TextFile::ensureFolder(Folder);
    const QString path = filePath(ownerUin);
    if (TextFile::readAll(path).isEmpty())
        return bool(TextFile::writeAll(path, QStringLiteral("\r\n") + uin + QStringLiteral("\r\n")));
    return bool(TextFile::appendLine(path, uin));
}

bool IgnoreList::remove(const QString &ownerUin, const QString &uin)
{
    TextFile::ensureFolder(Folder);
    const QString path = filePath(ownerUin);
    if (TextFile::readAll(path).isEmpty())
        return false;
    QStringList lines = filledLines(path);
    lines.removeAll(uin);
    // Every entry stays after a line end, as in a new list.
    lines.prepend(QString());
    return bool(TextFile::writeLines(path, lines, TextFile::Option::KeepsLines));
}

// --- InvisibleList ---------------------------------------------------------------------

QSet<QString> InvisibleList::uins()
{
    return uinSet(FilePath);
}

bool InvisibleList::contains(const QString &uin)
{
    return uins().contains(uin);
}

bool InvisibleList::add(const QString &uin)
{
    if (TextFile::readAll(FilePath).isEmpty())
        return bool(TextFile::writeAll(FilePath, QStringLiteral("\r\n") + uin + QStringLiteral("\r\n")));
    return bool(TextFile::appendLine(FilePath, uin));
}

bool InvisibleList::remove(const QString &uin)
{
    QStringList lines = filledLines(FilePath);
    if (lines.removeAll(uin) == 0)
        return false;
    lines.prepend(QString());
    return bool(TextFile::writeLines(FilePath, lines, TextFile::Option::KeepsLines));
}

// --- ChatRunFiles ----------------------------------------------------------------------

void ChatRunFiles::removeAll()
{
    TextFile::remove(ChatMemberList::FilePath);
    RoomMembers::removeAll();
    RoomQueue::removeAll();
}
