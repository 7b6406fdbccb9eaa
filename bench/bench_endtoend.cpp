// The whole bot under a burst: the local OSCAR server, Korvane itself on a fresh program
// folder with a main bot and secondary bots, and many users that each write a burst of
// messages at once with the answer delay at 1 ms. A plain echo peer runs the same bursts
// through the same server first (what the machine can do at best). For each burst size it
// prints both rates and their ratio, latency percentiles, lost and misdirected answers,
// and Korvane's CPU time and system calls per message, counted around the burst from
// /proc/<pid>/stat and /proc/<pid>/io (syscr + syscw: the read- and write-like calls).
// Then one more burst runs with perf stat attached to Korvane, which counts every system
// call (stat, open and poll too), unless --no-perf or perf is missing. With --strace one
// more burst runs under strace -c -f, which counts every call by name; the rates of these
// extra bursts are not reported, the counting slows the bot.
//
// A burst queues every message before the first answer leaves, so even answers in the
// order of arrival wait at least half the slowest one's time at the median. For latency
// alone, the same messages also go out at an even pace, a quarter of the echo's burst
// rate by default, for the echo and for the bot: what an answer costs when no queue
// stands before it.
//
//   bench_endtoend [--bots 9] [--users 90] [--bursts 10,100] [--korvane PATH] [--strace]
//                  [--no-perf] [--strict] [--paced-share 0.25]
//
// With --strict it exits non-zero when an answer was lost or misdirected (the smoke run).
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QString MainBot = QStringLiteral("100001");
const QString Greeting = QStringLiteral("привет");
const QString Answer = QStringLiteral("Здравствуй!");
const QString EchoUin = QStringLiteral("900001");
const QByteArray Password = "pass";

QString secondaryBot(int index) // index from 2
{
    return QString::number(100000 + index);
}

QString userUin(int index)
{
    return QString::number(300001 + index);
}

// Runs the event loop until done() holds or the time runs out; false on time-out.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

long peakRssKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// What the kernel counted for a process: CPU time and read- and write-like system calls.
struct ProcessCounters
{
    double cpuSeconds = 0;
    qint64 syscalls = 0;
};

ProcessCounters processCounters(qint64 pid)
{
    ProcessCounters counters;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // The fields after the command name, which may hold spaces; utime and stime are
        // the 14th and 15th fields of the line.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const double ticks = double(sysconf(_SC_CLK_TCK));
        counters.cpuSeconds = (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
    }
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (io.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : io.readAll().split('\n')) {
            if (line.startsWith("syscr:") || line.startsWith("syscw:"))
                counters.syscalls += line.mid(6).trimmed().toLongLong();
        }
    }
    return counters;
}

struct Figures
{
    qint64 expected = 0;
    qint64 answered = 0;
    qint64 misdirected = 0;
    double seconds = 0;
    QList<qint64> latenciesMs;

    double rate() const { return seconds > 0 ? double(answered) / seconds : 0.0; }
    qint64 lost() const { return expected - answered; }
    qint64 percentile(double p) const
    {
        if (latenciesMs.isEmpty())
            return -1;
        return latenciesMs.at(std::min<qsizetype>(latenciesMs.size() - 1, qsizetype(p * double(latenciesMs.size()))));
    }
    qint64 maxLatency() const { return latenciesMs.isEmpty() ? -1 : latenciesMs.constLast(); }
};

// One user: knows which bot serves him, when each message of his burst left and when
// each answer came.
struct User
{
    std::unique_ptr<OscarPeer> peer;
    QString bot;
    QList<qint64> sentAt;
    QList<qint64> answeredAt;
    qint64 foreign = 0; // answers from a bot that does not serve him, or of the wrong text
};

