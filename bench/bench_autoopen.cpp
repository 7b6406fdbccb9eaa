// The windows the program may open at start, over a hand-edited file that is large: one
// line of 8 MiB, or 100,000 lines. For each (window, file, size) it prints the longest
// stretch the event loop was kept from other work while the window opened and showed
// (a 0 ms timer's longest gap), which is what delays the bot's sign-on. Not a timed
// test: it prints figures. Argument --quick: smaller files, for the smoke run; --only
// NAME: only that window's cases.
#include "chat/chatfiles.h"
#include "chatwindows/chat_window.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "records/automailing.h"
#include "threadcpu.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Case
{
    const char *window;
    QString file;
    // One line of the file; i counts the lines, long asks for the one huge line.
    std::function<QByteArray(int i, qsizetype longBytes)> line;
    // What the operator does next to see the file's lines, if anything.
    std::function<void(QWidget *window)> show = {};
};

QByteArray filler(qsizetype bytes)
{
    return QByteArray(bytes, 'x');
}

// The file: lines of the case, either one long line or many short ones.
QByteArray fileBytes(const Case &c, bool oneLongLine, qsizetype longBytes, int lines)
{
    QByteArray bytes;
    if (oneLongLine)
        return c.line(0, longBytes) + "\r\n";
    for (int i = 0; i < lines; ++i)
        bytes += c.line(i, 0) + "\r\n";
    return bytes;
}

struct Turn
{
    qint64 wallMs = 0;
    qint64 cpuMs = 0; // this thread's CPU time in the turn that used most of it
};

// Opens the window in a fresh program and runs the event loop a while after it showed.
// warm: the storage layer has read the file before (its read and decoding are then
// not part of the figure, only what the window does with the lines).
Turn longestTurn(const Case &c, const QByteArray &bytes, bool warm)
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    Storage::discard();
    TextFile::writeBytes(c.file, bytes);
    // The storage layer trusts a cached read only of a file not changed in the last
    // moments: wait until it counts as settled, so a read before the window opens takes
    // the reading out of the figure.
    const QDeadlineTimer deadline(10'000);
    for (;;) {
        const std::optional<Storage::Stamp> stamp = Storage::stampOf(TextFile::filePath(c.file));
        if (!stamp || !Storage::isRecent(*stamp) || deadline.hasExpired())
            break;
        QThread::msleep(5);
    }
    Storage::discard();
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    Turn longest;
    {
        BotApplication bot;
        if (warm)
            TextFile::readLines(c.file);
        bot.mainWindow().show();
        QCoreApplication::processEvents();
        QElapsedTimer gap;
        qint64 cpu = threadCpuMs();
        const auto turn = [&] {
            longest.wallMs = std::max(longest.wallMs, gap.restart());
            const qint64 now = threadCpuMs();
            longest.cpuMs = std::max(longest.cpuMs, now - cpu);
            cpu = now;
        };
        QTimer ticker;
        ticker.setInterval(0);
        QObject::connect(&ticker, &QTimer::timeout, turn);
        gap.start();
        ticker.start();
        QWidget *window = bot.mainWindow().showWindow(QString::fromLatin1(c.window));
        if (window && c.show)
            c.show(window);
        turn();
        // Long enough for the window's first paints.
        QElapsedTimer running;
        running.start();
        while (running.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        turn();
    }
    Dialogs::setInstance(nullptr);
    Storage::discard();
    return longest;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    const qsizetype onlyAt = app.arguments().indexOf(QStringLiteral("--only"));
    const QString only = onlyAt > 0 ? app.arguments().value(onlyAt + 1) : QString();
    const qsizetype longBytes = quick ? 256 * 1024 : 8 * 1024 * 1024;
    const int lines = quick ? 2000 : 100000;

    const QList<Case> cases = {
        {"Form19", SubscriberList::FilePath,
         [](int i, qsizetype n) { return n ? filler(n) : QByteArray::number(100000 + i); }},
        {"Form2", QStringLiteral("\\Списки пользователей\\Контакты.txt"),
         [](int i, qsizetype n) {
             return "Name " + (n ? filler(n) : QByteArray::number(i)) + ":^:" + QByteArray::number(100000 + i) +
                    ":^::^::^::^::^:";
         }},
        {"Form5", UserBlacklist::FilePath,
         [](int i, qsizetype n) {
             return QByteArray::number(100000 + i) + ":^:01.01.2099:^:" + (n ? filler(n) : QByteArray("spam"));
         }},
        {"Form5", ChatBanList::FilePath,
         [](int i, qsizetype n) {
             return "nick" + QByteArray::number(i) + ":^:" + QByteArray::number(100000 + i) +
                    ":^:01.01.2099 10:00:00:^:" + (n ? filler(n) : QByteArray("flood"));
         }},
        // The chat window is not opened at start; its rooms page lists the rooms.
        {"Form33", RoomList::FilePath,
         [](int i, qsizetype n) { return QByteArray::number(i + 1) + ' ' + (n ? filler(n) : QByteArray("room")); },
         [](QWidget *window) { static_cast<Form33 *>(window)->Command13_Click(); }},
    };
    std::printf("%-8s %-42s %-16s %s\n", "window", "file", "size",
                "longest_turn_ms (cold / file read before), wall and this thread's CPU");
    for (const Case &c : cases) {
        if (!only.isEmpty() && only != QLatin1String(c.window))
            continue;
        for (const bool oneLongLine : {true, false}) {
            const QByteArray bytes = fileBytes(c, oneLongLine, longBytes, lines);
            const Turn cold = longestTurn(c, bytes, false);
            const Turn warm = longestTurn(c, bytes, true);
            const QString size = oneLongLine ? QStringLiteral("1 line %1 KiB").arg(longBytes / 1024)
                                             : QStringLiteral("%1 lines").arg(lines);
            std::printf("%-8s %-42s %-16s wall %lld / %lld, cpu %lld / %lld\n", c.window, qPrintable(c.file),
                        qPrintable(size), static_cast<long long>(cold.wallMs), static_cast<long long>(warm.wallMs),
                        static_cast<long long>(cold.cpuMs), static_cast<long long>(warm.cpuMs));
            std::fflush(stdout);
        }
    }
    return 0;
}
