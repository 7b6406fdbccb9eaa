#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The chat's state files under "\Подпрограммы\", one owner per file. Every owner reads
// and writes through core/textfile (Windows-1251, CR LF, atomic rewrites) and keeps no
// state of its own: the files are the truth, read afresh on every call.
//
// Rules every owner keeps:
// - A missing file reads as empty. Empty lines are skipped by every reader; they never
//   end a walk.
// - The UIN of a line is the text before its first blank and is compared as a whole
//   value, never as a substring.
// - A room number reaches a file name only when RoomNumber::isValid() accepts it.
//
// These are the file layer. Changes that the chat windows must hear of (members, rooms)
// go through ChatService, which calls these owners and emits its change signals.

namespace ChatFiles {
// Tells the operator of a line a reader skips (once per version of the file): the
// line's own trouble when it has one (binary bytes, far too long), else why. index
// counts from 0.
void reportSkipped(const QString &path, qsizetype index, QStringView line, const QString &why);
} // namespace ChatFiles

// A room number as it may stand in a file name: [+-]?[0-9]+([.,][0-9]+)? . Room numbers
// are compared as text ("5" and "05" are different rooms); "0" is the common room.
namespace RoomNumber {
inline const QString Common = QStringLiteral("0");
inline const QString CommonName = QStringLiteral("Общая");
bool isValid(const QString &room);
} // namespace RoomNumber

// "\Подпрограммы\Чат.txt": line 1 " 1 " when the chat is on, line 2 the delivery
// interval in seconds as the operator typed it.
class ChatSwitch
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Чат.txt");
    static inline const QString OnText = QStringLiteral(" 1 ");
    static inline const QString DefaultInterval = QStringLiteral("20");

    // Line 1 equals " 1 " exactly (the chat engine's test).
    static bool isOn();
    // Line 1 holds the number 1 ("1" or " 1 "; the reconnection notice's test).
    static bool holdsOne();
    // Line 2, as stored.
    static QString intervalText();
    // The chat window's apply: on writes " 1 " and the interval (DefaultInterval when
    // the box is empty, not a number or not above 0); off deletes the file.
    static bool write(bool on, const QString &interval);
};

// "\Подпрограммы\Чат_дополнительно.txt": eleven option lines " 0 "/" 1 ".
class ChatOptions
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Чат_дополнительно.txt");
    enum Option {
        ShowDate = 1,         // "Выводить дату"
        ShowTime = 2,         // "Выводить время"
        ShowSenderUin = 3,    // "Выводить ICQ-номер написавшего"
        ShowNick = 4,         // "Выводить ник"
        JoinLeaveNotices = 5, // "Оповещать кто зашёл/вышел в чат(а)"
        MemberListAllowed = 6, // "Возможность запрашивать список пользователей"
        ShowMemberUins = 7,    // "Показывать ICQ-номер пользователей"
        PrivateMessages = 8,   // "Возможность писать приватные сообщения"
        IgnoreOwnMessages = 9, // "Игнорировать "свои" сообщения" (read by nobody)
        RememberMembers = 10, // "Запоминать участников чата при выключении бота" (read by nobody)
        HistoryAllowed = 11, // "Показывать историю по запросу"
    };
    static constexpr int Count = 11;

    // The line equals 1 numerically; a missing file or line is not set.
    static bool isSet(Option option);
    // All eleven, index 0 = option 1.
    static QList<bool> readAll();
    // The options window's rewrite of all eleven lines; refused (false, nothing written)
    // unless one of options 1 to 4 is set.
    static bool write(const QList<bool> &values);
};

// One line of the chat member list: "UIN - nick - room".
struct ChatMember
{
    QString uin;
    QString nick;
    QString room;
    QString line() const;
    // nullopt for an empty line or a line without a UIN (no blank).
    static std::optional<ChatMember> parse(const QString &line);
    bool operator==(const ChatMember &) const = default;
};

// "\Подпрограммы\Список_чата.txt": who is in the chat now and in which room.
class ChatMemberList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Список_чата.txt");

    static QList<ChatMember> members();
    static std::optional<ChatMember> find(const QString &uin);
    // The first member whose nick equals nick exactly (case-sensitive).
    static std::optional<ChatMember> findByNick(const QString &nick);
    static bool isEmpty() { return members().isEmpty(); }
    // Appends the member's line.
    static bool add(const ChatMember &member);
    // Rewrites the list without the member's lines; deletes the file when no member is
    // left. False when the member was not there.
    static bool remove(const QString &uin);
    // Rewrites the member's line with the new room / nick. False when not there.
    static bool setRoom(const QString &uin, const QString &room);
    static bool rename(const QString &uin, const QString &nick);
    // Rewrites the list as given (deletes the file for an empty list).
    static bool write(const QList<ChatMember> &members);
    static bool clear();
};

// One line of the registration list: "UIN - nick".
struct Registration
{
    QString uin;
    QString nick;
    QString line() const;
    static std::optional<Registration> parse(const QString &line);
};

// "\Подпрограммы\Список_регистраций.txt": the nick of every registered number; it
// outlives restarts.
class RegistrationList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Список_регистраций.txt");

    static QList<Registration> registrations();
    static std::optional<Registration> find(const QString &uin);
    static std::optional<Registration> findByNick(const QString &nick);
    // Appends the registration (the list's empty lines are dropped in the rewrite).
    // Nothing rewrites a registration: it keeps the nick given at sign-up.
    static bool add(const Registration &registration);
};