void printFigures(const char *who, const Figures &f)
{
    std::printf("  %-8s answers/s %8.0f  latency ms min %lld p50 %5lld p95 %5lld p99 %5lld max %5lld  lost %lld  "
                "misdirected %lld\n",
                who, f.rate(), f.latenciesMs.isEmpty() ? -1LL : f.latenciesMs.constFirst(), f.percentile(0.5),
                f.percentile(0.95), f.percentile(0.99), f.maxLatency(), f.lost(), f.misdirected);
}

// Counts each user's answers from his bot against the messages he sent.
void listenForAnswers(std::vector<User> &users, const QElapsedTimer &clock, const QString &expectedText)
{
    for (User &user : users) {
        user.sentAt.clear();
        user.answeredAt.clear();
        user.foreign = 0;
        QObject::disconnect(user.peer.get(), &OscarPeer::messageReceived, nullptr, nullptr);
        User *u = &user;
        QObject::connect(user.peer.get(), &OscarPeer::messageReceived,
                         [u, &clock, expectedText](const QString &from, const QString &text) {
                             if (from != u->bot || !text.startsWith(expectedText) ||
                                 u->answeredAt.size() >= u->sentAt.size())
                                 ++u->foreign;
                             else
                                 u->answeredAt.append(clock.elapsed());
                         });
    }
}

qint64 answeredCount(const std::vector<User> &users)
{
    qint64 n = 0;
    for (const User &user : users)
        n += user.answeredAt.size();
    return n;
}

// Waits for the answers still due, then gathers the figures; the rate counts from the
// first message sent to the last answer.
Figures collect(std::vector<User> &users, const QElapsedTimer &clock, qint64 expected)
{
    Figures figures;
    figures.expected = expected;
    runUntil([&] { return answeredCount(users) >= figures.expected; }, 120000);
    // A short grace period catches answers that arrive twice or to the wrong user.
    const qint64 end = clock.elapsed();
    runUntil([&clock, end] { return clock.elapsed() > end + 300; }, 1000);
    qint64 lastAnswer = 0;
    for (const User &user : users) {
        for (qsizetype i = 0; i < user.answeredAt.size(); ++i) {
            figures.latenciesMs.append(user.answeredAt.at(i) - user.sentAt.at(i));
            lastAnswer = std::max(lastAnswer, user.answeredAt.at(i));
        }
        figures.misdirected += user.foreign;
    }
    std::sort(figures.latenciesMs.begin(), figures.latenciesMs.end());
    figures.answered = answeredCount(users);
    figures.seconds = double(std::max<qint64>(1, lastAnswer)) / 1000.0;
    return figures;
}

// Every user writes his burst at once to his bot; waits for the answers.
Figures runBurst(std::vector<User> &users, int burst, const QString &expectedText)
{
    QElapsedTimer clock;
    clock.start();
    listenForAnswers(users, clock, expectedText);
    for (int k = 0; k < burst; ++k) {
        for (User &user : users) {
            user.sentAt.append(clock.elapsed());
            user.peer->sendText(user.bot, Greeting);
        }
    }
    return collect(users, clock, qint64(users.size()) * burst);
}

// The users write perUser messages each at an even pace, together ratePerSecond messages
// a second, each user's first message at his own moment; waits for the answers. Below
// what the bot can carry, a message's latency is then its own cost, not its place in a
// queue that a burst builds before the first answer leaves.
Figures runPaced(std::vector<User> &users, int perUser, double ratePerSecond, const QString &expectedText)
{
    QElapsedTimer clock;
    clock.start();
    listenForAnswers(users, clock, expectedText);
    const qint64 total = qint64(users.size()) * perUser;
    const double gapMs = 1000.0 / std::max(1.0, ratePerSecond); // between two messages of all users
    qint64 sent = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(1);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        while (sent < total && double(sent) * gapMs <= double(now)) {
            User &user = users[size_t(sent % qint64(users.size()))];
            user.sentAt.append(clock.elapsed());
            user.peer->sendText(user.bot, Greeting);
            ++sent;
        }
        if (sent == total)
            pace.stop();
    });
    pace.start();
    runUntil([&] { return sent == total; }, 600000);
    return collect(users, clock, total);
}

