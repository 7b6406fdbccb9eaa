// The chat under load: chat lines per second through the chat stage, and one delivery
// tick, with 10 rooms of 100 members and with 1 room of 1,000, over chat logs of several
// sizes; and the turns that one large program-folder file costs (a room list, a staff
// file, an auto-message), with the longest turn measured. Prints peak memory.
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "session/distribution.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A program folder with the chat on, rooms 0..rooms-1 of members each, every member
// served by one of four secondary bots, and a chat log of logBytes.
struct ChatHome
{
    QTemporaryDir home;
    TimerRegistry timers;
    std::unique_ptr<ChatService> chat;
    qint64 sent = 0;
    QStringList writers; // one member per room

    ChatHome(int rooms, int members, qint64 logBytes)
    {
        ProgramFolder::setHome(home.path());
        timers.add(QStringLiteral("Timer10"), 5000);
        timers.add(QStringLiteral("auto_soob"), 0);
        timers.add(QStringLiteral("chat_tim"), 10000);
        ChatSwitch::write(true, QStringLiteral("5"));
        ChatOptions::write({false, true, false, true, false, false, false, false, false, false, false});
        QStringList roomLines, memberLines, assignments;
        for (int r = 0; r < rooms; ++r) {
            const QString room = QString::number(r);
            if (r > 0)
                roomLines.append(room + QStringLiteral(" Комната") + room);
            QStringList roomFile;
            for (int m = 0; m < members; ++m) {
                const QString uin = QString::number(100000 + r * members + m);
                const QString nick = QStringLiteral("ник") + uin;
                memberLines.append(ChatMember{uin, nick, room}.line());
                roomFile.append(uin + QLatin1Char(' ') + nick);
                assignments.append(QString::number(2 + m % 4) + QLatin1Char(' ') + uin);
                if (m == 0)
                    writers.append(uin);
            }
            TextFile::writeLines(RoomMembers::filePath(room), roomFile);
        }
        if (!roomLines.isEmpty())
            TextFile::writeLines(RoomList::FilePath, roomLines);
        TextFile::writeLines(ChatMemberList::FilePath, memberLines);
        TextFile::writeLines(BotDistribution::AssignmentFile, assignments);
        if (logBytes > 0) {
            const QByteArray line = Cp1251::encode(
                QString(QStringLiteral("11.12.2026 9:05:07 100000 - никгруппа:0: старая строка чата\r\n")));
            TextFile::writeBytes(ChatLog::FilePath, line.repeated(logBytes / line.size() + 1));
        }
        chat = std::make_unique<ChatService>(timers, [this](int, const QString &, const QString &) {
            ++sent;
            return true;
        });
    }

    ~ChatHome()
    {
        chat.reset();
        Storage::instance().flushAll();
        Storage::discard();
    }

    void line(int writer)
    {
        MessageState message;
        message.SenderUin = writers[writer % writers.size()];
        message.MessageText = QStringLiteral("строка чата для всех в комнате");
        message.slot = 2;
        chat->HandleChatMessage(message);
    }
};

// Chat lines through the chat stage, one room after the other; a delivery tick every
// 64 lines (outside the measured time) keeps the queues short, as the timer would.
void BM_ChatStage(benchmark::State &state)
{
    ChatHome home(int(state.range(0)), int(state.range(1)), state.range(2));
    qint64 count = 0;
    for (auto _ : state) {
        home.line(int(count));
        if (++count % 64 == 0) {
            state.PauseTiming();
            home.chat->Timer10_Timer();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["peak_rss_KiB"] = double(peakRssKiB());
}

// One delivery tick after one line was queued in every room: the items are the
// delivered lines (one per member).
void BM_Delivery(benchmark::State &state)
{
    const int rooms = int(state.range(0));
    ChatHome home(rooms, int(state.range(1)), state.range(2));
    qint64 before = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int r = 0; r < rooms; ++r)
            home.line(r);
        before = home.sent;
        state.ResumeTiming();
        home.chat->Timer10_Timer();
    }
    state.SetItemsProcessed(home.sent);
    state.counters["delivered_per_tick"] = double(home.sent - before);
    state.counters["peak_rss_KiB"] = double(peakRssKiB());
}

