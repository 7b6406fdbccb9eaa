// The shared test helpers themselves: a wrong helper would make every test that uses it
// pass or fail for the wrong reason.
#include "core/programfolder.h"
#include "core/textfile.h"
#include "session/packetreader.h"
#include "support/filemode.h"
#include "support/frames.h"
#include "support/hex.h"
#include "support/httpserver.h"
#include "support/onlinebot.h"
#include "support/programhome.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTest>

#include <sys/stat.h>

class tst_TestSupport : public QObject
{
    Q_OBJECT

private slots:
    void programHomeIsFreshAndRestoresTheEnvironment_data();
    void programHomeIsFreshAndRestoresTheEnvironment();
    void hexReadsDigitsAndSkipsSpaces_data();
    void hexReadsDigitsAndSkipsSpaces();
    void unixModeReadsThePermissionBits();
    void writeBytesMakesTheFolder();
    void framesAreCutAndNamed();
    void botAnswersAreAskedAndRead();
    void webServerAnswersByPathThenInTurn();
    void webServerHoldsUntilReleased();
};

namespace {

// One GET to the local web server on a socket of its own; the answer is what came until
// the server closed.
class WebGet : public QObject
{
public:
    WebGet(const LocalHttpServer &server, const QByteArray &path)
    {
        connect(&m_socket, &QTcpSocket::connected, this,
                [this, path] { m_socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"); });
        connect(&m_socket, &QTcpSocket::readyRead, this, [this] { answer += m_socket.readAll(); });
        connect(&m_socket, &QTcpSocket::disconnected, this, [this] { closed = true; });
        m_socket.connectToHost(QHostAddress::LocalHost, server.port());
    }
    QByteArray answer;
    bool closed = false;

private:
    QTcpSocket m_socket;
};

} // namespace

void tst_TestSupport::programHomeIsFreshAndRestoresTheEnvironment_data()
{
    QTest::addColumn<bool>("wasSet");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("unset") << false << QByteArray();
    QTest::newRow("set") << true << QByteArray("/somewhere/else");
}

void tst_TestSupport::programHomeIsFreshAndRestoresTheEnvironment()
{
    QFETCH(bool, wasSet);
    QFETCH(QByteArray, before);
    if (wasSet)
        qputenv("KORVANE_HOME", before);
    else
        qunsetenv("KORVANE_HOME");

    QString folder;
    {
        ProgramHome home;
        QVERIFY(home.isValid());
        folder = home.path();
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(ProgramFolder::home(), QDir(folder).absolutePath());
        QCOMPARE(QFile::decodeName(qgetenv("KORVANE_HOME")), folder);
        QVERIFY(TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), QStringLiteral("x")));
        QCOMPARE(home.filePath(QStringLiteral("\\Настройки\\Общие.txt")), folder + "/Настройки/Общие.txt");
        QVERIFY(QFileInfo::exists(folder + "/Настройки/Общие.txt"));
        // A second one inside the first takes over and gives the first back when it goes.
        {
            ProgramHome inner;
            QVERIFY(inner.path() != folder);
            QCOMPARE(QFile::decodeName(qgetenv("KORVANE_HOME")), inner.path());
        }
        QCOMPARE(QFile::decodeName(qgetenv("KORVANE_HOME")), folder);
    }
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(qEnvironmentVariableIsSet("KORVANE_HOME"), wasSet);
    QCOMPARE(qgetenv("KORVANE_HOME"), before);
    qunsetenv("KORVANE_HOME");
}

void tst_TestSupport::hexReadsDigitsAndSkipsSpaces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray("") << QByteArray();
    QTest::newRow("upper") << QByteArray("2A02FF") << QByteArray("\x2A\x02\xFF", 3);
    QTest::newRow("lower") << QByteArray("2a02ff") << QByteArray("\x2A\x02\xFF", 3);
    QTest::newRow("spaces anywhere") << QByteArray(" 2A0 2 FF ") << QByteArray("\x2A\x02\xFF", 3);
    QTest::newRow("zero bytes") << QByteArray("0000") << QByteArray("\0\0", 2);
}

void tst_TestSupport::hexReadsDigitsAndSkipsSpaces()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(hex(text.constData()), bytes);
    QCOMPARE(hexText(text.constData()), QString::fromLatin1(bytes.toHex(' ')));
}

