// The unknown-command log window opening a large log: besides the time to the last row,
// it reports the longest stretch the event loop was kept from other work (a 0 ms timer's
// longest gap), which is what the operator and the bot's sessions feel as a freeze.
// Argument: the log's size in MiB.
#include "commandwindows/side_windows.h"
#include "core/linefilemodel.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "records/messagerecords.h"
#include "threadcpu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// A log of about mib MiB as the engine appends it: "<uin>: <text>" lines.
void writeLog(qint64 mib)
{
    QByteArray log;
    log.reserve(mib * 1024 * 1024 + 4096);
    int line = 0;
    while (log.size() < mib * 1024 * 1024) {
        log += QByteArray::number(100000 + line % 5000) + ": непонятная команда номер " + QByteArray::number(line) +
               "\r\n";
        ++line;
    }
    TextFile::writeBytes(Records::UnknownLogPath, log);
}

void BM_OpenUnknownLog(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeLog(state.range(0));
    qint64 longestGapMs = 0;
    qint64 longestCpuMs = 0;
    int rows = 0;
    for (auto _ : state) {
        QElapsedTimer gap;
        qint64 cpu = threadCpuMs();
        const auto turn = [&] {
            longestGapMs = std::max(longestGapMs, gap.restart());
            const qint64 now = threadCpuMs();
            longestCpuMs = std::max(longestCpuMs, now - cpu);
            cpu = now;
        };
        QTimer ticker;
        ticker.setInterval(0);
        QObject::connect(&ticker, &QTimer::timeout, turn);
        gap.start();
        ticker.start();
        // Opening the window is one turn of the loop too.
        auto window = std::make_unique<Form29>();
        window->resize(600, 400);
        window->show();
        turn();
        if (window->log().isLoading()) {
            QEventLoop loop;
            QObject::connect(&window->log(), &LineFileModel::loaded, &loop, &QEventLoop::quit);
            loop.exec();
        }
        rows = window->log().rowCount();
    }
    state.counters["rows"] = rows;
    state.counters["longest_turn_ms"] = double(longestGapMs);
    state.counters["longest_turn_cpu_ms"] = double(longestCpuMs);
}

} // namespace

BENCHMARK(BM_OpenUnknownLog)->Arg(8)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
