// The chat window over a chat of many members: opening it, and one member joining and
// one leaving while it is open (the member list and the rooms page follow each change).
// Both must stay well under a frame's worth of waiting for the operator.
#include "chat/automessagesedit.h"
#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chat_window.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "platform/recordingwindows.h"
#include "session/messagestate.h"

#include <QApplication>
#include <QListView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Chat
{
    explicit Chat(int members)
    {
        ProgramFolder::setHome(home.path());
        QList<ChatMember> list;
        for (int i = 0; i < members; ++i)
            list.append(
                ChatMember{QString::number(300000 + i), QStringLiteral("ник%1").arg(i), QStringLiteral("0")});
        ChatMemberList::write(list);
        ChatSwitch::write(true, QStringLiteral("20"));
    }
    QTemporaryDir home;
    TimerRegistry timers;
    ChatService service{timers, [](int, const QString &, const QString &) { return true; }};
    AutoMessagesEditor autoMessages;
};

void BM_OpenChatWindow(benchmark::State &state)
{
    Chat chat(int(state.range(0)));
    int listed = 0;
    RecordingWindows windows;
    for (auto _ : state) {
        Form33 window(chat.service, chat.autoMessages, nullptr, windows);
        listed = window.List1->model()->rowCount();
    }
    state.counters["listed"] = listed;
    state.SetLabel(std::to_string(state.range(0)) + " members");
}
BENCHMARK(BM_OpenChatWindow)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_JoinAndLeaveWhileOpen(benchmark::State &state)
{
    Chat chat(int(state.range(0)));
    RecordingWindows windows;
    Form33 window(chat.service, chat.autoMessages, nullptr, windows);
    window.Command13_Click(); // the rooms page follows the members too
    const auto say = [&chat](const QString &text) {
        MessageState message;
        message.SenderUin = QStringLiteral("100001");
        message.MessageText = text;
        message.slot = 1;
        chat.service.HandleChatMessage(message);
    };
    say(QStringLiteral("!РЕГ Вася"));
    say(QStringLiteral("!EXIT"));
    for (auto _ : state) {
        say(QStringLiteral("!ЧАТ"));
        say(QStringLiteral("!EXIT"));
    }
    state.counters["listed"] = window.List1->model()->rowCount();
    state.SetLabel(std::to_string(state.range(0)) + " members");
}
BENCHMARK(BM_JoinAndLeaveWhileOpen)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
