#include "core/cp1251.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The programs start under the sanitizers on a possibly loaded machine.
constexpr int Timeout = 30000;

const QString Alice = QStringLiteral("111111");
const QString Bob = QStringLiteral("222222");

QString program(const char *name)
{
    return QStringLiteral(KORVANE_BINARY_DIR "/tools/") + QLatin1String(name);
}

// A program under test, its output collected as it comes.
class Program
{
public:
    explicit Program(const char *name, const QStringList &arguments)
        : m_finished(&m_process, &QProcess::finished)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                         [this] { m_out += m_process.readAllStandardOutput(); });
        QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process,
                         [this] { m_err += m_process.readAllStandardError(); });
        m_process.start(program(name), arguments);
    }

    ~Program()
    {
        // After a failed check the test's event loops no longer run: wait the plain way.
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(Timeout);
        }
    }

    bool finish() { return !m_finished.isEmpty() || m_finished.wait(Timeout); }
    void terminate() { m_process.terminate(); }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    QString out() const { return QString::fromUtf8(m_out); }
    QString err() const { return QString::fromUtf8(m_err); }

private:
    QProcess m_process;
    QSignalSpy m_finished;
    QByteArray m_out;
    QByteArray m_err;
};

} // namespace

class TestToolPrograms : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void peerSendsAndPrints();
    void peerSendsAndLeaves();
    void peerRefused();
    void peerFindsNoServer();
    void peerUsage_data();
    void peerUsage();
    void serverProgramServes();
    void serverProgramRejectsBadAccounts();
    void serverProgramMisbehavesOnRequest();

private:
    QStringList peerArguments(const QString &uin, const QString &password) const;

    std::unique_ptr<OscarServer> m_server;
};

void TestToolPrograms::init()
{
    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Alice, "secret");
    m_server->addAccount(Bob, Cp1251::encode(QStringLiteral("пароль")));
    QVERIFY(m_server->listen());
}

void TestToolPrograms::cleanup()
{
    m_server.reset();
}

QStringList TestToolPrograms::peerArguments(const QString &uin, const QString &password) const
{
    return {QStringLiteral("--server"),   QStringLiteral("127.0.0.1"),
            QStringLiteral("--port"),     QString::number(m_server->loginPort()),
            QStringLiteral("--uin"),      uin,
            QStringLiteral("--password"), password};
}

void TestToolPrograms::peerSendsAndPrints()
{
    OscarPeer bob;
    QSignalSpy bobOnline(&bob, &OscarPeer::signedOn);
    bob.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), Bob,
              Cp1251::encode(QStringLiteral("пароль")));
    QVERIFY(bobOnline.wait(Timeout));

    QSignalSpy toBob(&bob, &OscarPeer::messageReceived);
    Program peer("korvane-peer", peerArguments(Alice, QStringLiteral("secret"))
                                     << QStringLiteral("--to") << Bob << QStringLiteral("--text")
                                     << QStringLiteral("Привет, Боб") << QStringLiteral("--wait")
                                     << QStringLiteral("600"));
    QVERIFY2(toBob.wait(Timeout), qPrintable(peer.err()));
    QCOMPARE(toBob.first(), (QVariantList{Alice, QStringLiteral("Привет, Боб")}));
    QCOMPARE(m_server->messagesSentBy(Alice).first().text.toHex(' '),
             Cp1251::encode(QStringLiteral("Привет, Боб")).toHex(' '));

    QVERIFY(bob.sendText(Alice, QStringLiteral("Ответ: да")));
    QTRY_VERIFY_WITH_TIMEOUT(peer.out().contains(QLatin1Char('\n')), Timeout);
    QVERIFY(m_server->injectText(QStringLiteral("42"), Alice, QStringLiteral("second")));
    QTRY_VERIFY_WITH_TIMEOUT(peer.out().contains(QLatin1String("42: second\n")), Timeout);
    QCOMPARE(peer.out(), QStringLiteral("222222: Ответ: да\n42: second\n"));

    // It stays until told to go, then leaves cleanly.
    QVERIFY(m_server->isOnline(Alice));
    peer.terminate();
    QVERIFY(peer.finish());
    QCOMPARE(peer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(peer.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->isOnline(Alice), Timeout);
}

void TestToolPrograms::peerSendsAndLeaves()
{
    QSignalSpy routed(m_server.get(), &OscarServer::messageRouted);
    Program peer("korvane-peer", peerArguments(Alice, QStringLiteral("secret"))
                                     << QStringLiteral("--to") << Alice << QStringLiteral("--text")
                                     << QStringLiteral("to myself"));
    QVERIFY(peer.finish());
    QCOMPARE(peer.exitCode(), 0);
    QVERIFY2(peer.err().contains(QLatin1String("signed on as 111111")), qPrintable(peer.err()));
    QCOMPARE(routed.size(), 1);
    QCOMPARE(routed.first(), (QVariantList{Alice, Alice, QByteArray("to myself")}));
}

void TestToolPrograms::peerRefused()
{
    Program peer("korvane-peer", peerArguments(Alice, QStringLiteral("wrong")));
    QVERIFY(peer.finish());
    QCOMPARE(peer.exitCode(), 2);
    QVERIFY2(peer.err().contains(QLatin1String("login refused by the server (error code 0x0005)")),
             qPrintable(peer.err()));
    QCOMPARE(peer.out(), QString());
}