void tst_TestSupport::unixModeReadsThePermissionBits()
{
    ProgramHome home;
    const QString path = home.path() + "/f.txt";
    QCOMPARE(unixMode(path), -1);
    QVERIFY(FileProbe::writeBytes(path, "x"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    QCOMPARE(unixMode(path), 0640);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
    QCOMPARE(FileProbe::unixMode(path), 0600);
}

void tst_TestSupport::writeBytesMakesTheFolder()
{
    ProgramHome home;
    const QString path = home.path() + "/a/b/c.bin";
    const QByteArray bytes("\0\r\n\xFF", 4);
    QCOMPARE(FileProbe::bytes(path), QByteArray("<missing>"));
    QVERIFY(FileProbe::writeBytes(path, bytes));
    QCOMPARE(FileProbe::bytes(path), bytes);
    QVERIFY(FileProbe::writeBytes(path, "y"));
    QCOMPARE(FileProbe::bytes(path), QByteArray("y"));
}

void tst_TestSupport::framesAreCutAndNamed()
{
    const QByteArray stream = PacketWriter::flap(1, 7, hex("00000001")) +
                              PacketWriter::flap(2, 8, PacketWriter().snac(0x15, 0x1E, 0, 0).data()) +
                              PacketWriter::flap(4, 9, {}) + hex("2A02 0001 00"); // a cut tail
    const QList<FLAP> frames = framesOf(stream);
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames.at(1).SeqNumber(), 8);
    QCOMPARE(frameNames(frames), (QStringList{"ch 1", "15,1E", "ch 4"}));
    QCOMPARE(frameNames(frames, 2), QStringList{"ch 4"});
}

void tst_TestSupport::botAnswersAreAskedAndRead()
{
    ProgramHome home;
    OnlineBot bot;
    QVERIFY2(bot.isListening(), qPrintable(bot.errorString()));
    int calls = 0;
    MessageHooks hooks;
    hooks.processMessage = [&](MessageState &state) {
        ++calls;
        if (state.MessageText != QStringLiteral("молчи"))
            bot.session().sendMessageOn(state.slot, QStringLiteral("эхо: ") + state.MessageText, state.SenderUin);
        return StageOutcome::Stop;
    };
    bot.session().setMessageHooks(hooks);
    QVERIFY(bot.logIn());
    QVERIFY(bot.server().isOnline(OnlineBot::DefaultUin));

    QCOMPARE(bot.ask(QStringLiteral("4242"), QStringLiteral("привет")), QStringLiteral("эхо: привет"));
    QCOMPARE(bot.ask(QStringLiteral("4242"), QStringLiteral("снова")), QStringLiteral("эхо: снова"));
    // No answer comes at all: the wait ends at its bound.
    bot.setTimeout(200);
    QCOMPARE(bot.ask(QStringLiteral("5353"), QStringLiteral("молчи")), QStringLiteral("<no answer>"));
    QTRY_COMPARE_WITH_TIMEOUT(calls, 3, 10000);
    QCOMPARE(bot.sentTo(QStringLiteral("4242")), (QStringList{"эхо: привет", "эхо: снова"}));
    QCOMPARE(bot.sentTo(QStringLiteral("5353")), QStringList());
    QCOMPARE(textsSent(bot.server(), OnlineBot::DefaultUin, QStringLiteral("4242")), bot.sentTo("4242"));
}

void tst_TestSupport::webServerAnswersByPathThenInTurn()
{
    LocalHttpServer server({LocalHttpServer::ok("first"), LocalHttpServer::ok("second")});
    QVERIFY(server.isListening());
    QCOMPARE(server.url(QStringLiteral("/a")), QStringLiteral("http://127.0.0.1:%1/a").arg(server.port()));
    server.setResponse(QStringLiteral("/set"), {200, "its own", 0, "text/plain"});

    // A path with a response of its own takes it and leaves the turn alone; the others
    // take the answers in turn, the last one again and again.
    QStringList answers;
    for (const QByteArray path : {"/set", "/a", "/b", "/c"}) {
        WebGet get(server, path);
        QTRY_VERIFY_WITH_TIMEOUT(get.closed, 20000);
        answers << QString::fromLatin1(get.answer.mid(get.answer.indexOf("\r\n\r\n") + 4));
    }
    QCOMPARE(answers, (QStringList{"its own", "first", "second", "second"}));
    QCOMPARE(server.paths, (QStringList{"/set", "/a", "/b", "/c"}));
    QCOMPARE(server.requests.size(), 4);
    QCOMPARE(server.connections(), 4);

    // Without answers in turn, an unknown path is not found.
    LocalHttpServer plain;
    WebGet missing(plain, "/nothing");
    QTRY_VERIFY_WITH_TIMEOUT(missing.closed, 20000);
    QVERIFY(missing.answer.startsWith("HTTP/1.1 404 "));
}

void tst_TestSupport::webServerHoldsUntilReleased()
{
    LocalHttpServer server;
    server.setResponse(QStringLiteral("/held"), {200, "late", LocalHttpServer::Held, "text/plain"});
    WebGet get(server, "/held");
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 20000);
    QVERIFY(get.answer.isEmpty());
    QVERIFY(!get.closed);
    server.release();
    QTRY_VERIFY_WITH_TIMEOUT(get.closed, 20000);
    QVERIFY(get.answer.startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(get.answer.endsWith("\r\n\r\nlate"));
}

QTEST_GUILESS_MAIN(tst_TestSupport)
#include "tst_testsupport.moc"