namespace ChatNicks {
// Whether a number other than uin carries the nick in the chat or in the registrations
// (exact letter case): every lookup by nick takes the first line, so a nick is one
// number's only.
bool heldByAnother(const QString &nick, const QString &uin);
} // namespace ChatNicks

// One line of the room list: "number name".
struct Room
{
    QString number;
    QString name;
    QString line() const;
    static std::optional<Room> parse(const QString &line);
};

// "\Подпрограммы\Комнаты.txt": the rooms besides the common room, in file order.
class RoomList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Комнаты.txt");

    // Every listed room (lines without a blank are skipped).
    static QList<Room> rooms();
    static std::optional<Room> find(const QString &number);
    // Appends the room; refused for an invalid or used number, "0" or an empty name.
    static bool add(const Room &room);
    // Rewrites the list without the room's lines. False when it was not there.
    static bool remove(const QString &number);
};

// "\Подпрограммы\Комнаты\<room>.txt": one "UIN nick" line per member in that room. A line
// whose first field is no UIN, or that is binary or far too long, is no member: readers
// skip it and report it once (ChatFiles::reportSkipped()); rewrites keep it.
class RoomMembers
{
public:
    static inline const QString Folder = QStringLiteral("\\Подпрограммы\\Комнаты");

    struct Entry
    {
        QString uin;
        QString nick;
        QString line() const { return uin + QLatin1Char(' ') + nick; }
    };

    // The file of a valid room number; empty for an invalid one.
    static QString filePath(const QString &room);
    static QList<Entry> entries(const QString &room);
    // The rooms that have a member file, whether or not the room list names them.
    static QStringList rooms();
    static int count(const QString &room) { return int(entries(room).size()); }
    static bool contains(const QString &room, const QString &uin);
    // Appends the member unless his UIN is there already.
    static bool add(const QString &room, const QString &uin, const QString &nick);
    // Drops the member's lines; deletes the file when nobody is left.
    static bool remove(const QString &room, const QString &uin);
    // Rewrites the member's line with the new nick.
    static bool rename(const QString &room, const QString &uin, const QString &nick);
    static void removeAll();
};

// "\Подпрограммы\Сообщения_в_группе<room>.txt": the lines waiting for delivery.
//   data line:   "UIN:^:prefix: text" (line breaks as "^&^&")
//   notice line: two blanks, then the notice
class RoomQueue
{
public:
    static inline const QString Prefix = QStringLiteral("\\Подпрограммы\\Сообщения_в_группе");
    static inline const QString Separator = QStringLiteral(":^:");
    static inline const QString BreakCode = QStringLiteral("^&^&");
    static inline const QString NoticeLead = QStringLiteral("  ");

    static QString filePath(const QString &room);
    // CR LF, a lone CR and a lone LF each become BreakCode; a run of breaks at the very
    // start becomes one. What a member typed then stays on one line of a file.
    static QString encodeBreaks(const QString &text);
    static bool appendDataLine(const QString &room, const QString &senderUin, const QString &body);
    static bool appendNotice(const QString &room, const QString &notice);
    // The notice line of lead followed by text, built in one go (text may be megabytes).
    static QString noticeLine(QStringView lead, QStringView text);
    // Appends a queue line as it is.
    static bool appendLine(const QString &room, const QString &line);
    // The queued lines (empty ones dropped); the file is deleted, so a line queued later
    // goes into a new queue. Lines this process queued into a file nobody else touched
    // since are handed back as they were queued, without reading the file back.
    static QStringList take(const QString &room);
    // The rooms that have a queue file: the common room first, the others by name.
    static QStringList rooms();
    static QStringList lines(const QString &room);
    static void removeAll();

    // A queue line read back.
    struct Line
    {
        bool notice = false;
        QString senderUin; // empty for a notice
        QString text;      // what the member sees, line breaks decoded
    };
    static std::optional<Line> parse(const QString &line);
    // The same with the text a view into the line, its line breaks still encoded.
    struct LineView
    {
        bool notice = false;
        QString senderUin;
        QStringView text;
    };
    static std::optional<LineView> parseView(QStringView line);
    // Appends the text with its encoded line breaks decoded.
    static void appendDecoded(QString &to, QStringView text);
};

// "\Подпрограммы\Чат\Игнор\<UIN>.txt": the UINs whose lines the owner does not see. A line
// that is no UIN is skipped and reported once, as in a room member file.
class IgnoreList
{
public:
    static inline const QString Folder = QStringLiteral("\\Подпрограммы\\Чат\\Игнор");

    static QString filePath(const QString &ownerUin);
    static QSet<QString> ignored(const QString &ownerUin);
    static bool ignores(const QString &ownerUin, const QString &senderUin);
    // Adds the UIN (a new list starts with an empty line, as the file always has).
    static bool add(const QString &ownerUin, const QString &uin);
    // Drops every line holding the UIN. False when the list is empty or missing.
    static bool remove(const QString &ownerUin, const QString &uin);
};

// "\Подпрограммы\Инвиз.txt": the staff who are invisible, one UIN a line (a line that is no
// UIN is skipped and reported once, as in a room member file).
class InvisibleList
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Инвиз.txt");

    static QSet<QString> uins();
    static bool contains(const QString &uin);
    static bool add(const QString &uin);
    static bool remove(const QString &uin);
};

// The per-run files: member list, room member files, room queues.
namespace ChatRunFiles {
// Deletes all of them (start-up after an unclean end, exit).
void removeAll();
} // namespace ChatRunFiles