bool prepareHome(const QString &home, quint16 port, int bots)
{
    ProgramFolder::setHome(home);
    const QString one = QStringLiteral("1\r\n");
    bool ok = TextFile::writeAll(QStringLiteral("\\Разрешение.txt"), one).ok &&
              TextFile::writeAll(QStringLiteral("\\Обучение.txt"), one).ok &&
              TextFile::writeAll(QStringLiteral("\\Выход.txt"), one).ok;
    ok = ok && TextFile::writeLines(QStringLiteral("\\Настройки\\Общие.txt"),
                                    {QStringLiteral("Server=127.0.0.1"), QStringLiteral("Port=%1").arg(port),
                                     QStringLiteral("AutoEnter=1"),
                                     QStringLiteral("AutoICQNumber=") + StoredLogin::ScrambleNumber(MainBot.toDouble()),
                                     QStringLiteral("AutoPassword=") +
                                         StoredLogin::ScramblePassword(QString::fromLatin1(Password)),
                                     // PlaySounds=1 turns the sounds off.
                                     QStringLiteral("PlaySounds=1"), QStringLiteral("AI=1"), QStringLiteral("AITime=1")})
                   .ok;
    QStringList distribution;
    for (int k = 2; k <= bots + 1; ++k)
        distribution.append(QStringLiteral("%1 %2 %3 0").arg(k).arg(secondaryBot(k), QString::fromLatin1(Password)));
    ok = ok && TextFile::writeLines(DistributionList::FilePath, distribution).ok;
    ok = ok && TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"),
                                  QStringLiteral("Команда: ") + Greeting + QStringLiteral("\r\nДействие: ") + Answer +
                                      QStringLiteral("\r\n====\r\n"))
                   .ok;
    ok = ok && TextFile::writeLines(QStringLiteral("\\Команды\\Настройки.txt"),
                                    {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")})
                   .ok;
    return ok;
}

bool logInUsers(std::vector<User> &users, quint16 port)
{
    for (User &user : users) {
        user.peer->logIn(QStringLiteral("127.0.0.1"), port, user.peer->objectName(), Password);
    }
    return runUntil(
        [&users] {
            return std::all_of(users.begin(), users.end(), [](const User &u) { return u.peer->isOnline(); });
        },
        60000);
}

} // namespace

// Runs one more burst while counter counts, stops it with SIGINT and hands back the
// burst's figures with the summary the counter wrote to out; nullopt when it wrote none.
std::optional<std::pair<Figures, QByteArray>> countedBurst(std::vector<User> &users, int burst, QProcess &counter,
                                                           const QString &out)
{
    const Figures f = runBurst(users, burst, Answer);
    ::kill(pid_t(counter.processId()), SIGINT);
    counter.waitForFinished(15000);
    QFile summary(out);
    if (!summary.open(QIODevice::ReadOnly))
        return std::nullopt;
    return std::pair{f, summary.readAll()};
}

// Runs one more burst with perf stat counting every system call Korvane enters (stat,
// open and poll included, which /proc/<pid>/io leaves out); prints the calls per message.
// False when perf is not there or may not count.
bool perfBurst(std::vector<User> &users, int burst, qint64 pid)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("perf.txt"));
    QProcess perf;
    perf.setProcessChannelMode(QProcess::MergedChannels);
    perf.start(QStringLiteral("perf"), {QStringLiteral("stat"), QStringLiteral("-e"),
                                        QStringLiteral("raw_syscalls:sys_enter"), QStringLiteral("-x,"),
                                        QStringLiteral("-o"), out, QStringLiteral("-p"), QString::number(pid)});
    if (!perf.waitForStarted(10000))
        return false;
    // perf says nothing once it counts: give it a moment, then check it is still there.
    runUntil([] { return false; }, 500);
    if (perf.state() != QProcess::Running)
        return false;
    const auto counted = countedBurst(users, burst, perf, out);
    if (!counted)
        return false;
    const Figures &f = counted->first;
    for (const QByteArray &line : counted->second.split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() < 3 || fields.at(2) != "raw_syscalls:sys_enter")
            continue;
        bool ok = false;
        const qint64 calls = fields.at(0).toLongLong(&ok);
        if (!ok)
            return false;
        std::printf("perf stat over one more burst of %lld messages (%lld answered): %.1f system calls per message, "
                    "all kinds\n",
                    f.expected, f.answered, f.answered > 0 ? double(calls) / double(f.answered) : 0.0);
        return true;
    }
    return false;
}

