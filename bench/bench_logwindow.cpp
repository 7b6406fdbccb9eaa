// The log window's model over a large message log: opening it whole and filtering one
// day. Besides the time to the last row, it reports the longest stretch the event loop
// was kept from other work (a 0 ms timer's longest gap), which is what the operator
// feels as a frozen window. Arguments: the log's size in MiB. The storage layer's
// background fold of the log is held off while it runs.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"
#include "records/messagelogmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// A log of about mib MiB: lines of several days, newest day first, with some journal
// lines on top that the storage layer has not folded yet.
void writeLog(qint64 mib)
{
    QByteArray log;
    log.reserve(mib * 1024 * 1024 + 4096);
    int line = 0;
    while (log.size() < mib * 1024 * 1024) {
        const int day = 20 - (line * 20) / int(mib * 1024 * 1024 / 80 + 1);
        log += QByteArray::number(std::max(day, 1)).rightJustified(2, '0') + ".11.2026 - 12:" +
               QByteArray::number(10 + line % 50) + ":00 - " + QByteArray::number(100000 + line % 5000) +
               " : сообщение номер " + QByteArray::number(line) + "\r\n";
        ++line;
    }
    TextFile::writeBytes(Records::MessageLogPath, log);
    Storage::discard();
    // The storage layer's own background fold of the journal into the log (a rewrite
    // of the whole log, about a second for 100 MiB) is not the window's doing: it is
    // kept out of the figure.
    Storage::instance().setTickInterval(3600 * 1000);
    for (int i = 0; i < 10; ++i) {
        MessageState state;
        state.SenderUin = QStringLiteral("424242");
        state.MessageText = QStringLiteral("свежее %1").arg(i);
        LogMessage(state);
    }
}

// Runs the load and the event loop until the model is done; the longest gap between
// two turns of the loop goes into longestGapMs.
void runLoad(MessageLogModel &model, const std::function<void()> &load, qint64 &longestGapMs)
{
    QEventLoop loop;
    QObject::connect(&model, &MessageLogModel::loaded, &loop, &QEventLoop::quit);
    QElapsedTimer gap;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, gap.restart());
    });
    gap.start();
    ticker.start();
    load();
    longestGapMs = std::max(longestGapMs, gap.restart());
    if (model.isLoading())
        loop.exec();
}

void BM_OpenLog(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeLog(state.range(0));
    qint64 longestGapMs = 0;
    int rows = 0;
    for (auto _ : state) {
        MessageLogModel model;
        runLoad(model, [&] { model.loadAll(); }, longestGapMs);
        rows = model.rowCount();
    }
    state.counters["rows"] = rows;
    state.counters["longest_turn_ms"] = double(longestGapMs);
    Storage::discard();
}

void BM_FilterDay(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeLog(state.range(0));
    qint64 longestGapMs = 0;
    int rows = 0;
    for (auto _ : state) {
        MessageLogModel model;
        runLoad(model, [&] { model.loadDay(QStringLiteral("10.11.2026")); }, longestGapMs);
        rows = model.rowCount();
    }
    state.counters["rows"] = rows;
    state.counters["longest_turn_ms"] = double(longestGapMs);
    Storage::discard();
}

} // namespace

BENCHMARK(BM_OpenLog)->Arg(8)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FilterDay)->Arg(8)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
