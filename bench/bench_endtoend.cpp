// The whole bot under a burst: the local OSCAR server, Korvane itself on a fresh program
// folder with a main bot and secondary bots, and many users that each write a burst of
// messages at once with the answer delay at 1 ms. Prints answers per second, latency
// percentiles, Korvane's peak memory, lost and misdirected answers, and the same figures
// for a plain echo peer through the same server (what the machine can do at best).
//
//   bench_endtoend [--bots 9] [--users 90] [--burst 10] [--korvane PATH] [--strict]
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

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
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

struct Figures
{
    qint64 expected = 0;
    qint64 answered = 0;
    qint64 misdirected = 0;
    double seconds = 0;
    QList<qint64> latenciesMs;
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
    QList<qint64> l = f.latenciesMs;
    std::sort(l.begin(), l.end());
    auto pct = [&l](double p) -> qint64 {
        if (l.isEmpty())
            return -1;
        return l.at(std::min<qsizetype>(l.size() - 1, qsizetype(p * double(l.size()))));
    };
    std::printf("%-8s answers/s %8.0f  latency ms min %lld p50 %5lld p95 %5lld p99 %5lld max %5lld  lost %lld  "
                "misdirected %lld\n",
                who, f.seconds > 0 ? double(f.answered) / f.seconds : 0.0, l.isEmpty() ? -1LL : l.constFirst(), pct(0.5), pct(0.95), pct(0.99),
                l.isEmpty() ? -1LL : l.constLast(), f.expected - f.answered, f.misdirected);
}

// Every user writes his burst at once to his bot; waits for the answers.
Figures runBurst(std::vector<User> &users, int burst, const QString &expectedText)
{
    Figures figures;
    QElapsedTimer clock;
    clock.start();
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
    for (int k = 0; k < burst; ++k) {
        for (User &user : users) {
            user.sentAt.append(clock.elapsed());
            user.peer->sendText(user.bot, Greeting);
        }
    }
    figures.expected = qint64(users.size()) * burst;
    auto answered = [&users] {
        qint64 n = 0;
        for (const User &user : users)
            n += user.answeredAt.size();
        return n;
    };
    runUntil([&] { return answered() >= figures.expected; }, 120000);
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
    figures.answered = answered();
    figures.seconds = double(std::max<qint64>(1, lastAnswer)) / 1000.0;
    return figures;
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
                                     QStringLiteral("PlaySounds=0"), QStringLiteral("AI=1"), QStringLiteral("AITime=1")})
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

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("bots"), QStringLiteral("secondary bots"), QStringLiteral("n"), QStringLiteral("9")});
    parser.addOption({QStringLiteral("users"), QStringLiteral("users"), QStringLiteral("n"), QStringLiteral("90")});
    parser.addOption({QStringLiteral("burst"), QStringLiteral("messages per user"), QStringLiteral("n"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("korvane"), QStringLiteral("the program"), QStringLiteral("path"),
                      QStringLiteral(KORVANE_BINARY_DIR "/mainwindow/korvane")});
    parser.addOption({QStringLiteral("strict"), QStringLiteral("fail on a lost or misdirected answer")});
    parser.process(app);
    const int bots = std::max(1, parser.value(QStringLiteral("bots")).toInt());
    const int userCount = std::max(1, parser.value(QStringLiteral("users")).toInt());
    const int burst = std::max(1, parser.value(QStringLiteral("burst")).toInt());
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
    const Figures echoFigures = runBurst(users, burst, Greeting);

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
            const Figures bot = runBurst(users, burst, Answer);
            const long rss = peakRssKiB(korvane.processId());
            std::printf("%d users x %d messages, %d secondary bots, answer delay 1 ms\n", userCount, burst, bots);
            printFigures("echo", echoFigures);
            printFigures("korvane", bot);
            std::printf("korvane peak memory: %ld KiB\n", rss);
            if (parser.isSet(QStringLiteral("strict")) &&
                (bot.answered != bot.expected || bot.misdirected != 0))
                exitCode = 1;
        }
    }
    korvane.terminate();
    if (!korvane.waitForFinished(15000))
        korvane.kill();
    return exitCode;
}
