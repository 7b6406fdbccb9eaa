// The exit sequence: the per-run files, the clean-exit marker, the two settings keys,
// the disconnect line, every connection closed, and one run whatever triggers it.
#include "startupfixture.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "session/icqsession.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QSignalSpy>

#include <csignal>

namespace {
constexpr int Timeout = 30000;
const QString SettingsFile = GeneralSettings::FilePath;
const QString DayLog = QStringLiteral("\\Логи\\10.12.2026.txt");
const QByteArray DisconnectLine =
    QStringLiteral("10.12.2026 - 9:05:07 - Вы отключились от сервера.\r\n").toUtf8();
} // namespace

class tst_ExitSequence : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void settingsKeysMerged_data();
    void settingsKeysMerged();
    void perRunFilesGoAndMarkerIsWritten();
    void disconnectLineGoesInFront_data();
    void disconnectLineGoesInFront();
    void withoutFoldersNothingIsWritten();
    void everyConnectionCloses();
    void menuAndWindowCloseRunItOnce();
    void signalDuringTheSequenceRunsItOnce();
    void exitSignalsReachTheLoop_data();
    void exitSignalsReachTheLoop();

private:
    // A bot whose exit only counts how often it would end the program.
    std::unique_ptr<BotApplication> makeBot();

    std::unique_ptr<StartupFixture> m_f;
    int m_ends = 0;
};

void tst_ExitSequence::init()
{
    m_f = std::make_unique<StartupFixture>();
    m_ends = 0;
    QVERIFY(TextFile::ensureFolder(GeneralSettings::FolderPath));
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Логи")));
}

void tst_ExitSequence::cleanup()
{
    m_f.reset();
}

std::unique_ptr<BotApplication> tst_ExitSequence::makeBot()
{
    auto bot = std::make_unique<BotApplication>();
    bot->exitSequence().setEndProgram([this] { ++m_ends; });
    return bot;
}

static QByteArray cp1251(const char *utf8)
{
    return Cp1251::encode(QString::fromUtf8(utf8));
}

void tst_ExitSequence::settingsKeysMerged_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("neither key") << QByteArray("Server=a\r\nPort=5190\r\n") << true
                                 << QByteArray(
                                        "Server=a\r\nPort=5190\r\nSaveRejim=2\r\nSaveStatusMade=0\r\n");
    QTest::newRow("both keys in place")
        << QByteArray("SaveStatusMade=3\r\nServer=a\r\nSaveRejim=1\r\n") << true
        << QByteArray("SaveStatusMade=0\r\nServer=a\r\nSaveRejim=2\r\n");
    QTest::newRow("only SaveStatusMade") << QByteArray("SaveStatusMade=1\r\nAI=1\r\n") << true
                                         << QByteArray("SaveStatusMade=0\r\nAI=1\r\nSaveRejim=2\r\n");
    QTest::newRow("only SaveRejim") << QByteArray("SaveRejim=3\r\n") << true
                                    << QByteArray("SaveRejim=2\r\nSaveStatusMade=0\r\n");
    QTest::newRow("missing file") << QByteArray() << false
                                  << QByteArray("SaveRejim=2\r\nSaveStatusMade=0\r\n");
    QTest::newRow("look-alike keys")
        << QByteArray(" SaveRejim=1\r\nSaveRejimX=1\r\n") << true
        << QByteArray(" SaveRejim=1\r\nSaveRejimX=1\r\nSaveRejim=2\r\nSaveStatusMade=0\r\n");
    QTest::newRow("key twice") << QByteArray("SaveRejim=1\r\nSaveRejim=3\r\nSaveStatusMade=0\r\n") << true
                               << QByteArray("SaveRejim=2\r\nSaveRejim=2\r\nSaveStatusMade=0\r\n");
}

void tst_ExitSequence::settingsKeysMerged()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, after);
    if (fileExists)
        m_f->write(SettingsFile, before);

    for (int run = 0; run < 2; ++run) {
        auto bot = makeBot();
        bot->state().BotMode = QStringLiteral("2");
        bot->exitSequence().run();
        // A second exit with the same mode and status leaves the same file.
        QCOMPARE(m_f->bytes(SettingsFile), after);
    }
    QCOMPARE(QFile::permissions(m_f->path(SettingsFile)) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
}

void tst_ExitSequence::perRunFilesGoAndMarkerIsWritten()
{
    const QStringList perRun = {"\\Статистика\\Пользователи.txt",
                                "\\Подпрограммы\\Анти_спам_список.txt",
                                "\\Подпрограммы\\Анти_спам_список_правильно.txt",
                                "\\Подпрограммы\\Список_чата.txt",
                                "\\Подпрограммы\\Комнаты\\Общая.txt",
                                "\\Подпрограммы\\Комнаты\\Флуд",
                                "\\Подпрограммы\\Сообщения_вОбщая.txt"};
    const QStringList kept = {"\\Подпрограммы\\Чат_настройки.txt", "\\Статистика\\10.12.2026.txt"};
    for (const QString &file : perRun + kept)
        m_f->write(file, "x\r\n");

    auto bot = makeBot();
    bot->exitSequence().run();

    for (const QString &file : perRun)
        QVERIFY2(!m_f->exists(file), qPrintable(file));
    for (const QString &file : kept)
        QVERIFY2(m_f->exists(file), qPrintable(file));
    QCOMPARE(m_f->bytes(ExitSequence::CleanExitFile), QByteArray("1\r\n"));
    QCOMPARE(m_ends, 1);
}