// Runs one more burst with strace counting Korvane's system calls by name; prints the
// calls per message and the busiest calls. False when strace could not attach.
bool straceBurst(std::vector<User> &users, int burst, qint64 pid)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("strace.txt"));
    QProcess strace;
    strace.setProcessChannelMode(QProcess::MergedChannels);
    strace.start(QStringLiteral("strace"), {QStringLiteral("-c"), QStringLiteral("-f"), QStringLiteral("-o"), out,
                                            QStringLiteral("-p"), QString::number(pid)});
    if (!strace.waitForStarted(10000))
        return false;
    // strace says so once it has attached to every thread.
    QByteArray said;
    const bool attached = runUntil(
        [&] {
            said += strace.readAll();
            return said.count("attached") >= 1 && strace.state() == QProcess::Running;
        },
        10000);
    if (!attached) {
        strace.kill();
        strace.waitForFinished(5000);
        return false;
    }
    runUntil([] { return false; }, 500); // the remaining threads
    const auto counted = countedBurst(users, burst, strace, out);
    if (!counted)
        return false;
    const Figures &f = counted->first;
    const QList<QByteArray> lines = counted->second.split('\n');
    qint64 total = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (line.contains("total") && fields.size() >= 4)
            total = fields.value(3).toLongLong();
    }
    std::printf("strace -c -f over one more burst of %lld messages (%lld answered): %.1f system calls per message\n",
                f.expected, f.answered, f.answered > 0 ? double(total) / double(f.answered) : 0.0);
    int shown = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5 || !fields.value(0).contains('.') || line.contains("total"))
            continue;
        const qint64 calls = fields.value(3).toLongLong();
        std::printf("  %-20s %8lld calls  %6.2f per message\n", fields.constLast().constData(), calls,
                    f.answered > 0 ? double(calls) / double(f.answered) : 0.0);
        if (++shown == 12)
            break;
    }
    return true;
}