void TestToolPrograms::peerFindsNoServer()
{
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const QString port = QString::number(gone.serverPort());
    gone.close();
    Program peer("korvane-peer", {QStringLiteral("--port"), port, QStringLiteral("--uin"), Alice,
                                  QStringLiteral("--password"), QStringLiteral("secret")});
    QVERIFY(peer.finish());
    QCOMPARE(peer.exitCode(), 3);
    QVERIFY2(peer.err().contains(QLatin1String("login server")), qPrintable(peer.err()));
}

void TestToolPrograms::peerUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("no port") << QStringList{"--uin", "1", "--password", "p"} << QStringLiteral("--port");
    QTest::newRow("no password") << QStringList{"--port", "5190", "--uin", "1"}
                                 << QStringLiteral("--password");
    QTest::newRow("text without recipient")
        << QStringList{"--port", "5190", "--uin", "1", "--password", "p", "--text", "hi"}
        << QStringLiteral("--to");
    QTest::newRow("wait not a number")
        << QStringList{"--port", "5190", "--uin", "1", "--password", "p", "--wait", "soon"}
        << QStringLiteral("--wait");
}

void TestToolPrograms::peerUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    Program peer("korvane-peer", arguments);
    QVERIFY(peer.finish());
    QCOMPARE(peer.exitCode(), 1);
    QVERIFY2(peer.err().contains(complaint), qPrintable(peer.err()));
}

void TestToolPrograms::serverProgramServes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile accounts(dir.filePath(QStringLiteral("accounts.txt")));
    QVERIFY(accounts.open(QIODevice::WriteOnly));
    accounts.write("# for the test\n111111 secret\n222222 пароль\n");
    accounts.close();

    Program server("korvane-oscar-server",
                   {QStringLiteral("--accounts"), accounts.fileName(), QStringLiteral("--login-port"),
                    QStringLiteral("0"), QStringLiteral("--session-port"), QStringLiteral("0")});
    const QRegularExpression ports(QStringLiteral("^login-port (\\d+)\nsession-port (\\d+)\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(ports.match(server.out()).hasMatch(), qPrintable(server.err()), Timeout);
    const quint16 loginPort = ports.match(server.out()).captured(1).toUShort();
    QVERIFY(loginPort != 0);

    OscarPeer bob;
    QSignalSpy online(&bob, &OscarPeer::signedOn);
    bob.logIn(QStringLiteral("127.0.0.1"), loginPort, Bob, Cp1251::encode(QStringLiteral("пароль")));
    QVERIFY2(online.wait(Timeout), qPrintable(bob.errorString()));
    QSignalSpy received(&bob, &OscarPeer::messageReceived);
    QVERIFY(bob.sendText(Bob, QStringLiteral("эхо")));
    QVERIFY(received.wait(Timeout));
    QCOMPARE(received.first(), (QVariantList{Bob, QStringLiteral("эхо")}));
    QTRY_VERIFY_WITH_TIMEOUT(server.out().contains(QStringLiteral("message 222222 -> 222222: эхо\n")),
                             Timeout);

    server.terminate();
    QVERIFY(server.finish());
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), 0);
}

void TestToolPrograms::serverProgramRejectsBadAccounts()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Program server("korvane-oscar-server",
                   {QStringLiteral("--accounts"), dir.filePath(QStringLiteral("none.txt"))});
    QVERIFY(server.finish());
    QCOMPARE(server.exitCode(), 1);
    QVERIFY2(server.err().contains(QLatin1String("none.txt")), qPrintable(server.err()));
}

void TestToolPrograms::serverProgramMisbehavesOnRequest()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile accounts(dir.filePath(QStringLiteral("accounts.txt")));
    QVERIFY(accounts.open(QIODevice::WriteOnly));
    accounts.write("111111 secret\n222222 other\n");
    accounts.close();

    {
        Program bad("korvane-oscar-server", {QStringLiteral("--accounts"), accounts.fileName(),
                                             QStringLiteral("--fault"), QStringLiteral("sulk")});
        QVERIFY(bad.finish());
        QCOMPARE(bad.exitCode(), 1);
        QVERIFY2(bad.err().contains(QLatin1String("sulk")), qPrintable(bad.err()));
    }

    // Alice's login is never answered; Bob logs in as usual.
    Program server("korvane-oscar-server", {QStringLiteral("--accounts"), accounts.fileName(),
                                            QStringLiteral("--fault"), QStringLiteral("no-login-reply:") + Alice});
    const QRegularExpression ports(QStringLiteral("^login-port (\\d+)\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(ports.match(server.out()).hasMatch(), qPrintable(server.err()), Timeout);
    const quint16 loginPort = ports.match(server.out()).captured(1).toUShort();
    OscarPeer alice;
    OscarPeer bob;
    alice.logIn(QStringLiteral("127.0.0.1"), loginPort, Alice, "secret");
    bob.logIn(QStringLiteral("127.0.0.1"), loginPort, Bob, "other");
    QTRY_VERIFY_WITH_TIMEOUT(bob.isOnline(), Timeout);
    // However long Bob's log-in took, Alice's is still waiting for its answer.
    QCOMPARE(alice.state(), OscarPeer::State::LoggingIn);
    QVERIFY(!server.out().contains(QStringLiteral("logged in 111111")));
}

QTEST_GUILESS_MAIN(TestToolPrograms)
#include "tst_toolprograms.moc"
