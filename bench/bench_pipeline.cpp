// Messages per second through the answer pipeline (the reader's ban check and message
// log included, the answer timer excluded) over command bases of several sizes and
// message logs of several sizes. The event loop runs between messages now and then, so
// the storage layer's background folds of the message log are part of the figure.
// Each case prints its system calls per message: rw_calls_per_msg from /proc/self/io
// (read and write calls of the whole process), read_path_calls_per_msg from the storage
// layer's own count of what its reads cost (stat, open, read, notifications), which
// /proc/self/io does not see. For every kind at once: strace -f -c around a run.
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "engine/answerengine.h"
#include "engine/bancheck.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"
#include "records/messagerecords.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString commandBase(int commands, const QString &prefix)
{
    QString text;
    for (int i = 0; i < commands; ++i) {
        text += QStringLiteral("Команда: ") + prefix + QString::number(i) + CrLf +
                QStringLiteral("Действие: ответ номер ") + QString::number(i) + CrLf +
                QStringLiteral("====") + CrLf;
    }
    return text;
}

// The read and write system calls of this process so far (syscr + syscw of
// /proc/self/io); -1 where the kernel does not tell.
qint64 readWriteCalls()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    qint64 calls = 0;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("syscr: ") || line.startsWith("syscw: "))
            calls += line.mid(7).toLongLong();
    }
    return calls;
}

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Arguments: number of commands in each of the group and the common file; size of the
// message log before the first message, in bytes; lines in each of the user blacklist and
// the chat ban list (the sender is in neither, so both are looked through).
void BM_Pipeline(benchmark::State &state)
{
    const int commands = int(state.range(0));
    const qint64 logBytes = state.range(1);
    const int bans = int(state.range(2));
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    if (bans > 0) {
        QString users;
        QString chat;
        for (int i = 0; i < bans; ++i) {
            const QString number = QString::number(500000 + i);
            users += number + QStringLiteral(":^:01.01.2099:^:спам") + CrLf;
            chat += QStringLiteral("ник") + QString::number(i) + QStringLiteral(":^:") + number +
                    QStringLiteral(":^:01.01.2099 10:00:00:^:флуд") + CrLf;
        }
        TextFile::writeAll(UserBlacklist::FilePath, users);
        TextFile::writeAll(ChatBanList::FilePath, chat);
    }
    TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"),
                       commandBase(commands, QStringLiteral("общая")));
    TextFile::writeAll(QStringLiteral("\\Команды\\Друзья.txt"),
                       commandBase(commands, QStringLiteral("своя")));
    TextFile::writeAll(QStringLiteral("\\Группы\\Номера.txt"), QStringLiteral("424242:Друзья\r\n"));
    if (logBytes > 0) {
        const QByteArray line =
            Cp1251::encode(QString(QStringLiteral("05.03.2008 - 9:05:07 - 123456 : старое сообщение в логе") + CrLf));
        TextFile::writeBytes(Records::MessageLogPath, line.repeated(logBytes / line.size() + 1));
    }

    NamedTimer timer1(QStringLiteral("Timer1"));
    qint64 sent = 0;
    AnswerEngine engine(timer1, [&sent](int, const QString &, const QString &) {
        ++sent;
        return true;
    });
    // The last common command: the group file and the common file are searched whole.
    const QString wanted = QStringLiteral("общая") + QString::number(commands - 1);
    qint64 count = 0;
    // Once through before counting: the first look at each file is not per message.
    {
        MessageState message;
        message.SenderUin = QStringLiteral("424242");
        message.MessageText = wanted;
        message.slot = 1;
        CheckBans(message);
        LogMessage(message);
        engine.ProcessMessage(message);
        timer1.tick();
    }
    const qint64 callsBefore = readWriteCalls();
    const quint64 storageCallsBefore = Storage::instance().readSystemCalls();
    for (auto _ : state) {
        MessageState message;
        message.SenderUin = QStringLiteral("424242");
        message.MessageText = wanted;
        message.slot = 1;
        CheckBans(message);
        LogMessage(message);
        engine.ProcessMessage(message);
        state.PauseTiming();
        timer1.tick();
        state.ResumeTiming();
        // The storage layer's timer (folds and syncs) runs inside the measured time.
        if (++count % 64 == 0)
            QCoreApplication::processEvents();
    }
    const double messages = double(std::max<qint64>(count, 1));
    // Every read and write call of the process over the loop (the log's appends and the
    // background folds included), and the storage layer's own count of what its reads
    // cost (stat, open, read, notifications), which /proc/self/io does not see whole.
    state.counters["rw_calls_per_msg"] = double(readWriteCalls() - callsBefore) / messages;
    state.counters["read_path_calls_per_msg"] =
        double(Storage::instance().readSystemCalls() - storageCallsBefore) / messages;
    // Outside the measured loop: the next case starts without this one's journal.
    Storage::instance().flushAll();
    Storage::discard();
    state.SetItemsProcessed(state.iterations());
    state.counters["answers"] = double(sent);
    state.counters["peak_rss_KiB"] = double(peakRssKiB());
}

} // namespace

BENCHMARK(BM_Pipeline)
    ->ArgNames({"commands", "log_bytes", "bans"})
    ->Args({10, 0, 0})
    ->Args({1000, 0, 0})
    ->Args({10000, 0, 0})
    ->Args({10, 1 << 20, 0})
    ->Args({1000, 1 << 20, 0})
    ->Args({10000, 1 << 20, 0})
    ->Args({10, 100 << 20, 0})
    ->Args({1000, 100 << 20, 0})
    ->Args({10000, 100 << 20, 0})
    ->Args({1000, 1 << 20, 1000})
    ->Args({1000, 1 << 20, 100000})
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    // As the program does at start.
    SystemClock::settleTimeZone();
    QCoreApplication app(argc, argv);
    // By default each case runs long enough for the message log to be folded in the
    // background during the run; --benchmark_min_time overrides it (the smoke test).
    std::vector<char *> args(argv, argv + argc);
    char defaultMinTime[] = "--benchmark_min_time=3";
    if (std::none_of(args.begin(), args.end(),
                     [](const char *arg) { return std::strncmp(arg, "--benchmark_min_time", 20) == 0; }))
        args.push_back(defaultMinTime);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    // Inside a running event loop, as the bot's handlers run: file notifications are
    // delivered between messages instead of being looked for at each read.
    QTimer::singleShot(0, &app, [&app] {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        app.exit(0);
    });
    const int result = app.exec();
    std::printf("peak memory: %ld KiB\n", peakRssKiB());
    return result;
}
