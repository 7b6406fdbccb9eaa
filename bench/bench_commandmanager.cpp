// The command manager over a large group file: opening the window on 10,000 commands,
// and one keystroke of the quick filter. Both must stay well under a frame's worth of
// waiting for the operator, whatever the size of the group.
#include "commands/commandeditor.h"
#include "commandwindows/command_manager_window.h"
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "platform/recordingwindows.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void writeGroup(int commands)
{
    QString text;
    for (int i = 0; i < commands; ++i)
        text += QStringLiteral("Команда: команда%1\r\nДействие: ответ %1\r\n====\r\n").arg(i);
    TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"), text);
}

void BM_OpenManager(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeGroup(int(state.range(0)));
    CommandWizard wizard;
    qsizetype listed = 0;
    RecordingWindows windows;
    for (auto _ : state) {
        Form9 manager(wizard, windows);
        listed = manager.commandNames().size();
    }
    state.counters["listed"] = double(listed);
    state.SetLabel(std::to_string(state.range(0)) + " commands");
}
BENCHMARK(BM_OpenManager)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FilterKeystroke(benchmark::State &state)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    writeGroup(int(state.range(0)));
    CommandWizard wizard;
    RecordingWindows windows;
    Form9 manager(wizard, windows);
    const QStringList typed = {QStringLiteral("к"), QStringLiteral("команда9"), QStringLiteral("команда99"),
                               QString()};
    qsizetype i = 0;
    for (auto _ : state)
        manager.Text1->setText(typed.at(i++ % typed.size()));
    state.SetLabel(std::to_string(state.range(0)) + " commands");
}
BENCHMARK(BM_FilterKeystroke)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
