// The message log under traffic while the storage layer folds its journal into a large
// log: the longest stretch the event loop was kept from other work (a 0 ms timer's
// longest gap) while one message is logged per turn, beside the turn a fold of the
// whole log at once takes (what exit still does). Arguments: the log's size in MiB.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void writeLog(qint64 mib)
{
    QByteArray log;
    log.reserve(mib * 1024 * 1024 + 4096);
    int line = 0;
    while (log.size() < mib * 1024 * 1024) {
        log += "20.11.2026 - 12:" + QByteArray::number(10 + line % 50) + ":00 - " +
               QByteArray::number(100000 + line % 5000) + " : сообщение номер " + QByteArray::number(line) +
               "\r\n";
        ++line;
    }
    TextFile::writeBytes(Records::MessageLogPath, log);
    Storage::discard();
}

void logOne(int n)
{
    MessageState state;
    state.SenderUin = QStringLiteral("424242");
    state.MessageText = QStringLiteral("свежее %1").arg(n);
    LogMessage(state);
}

// One message per turn of the event loop while the background fold runs, and as many
// turns again after it.
void BM_LogDuringFold(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeLog(state.range(0));
    const QString path = TextFile::filePath(Records::MessageLogPath);
    qint64 longestGapMs = 0;
    int messages = 0;
    int foldTurns = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            logOne(messages++);
        Storage::instance().foldInBackground(path);
        QEventLoop loop;
        QElapsedTimer gap;
        QTimer ticker;
        ticker.setInterval(0);
        int after = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGapMs = std::max(longestGapMs, gap.restart());
            logOne(messages++);
            if (Storage::instance().isFolding(path))
                ++foldTurns;
            else if (++after > 200)
                loop.quit();
        });
        gap.start();
        ticker.start();
        loop.exec();
    }
    state.counters["messages"] = messages;
    state.counters["turns_while_folding"] = foldTurns;
    state.counters["longest_turn_ms"] = double(longestGapMs);
    Storage::instance().flushAll();
    Storage::discard();
}

// The whole fold in one turn, as start-up and exit do it.
void BM_FoldAtOnce(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeLog(state.range(0));
    qint64 longestMs = 0;
    int messages = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            logOne(messages++);
        QElapsedTimer turn;
        turn.start();
        Storage::instance().flushAll();
        longestMs = std::max(longestMs, turn.elapsed());
    }
    state.counters["longest_turn_ms"] = double(longestMs);
    Storage::discard();
}

} // namespace

BENCHMARK(BM_LogDuringFold)->Arg(8)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FoldAtOnce)->Arg(8)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