void tst_ExitSequence::disconnectLineGoesInFront_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray line = Cp1251::encode(QString::fromUtf8(DisconnectLine));
    const QByteArray a = cp1251("10.12.2026 - 9:00:00 - Вы подключились к серверу.");
    QTest::newRow("one line") << a + "\r\n" << line + a + "\r\n\r\n";
    QTest::newRow("no log yet") << QByteArray() << line + "\r\n";
}

void tst_ExitSequence::disconnectLineGoesInFront()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        m_f->write(DayLog, before);
    auto bot = makeBot();
    bot->exitSequence().run();
    QCOMPARE(m_f->bytes(DayLog), after);
}

void tst_ExitSequence::withoutFoldersNothingIsWritten()
{
    QVERIFY(QDir(m_f->path(GeneralSettings::FolderPath)).removeRecursively());
    QVERIFY(QDir(m_f->path(QStringLiteral("\\Логи"))).removeRecursively());
    auto bot = makeBot();
    bot->exitSequence().run();
    QVERIFY(!TextFile::folderExists(GeneralSettings::FolderPath));
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Логи")));
    QCOMPARE(m_f->bytes(ExitSequence::CleanExitFile), QByteArray("1\r\n"));
    QCOMPARE(m_ends, 1);
}

void tst_ExitSequence::everyConnectionCloses()
{
    const QString bot1 = QStringLiteral("111111");
    const QString bot2 = QStringLiteral("222222");
    OscarServer server;
    server.addAccount(bot1, "one");
    server.addAccount(bot2, "two");
    QVERIFY(server.listen(QHostAddress::LocalHost));
    m_f->write(QStringLiteral("\\Настройки\\Распределение.txt"), "2 222222 two 0\r\n");
    m_f->write(SettingsFile, "Server=127.0.0.1\r\nPort=" + QByteArray::number(server.loginPort()) + "\r\n");

    auto bot = makeBot();
    IcqSession &session = bot->session();
    QSignalSpy signedOn(&session, &IcqSession::signedOn);
    // The main bot by hand; the secondary bot follows it from the distribution list.
    bot->mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
    session.setMainUin(bot1.toInt());
    session.setMainPassword(QStringLiteral("one"));
    session.startLogin(1, bot1, QStringLiteral("127.0.0.1"), server.loginPort());
    QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(bot1) && server.isOnline(bot2), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 2, Timeout);
    bot->mainWindow().timers().timer(QStringLiteral("Timer10"))->setEnabled(true);

    QSignalSpy closed(&server, &OscarServer::sessionClosed);
    bot->exitSequence().run();

    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 2, Timeout);
    QVERIFY(!server.isOnline(bot1));
    QVERIFY(!server.isOnline(bot2));
    // Nothing ticks afterwards.
    for (const QString &name : bot->mainWindow().timers().names())
        QVERIFY2(!bot->mainWindow().timers().timer(name)->isEnabled(), qPrintable(name));
    // The status of the run is kept: no status change reached a bot.
    QVERIFY(m_f->bytes(SettingsFile).contains("SaveStatusMade=0\r\n"));
}

void tst_ExitSequence::menuAndWindowCloseRunItOnce()
{
    auto bot = makeBot();
    QSignalSpy started(&bot->exitSequence(), &ExitSequence::started);
    bot->mainWindow().show();

    bot->mainWindow().action(QStringLiteral("end_of_rogramm"))->trigger();
    QCOMPARE(started.size(), 1);
    QVERIFY(bot->exitSequence().hasRun());
    bot->mainWindow().close();
    QCOMPARE(started.size(), 1);
    QCOMPARE(m_ends, 1);

    // Closing the window alone runs it too.
    auto other = makeBot();
    other->mainWindow().show();
    QVERIFY(other->mainWindow().close());
    QVERIFY(other->exitSequence().hasRun());
    QCOMPARE(m_ends, 2);
}

void tst_ExitSequence::signalDuringTheSequenceRunsItOnce()
{
    auto bot = makeBot();
    ExitSignals signals_;
    QSignalSpy received(&signals_, &ExitSignals::received);
    connect(&signals_, &ExitSignals::received, &bot->exitSequence(), &ExitSequence::run);
    connect(&bot->exitSequence(), &ExitSequence::started, this, [] { ::raise(SIGTERM); });

    bot->exitSequence().run();
    QVERIFY(received.wait(Timeout));
    QCOMPARE(received.first().first().toInt(), int(SIGTERM));

    QCOMPARE(m_ends, 1);
    QCOMPARE(m_f->bytes(DayLog).count(Cp1251::encode(QString::fromUtf8(DisconnectLine))), 1);
}

void tst_ExitSequence::exitSignalsReachTheLoop_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void tst_ExitSequence::exitSignalsReachTheLoop()
{
    QFETCH(int, signalNumber);
    auto bot = makeBot();
    ExitSignals signals_;
    connect(&signals_, &ExitSignals::received, &bot->exitSequence(), &ExitSequence::run);
    ::raise(signalNumber);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends, 1, Timeout);
    QCOMPARE(m_f->bytes(ExitSequence::CleanExitFile), QByteArray("1\r\n"));
}

QTEST_MAIN(tst_ExitSequence)
#include "tst_exitsequence.moc"