// The longest of the measured turns of the event loop.
struct LongestTurn
{
    double ms = 0;
    template <typename Turn>
    void run(Turn turn)
    {
        QElapsedTimer clock;
        clock.start();
        turn();
        ms = std::max(ms, clock.nsecsElapsed() / 1e6);
    }
};

// A delivery tick with one queued line while the room list holds range(0) rooms.
void BM_LargeRoomList(benchmark::State &state)
{
    ChatHome home(1, 10, 0);
    QStringList rooms;
    for (int r = 1; r <= state.range(0); ++r)
        rooms.append(QString::number(r) + QStringLiteral(" Комната") + QString::number(r));
    TextFile::writeLines(RoomList::FilePath, rooms);
    LongestTurn longest;
    for (auto _ : state) {
        state.PauseTiming();
        home.line(0);
        state.ResumeTiming();
        longest.run([&] { home.chat->Timer10_Timer(); });
    }
    state.counters["longest_turn_ms"] = longest.ms;
}

// The role checks of one moderation command (the dispatcher asks for up to four roles)
// while the staff file holds range(0) lines.
void BM_LargeStaffFile(benchmark::State &state)
{
    ChatHome home(1, 10, 0);
    QStringList staff;
    for (int i = 0; i < state.range(0); ++i)
        staff.append(QStringLiteral("Модератор:") + QString::number(1000000 + i));
    TextFile::writeLines(ChatStaff::FilePath, staff);
    const QString sender = QStringLiteral("999");
    auto command = [&] {
        benchmark::DoNotOptimize(ChatStaff::isEmpty());
        benchmark::DoNotOptimize(ChatStaff::holds(sender, ChatStaff::Administrator));
        benchmark::DoNotOptimize(ChatStaff::holds(sender, ChatStaff::Moderator));
        benchmark::DoNotOptimize(ChatStaff::holds(sender, ChatStaff::Premoderator));
    };
    // The first command after a change of the file reads and parses it.
    LongestTurn first;
    first.run(command);
    LongestTurn longest;
    for (auto _ : state)
        longest.run(command);
    state.counters["first_turn_ms"] = first.ms;
    state.counters["longest_turn_ms"] = longest.ms;
}

// An auto-message of range(0) bytes in one line: the auto-message tick queues it, the
// delivery tick sends it to the ten members in parts.
void BM_LargeAutoMessage(benchmark::State &state)
{
    ChatHome home(1, 10, 0);
    const QString text(state.range(0), QChar(0x0436));
    TextFile::writeLines(AutoMessages::FilePath, {QStringLiteral("1"), QStringLiteral(" 0 "),
                                                  text + QStringLiteral("&^+&&^=")});
    // Auto-messages go out once somebody registered or joined in this run.
    MessageState join;
    join.SenderUin = QStringLiteral("99999");
    join.MessageText = QStringLiteral("!рег Гость");
    join.slot = 2;
    home.chat->HandleChatMessage(join);
    LongestTurn queued, delivered;
    for (auto _ : state) {
        queued.run([&] { home.chat->auto_soob_Timer(); });
        delivered.run([&] { home.chat->Timer10_Timer(); });
    }
    state.counters["auto_tick_ms"] = queued.ms;
    state.counters["delivery_tick_ms"] = delivered.ms;
    state.counters["longest_turn_ms"] = std::max(queued.ms, delivered.ms);
    state.counters["messages_sent"] = double(home.sent);
}

} // namespace

BENCHMARK(BM_LargeRoomList)->ArgNames({"rooms"})->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeStaffFile)->ArgNames({"lines"})->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeAutoMessage)->ArgNames({"bytes"})->Arg(8 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ChatStage)
    ->ArgNames({"rooms", "members", "log_bytes"})
    ->Args({10, 100, 0})
    ->Args({1, 1000, 0})
    ->Args({10, 100, 10 << 20})
    ->Args({1, 1000, 10 << 20})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Delivery)
    ->ArgNames({"rooms", "members", "log_bytes"})
    ->Args({10, 100, 0})
    ->Args({1, 1000, 0})
    ->Args({10, 100, 10 << 20})
    ->Args({1, 1000, 10 << 20})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<char *> args(argv, argv + argc);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak memory: %ld KiB\n", peakRssKiB());
    return 0;
}
