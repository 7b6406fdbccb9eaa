// The chat under load: chat lines per second through the chat stage, and one delivery
// tick, with 10 rooms of 100 members and with 1 room of 1,000, over chat logs of several
// sizes. Prints peak memory.
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatservice.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "session/distribution.h"

#include <QCoreApplication>
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

} // namespace

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