struct Scenario
{
    int burst = 0;
    Figures echo;
    Figures bot;
    // The same messages at an even pace, a share of the echo's burst rate.
    double pacedRate = 0;
    Figures pacedEcho;
    Figures pacedBot;
    double cpuSecondsPerMessage = 0;
    double syscallsPerMessage = 0;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("bots"), QStringLiteral("secondary bots"), QStringLiteral("n"), QStringLiteral("9")});
    parser.addOption({QStringLiteral("users"), QStringLiteral("users"), QStringLiteral("n"), QStringLiteral("90")});
    parser.addOption({QStringLiteral("bursts"), QStringLiteral("messages per user, one scenario each"),
                      QStringLiteral("n,n"), QStringLiteral("10,100")});
    parser.addOption({QStringLiteral("korvane"), QStringLiteral("the program"), QStringLiteral("path"),
                      QStringLiteral(KORVANE_BINARY_DIR "/mainwindow/korvane")});
    parser.addOption({QStringLiteral("strace"), QStringLiteral("count the system calls by name over one more burst")});
    parser.addOption({QStringLiteral("no-perf"), QStringLiteral("skip the burst counted by perf stat")});
    parser.addOption({QStringLiteral("strict"), QStringLiteral("fail on a lost or misdirected answer")});
    parser.addOption({QStringLiteral("paced-share"),
                      QStringLiteral("the paced run's rate as a share of the echo's burst rate (0 skips it)"),
                      QStringLiteral("share"), QStringLiteral("0.25")});
    parser.process(app);
    const int bots = std::max(1, parser.value(QStringLiteral("bots")).toInt());
    const int userCount = std::max(1, parser.value(QStringLiteral("users")).toInt());
    std::vector<Scenario> scenarios;
    for (const QString &burst : parser.value(QStringLiteral("bursts")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        Scenario scenario;
        scenario.burst = std::max(1, burst.toInt());
        scenarios.push_back(scenario);
    }
    if (scenarios.empty()) {
        std::fprintf(stderr, "no burst size given\n");
        return 2;
    }
    // A secondary bot serves ten users at most.
    if (userCount > 10 * bots) {
        std::fprintf(stderr, "%d secondary bots serve at most %d users\n", bots, 10 * bots);
        return 2;
    }

    OscarServer server;
    server.addAccount(MainBot, Password);
    for (int k = 2; k <= bots + 1; ++k)
        server.addAccount(secondaryBot(k), Password);
    for (int i = 0; i < userCount; ++i)
        server.addAccount(userUin(i), Password);
    server.addAccount(EchoUin, Password);
    if (!server.listen()) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.errorString()));
        return 2;
    }
    const quint16 port = server.loginPort();

    // The ceiling: a peer that sends every text straight back.
    OscarPeer echo;
    QObject::connect(&echo, &OscarPeer::messageReceived,
                     [&echo](const QString &from, const QString &text) { echo.sendText(from, text); });
    echo.logIn(QStringLiteral("127.0.0.1"), port, EchoUin, Password);

    std::vector<User> users;
    for (int i = 0; i < userCount; ++i) {
        User user;
        user.peer = std::make_unique<OscarPeer>();
        user.peer->setObjectName(userUin(i));
        users.push_back(std::move(user));
    }
    if (!logInUsers(users, port) || !runUntil([&echo] { return echo.isOnline(); }, 10000)) {
        std::fprintf(stderr, "users could not log in\n");
        return 2;
    }
    for (User &user : users)
        user.bot = EchoUin;
    const double pacedShare = parser.value(QStringLiteral("paced-share")).toDouble();
    for (Scenario &scenario : scenarios) {
        scenario.echo = runBurst(users, scenario.burst, Greeting);
        scenario.pacedRate = scenario.echo.rate() * pacedShare;
        if (scenario.pacedRate > 0)
            scenario.pacedEcho = runPaced(users, scenario.burst, scenario.pacedRate, Greeting);
    }

    QTemporaryDir home;
    if (!prepareHome(home.path(), port, bots)) {
        std::fprintf(stderr, "could not prepare the program folder\n");
        return 2;
    }
    QProcess korvane;
    korvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    korvane.setStandardOutputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    korvane.setProcessEnvironment(env);
    korvane.start(parser.value(QStringLiteral("korvane")), {QStringLiteral("--home"), home.path()});
    if (!korvane.waitForStarted(10000)) {
        std::fprintf(stderr, "korvane did not start\n");
        return 2;
    }
    const qint64 pid = korvane.processId();
    const bool online = runUntil(
        [&] {
            if (!server.isOnline(MainBot))
                return false;
            for (int k = 2; k <= bots + 1; ++k)
                if (!server.isOnline(secondaryBot(k)))
                    return false;
            return true;
        },
        120000);
    int exitCode = 0;
    if (!online) {
        std::fprintf(stderr, "Korvane's bots did not all log in\n");
        exitCode = 2;
    } else {
        // Each user is handed over to a secondary bot, which greets him.
        for (User &user : users) {
            user.bot.clear();
            QObject::disconnect(user.peer.get(), &OscarPeer::messageReceived, nullptr, nullptr);
            User *u = &user;
            QObject::connect(user.peer.get(), &OscarPeer::messageReceived,
                             [u](const QString &from, const QString &) {
                                 if (from != MainBot && u->bot.isEmpty())
                                     u->bot = from;
                             });
            user.peer->sendText(MainBot, Greeting);
        }
        const bool assigned = runUntil(
            [&users] {
                return std::all_of(users.begin(), users.end(), [](const User &u) { return !u.bot.isEmpty(); });
            },
            60000);
        if (!assigned) {
            std::fprintf(stderr, "not every user was given a bot\n");
            exitCode = 2;
        } else {
            for (Scenario &scenario : scenarios) {
                const ProcessCounters before = processCounters(pid);
                scenario.bot = runBurst(users, scenario.burst, Answer);
                const ProcessCounters after = processCounters(pid);
                const double messages = double(std::max<qint64>(1, scenario.bot.answered));
                scenario.cpuSecondsPerMessage = (after.cpuSeconds - before.cpuSeconds) / messages;
                scenario.syscallsPerMessage = double(after.syscalls - before.syscalls) / messages;
                if (scenario.pacedRate > 0)
                    scenario.pacedBot = runPaced(users, scenario.burst, scenario.pacedRate, Answer);
            }
            const long rss = peakRssKiB(pid);
            std::printf("%d secondary bots, %d users, answer delay 1 ms; the echo ran first through the same server\n",
                        bots, userCount);
            for (const Scenario &scenario : scenarios) {
                const Figures &bot = scenario.bot;
                std::printf("%d x %d x %d messages: korvane %.0f/s, echo %.0f/s, ratio %.2f; korvane p50 %lld ms of "
                            "max %lld ms (%.2f); lost %lld, misdirected %lld; %.0f us CPU and %.1f read/write "
                            "system calls per message\n",
                            bots, userCount, scenario.burst, bot.rate(), scenario.echo.rate(),
                            scenario.echo.rate() > 0 ? bot.rate() / scenario.echo.rate() : 0.0, bot.percentile(0.5),
                            bot.maxLatency(),
                            bot.maxLatency() > 0 ? double(bot.percentile(0.5)) / double(bot.maxLatency()) : 0.0,
                            bot.lost(), bot.misdirected, scenario.cpuSecondsPerMessage * 1e6,
                            scenario.syscallsPerMessage);
                printFigures("echo", scenario.echo);
                printFigures("korvane", bot);
                if (parser.isSet(QStringLiteral("strict")) && (bot.lost() != 0 || bot.misdirected != 0))
                    exitCode = 1;
                if (scenario.pacedRate <= 0)
                    continue;
                const Figures &paced = scenario.pacedBot;
                std::printf("  the same messages paced at %.0f/s: korvane p50 %lld ms of max %lld ms (%.2f), echo p50 "
                            "%lld ms of max %lld ms; lost %lld, misdirected %lld\n",
                            scenario.pacedRate, paced.percentile(0.5), paced.maxLatency(),
                            paced.maxLatency() > 0 ? double(paced.percentile(0.5)) / double(paced.maxLatency()) : 0.0,
                            scenario.pacedEcho.percentile(0.5), scenario.pacedEcho.maxLatency(), paced.lost(),
                            paced.misdirected);
                printFigures("echo", scenario.pacedEcho);
                printFigures("korvane", paced);
                if (parser.isSet(QStringLiteral("strict")) && (paced.lost() != 0 || paced.misdirected != 0))
                    exitCode = 1;
            }
            std::printf("korvane peak memory (VmHWM): %ld KiB\n", rss);
            if (!parser.isSet(QStringLiteral("no-perf")) && !perfBurst(users, scenarios.front().burst, pid))
                std::printf("perf stat could not count korvane's system calls\n");
            if (parser.isSet(QStringLiteral("strace")) && !straceBurst(users, scenarios.front().burst, pid))
                std::printf("strace could not attach to korvane\n");
        }
    }
    korvane.terminate();
    if (!korvane.waitForFinished(15000))
        korvane.kill();
    return exitCode;
}
