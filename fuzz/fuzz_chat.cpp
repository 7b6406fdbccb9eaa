// The chat's files as an operator or a killed run left them, read and rewritten by the
// chat and its moderation: the switch and options, registrations, members, rooms, room
// members, queues, ignore lists, invisibility, staff, obscenity lists, auto-messages,
// statistics, the chat log, the chat ban list and the warning file. A chat in a sound
// state gets one of them in the input's bytes, then members write chat lines and
// commands, and every timer of the chat ticks.
//
// Input: a byte choosing the file, its bytes with a 2-byte length before them, then
// messages to the end, each a byte choosing the sender, a byte choosing the command and
// its argument with a 1-byte length before it.

#include "fuzzsupport.h"

#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "moderation/chatmoderation.h"
#include "moderation/warningfile.h"
#include "session/messagestate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

using Fuzz::require;

namespace {

FixedClock *g_clock = nullptr;
const QDateTime Start(QDate(2008, 3, 5), QTime(9, 5, 7));

// Administrator, member, stranger.
const QString Uins[] = {QStringLiteral("111111"), QStringLiteral("222222"), QStringLiteral("333333")};

// The files one input may replace, as file-system paths.
QStringList fuzzedFiles()
{
    QStringList paths;
    for (const QString &file : {
        ChatSwitch::FilePath,
        ChatOptions::FilePath,
        RegistrationList::FilePath,
        ChatMemberList::FilePath,
        RoomList::FilePath,
        RoomMembers::filePath(RoomNumber::Common),
        RoomMembers::filePath(QStringLiteral("1")),
        RoomQueue::filePath(RoomNumber::Common),
        RoomQueue::filePath(QStringLiteral("1")),
        IgnoreList::filePath(Uins[1]),
        InvisibleList::FilePath,
        ChatStaff::FilePath,
        ObscenityLists::WordsPath,
        ObscenityLists::ExceptionsPath,
        AutoMessages::FilePath,
        ChatStatistics::TotalsPath,
        ChatStatistics::dayPath(),
        ChatLog::FilePath,
        ChatBanList::FilePath,
        WarningFile::FilePath,
    })
        paths.append(TextFile::filePath(file));
    paths.append(Storage::journalPath(TextFile::filePath(ChatLog::FilePath)));
    return paths;
}

// Commands of the chat and its moderation; the argument follows a blank.
const char *const Commands[] = {
    "",        "!chat",   "!ЧАТ",     "!рег",     "!НИК",   "!room",    "!inroom",   "!спкомнат",
    "!СПИСОК", "!ИСТОРИЯ", "!игнор",  "!уигнор",  "!exit",  "!выход",   "!ответ",    "!CRROOM",
    "!DELROOM", "!INVIZ", "!КИК",     "!БАН",     "!!БАН",  "!УБАН",    "!НАЗНАЧИТЬ", "!SETGROUP",
    "!adm",    "плохо",   "!allroom", "!кв",
};

// A chat in a sound state: on, every option set, a room besides the common one, the
// administrator and a member registered and in the chat, a word to warn for.
void soundChat()
{
    TextFile::writeLines(ChatSwitch::FilePath, {QStringLiteral(" 1 "), QStringLiteral("5")});
    QStringList options;
    for (int i = 0; i < ChatOptions::Count; ++i)
        options.append(QStringLiteral(" 1 "));
    TextFile::writeLines(ChatOptions::FilePath, options);
    TextFile::writeLines(RoomList::FilePath, {QStringLiteral("1 Комната")});
    TextFile::writeLines(RegistrationList::FilePath,
                         {Registration{Uins[0], QStringLiteral("Админ")}.line(),
                          Registration{Uins[1], QStringLiteral("Вася")}.line()});
    TextFile::writeLines(ChatMemberList::FilePath,
                         {ChatMember{Uins[0], QStringLiteral("Админ"), RoomNumber::Common}.line(),
                          ChatMember{Uins[1], QStringLiteral("Вася"), QStringLiteral("1")}.line()});
    TextFile::writeLines(RoomMembers::filePath(RoomNumber::Common), {Uins[0] + QStringLiteral(" Админ")});
    TextFile::writeLines(RoomMembers::filePath(QStringLiteral("1")), {Uins[1] + QStringLiteral(" Вася")});
    TextFile::writeLines(ChatStaff::FilePath, {ChatStaff::Administrator + QLatin1Char(':') + Uins[0]});
    TextFile::writeLines(ObscenityLists::WordsPath, {QStringLiteral("плохо")});
    TextFile::writeLines(AutoMessages::FilePath,
                         {QStringLiteral("1"), QStringLiteral(" 0 "), QStringLiteral("Привет&^2&^<")});
}

// What every reader takes out of the files, whatever they hold.
void readEveryFile()
{
    (void)ChatSwitch::isOn();
    (void)ChatSwitch::holdsOne();
    (void)ChatSwitch::intervalText();
    require(ChatOptions::readAll().size() == ChatOptions::Count);
    for (const ChatMember &member : ChatMemberList::members()) {
        require(!member.uin.isEmpty() && !member.uin.contains(QLatin1Char(' ')));
        const std::optional<ChatMember> found = ChatMemberList::find(member.uin);
        require(found.has_value());
    }
    for (const Registration &registration : RegistrationList::registrations())
        require(!registration.uin.isEmpty() && RegistrationList::find(registration.uin).has_value());
    for (const Room &room : RoomList::rooms()) {
        require(!room.number.isEmpty() && RoomList::find(room.number).has_value());
        (void)RoomMembers::entries(room.number);
        (void)RoomQueue::lines(room.number);
    }
    for (const QString &room : {RoomNumber::Common, QStringLiteral("1")}) {
        for (const RoomMembers::Entry &entry : RoomMembers::entries(room))
            require(RoomMembers::contains(room, entry.uin));
        for (const QString &line : RoomQueue::lines(room))
            require(RoomQueue::parse(line).has_value());
    }
    for (const QString &uin : IgnoreList::ignored(Uins[1]))
        require(IgnoreList::ignores(Uins[1], uin));
    for (const QString &uin : InvisibleList::uins())
        require(InvisibleList::contains(uin));
    for (const ChatStaff::Entry &entry : ChatStaff::entries())
        require(!entry.role.contains(QLatin1Char(':')) && ChatStaff::holds(entry.uin, entry.role));
    const QStringList words = ObscenityLists::words();
    for (const QString &word : words)
        require(!word.isEmpty());
    (void)ObscenityLists::findObscenity(TextFile::readAll(ObscenityLists::ExceptionsPath));
    const AutoMessages::File automessages = AutoMessages::read();
    if (const std::optional<int> interval = automessages.interval())
        require(*interval >= AutoMessages::MinInterval && *interval <= AutoMessages::MaxInterval);
    for (const QString &line : automessages.entries) {
        (void)AutoMessages::Entry::parse(line);
        (void)AutoMessages::afterSending(line);
    }
    require(ChatStatistics::dayValues().size() == 4 && ChatStatistics::totalValues().size() == 4);
    (void)ChatLog::lines();
    (void)ChatHistory::lines();
    for (const ChatBanList::Entry &entry : ChatBanList::entries()) {
        if (ChatBanList::refusal(entry).isEmpty())
            require(ChatBanList::parseLine(ChatBanList::formatLine(entry)) == entry);
        if (const std::optional<QDateTime> until = ChatBanList::untilMoment(entry.until))
            require(until->isValid());
        (void)ChatModeration::hasExpired(entry.until, Clock::instance().now());
    }
    for (const QString &line : TextFile::readLines(WarningFile::FilePath)) {
        const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
        if (blank > 0)
            require(WarningFile::count(line.left(blank)) >= 0);
    }
}

void fuzzChat(Fuzz::Cursor &cursor)
{
    const QStringList files = fuzzedFiles();
    const QString file = files.at(cursor.u8() % files.size());
    const QByteArrayView bytes = cursor.piece16();

    soundChat();
    Fuzz::putFile(file, bytes);
    Storage::discard();
    readEveryFile();

    int sent = 0;
    TimerRegistry timers;
    timers.add(QStringLiteral("Timer10"), 5000);
    timers.add(QStringLiteral("auto_soob"), 0);
    timers.add(QStringLiteral("chat_tim"), 10000);
    const auto send = [&sent](int slot, const QString &text, const QString &toUin) {
        require(slot >= 1 && !toUin.isEmpty());
        (void)text;
        ++sent;
        return true;
    };
    ChatService chat(timers, send);
    ChatModeration moderation(&chat, send);
    chat.setModerationStage([&moderation](MessageState &state) { return moderation.HandleChatAdminCommand(state); });
    chat.setWarnSender([&moderation](MessageState &state) { moderation.WarnChatSender(state); });
    chat.loadAutoMessageSettings();

    for (int count = 0; !cursor.atEnd() && count < 16; ++count) {
        MessageState state;
        state.slot = 1 + cursor.u8() % 3;
        state.SenderUin = Uins[state.slot - 1];
        const QString command = QString::fromUtf8(Commands[cursor.u8() % std::size(Commands)]);
        const QString argument = Cp1251::decode(cursor.piece8().toByteArray());
        state.MessageText = command.isEmpty() ? argument : command + QLatin1Char(' ') + argument;
        (void)chat.HandleChatMessage(state);
        if (count % 4 == 3) {
            chat.Timer10_Timer();
            g_clock->advanceSecs(61);
            chat.auto_soob_Timer();
            moderation.ban_Timer();
        }
    }
    chat.Timer10_Timer();
    g_clock->advanceSecs(3600);
    chat.auto_soob_Timer();
    chat.noteSignedOn(1);
    chat.chat_tim_Timer();
    moderation.ban_Timer();
    readEveryFile();
    chat.cleanUpPerRunFiles();
    Storage::instance().flushAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::startProgram(argc, argv);
    g_clock = new FixedClock(Start);
    Clock::setInstance(g_clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::Cursor cursor(input);
    fuzzChat(cursor);
    QCoreApplication::processEvents();
    Storage::discard();
    Fuzz::clearFolder(ProgramFolder::home());
    g_clock->set(Start);
    return 0;
}
