#include "platform/logindpower.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusServer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The login manager's side of a private peer connection: the tests never reach
// a real system bus, so nothing can switch the machine off.
class FakeLoginManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    QStringList calls;
    bool refuse = false;

public slots:
    void PowerOff(bool interactive) { answer(QStringLiteral("PowerOff"), interactive); }
    void Reboot(bool interactive) { answer(QStringLiteral("Reboot"), interactive); }

private:
    void answer(const QString &method, bool interactive)
    {
        calls.append(method + (interactive ? QStringLiteral("(true)") : QStringLiteral("(false)")));
        if (refuse)
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"),
                           QStringLiteral("Interactive authentication required."));
    }
};

} // namespace

class TestLogindPower : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void withoutBusNothingIsSent();
    void requestReachesLoginManager_data();
    void requestReachesLoginManager();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QDBusServer> m_server;
    std::unique_ptr<QDBusConnection> m_serverSide;
    FakeLoginManager m_manager;
};

void TestLogindPower::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_server =
        std::make_unique<QDBusServer>(QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus")));
    QVERIFY2(m_server->isConnected(), qPrintable(m_server->lastError().message()));
    m_server->setAnonymousAuthenticationAllowed(true);
    connect(m_server.get(), &QDBusServer::newConnection, this, [this](const QDBusConnection &connection) {
        m_serverSide = std::make_unique<QDBusConnection>(connection);
        m_serverSide->registerObject(QStringLiteral("/org/freedesktop/login1"), &m_manager,
                                     QDBusConnection::ExportAllSlots);
    });
}

void TestLogindPower::cleanupTestCase()
{
    QDBusConnection::disconnectFromPeer(QStringLiteral("power-client"));
    if (m_serverSide)
        QDBusConnection::disconnectFromPeer(m_serverSide->name());
    m_serverSide.reset();
    m_server.reset();
}

void TestLogindPower::withoutBusNothingIsSent()
{
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("no-bus")), QStringLiteral("no-bus"));
    QVERIFY(!none.isConnected());

    LogindPower power(none);
    QSignalSpy failed(&power, &Power::requestFailed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^PowerOff not sent")));
    QVERIFY(!power.powerOff());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Reboot not sent")));
    QVERIFY(!power.reboot());
    QCOMPARE(failed.size(), 0);
    QDBusConnection::disconnectFromBus(QStringLiteral("no-bus"));
}

void TestLogindPower::requestReachesLoginManager_data()
{
    QTest::addColumn<bool>("reboot");
    QTest::addColumn<bool>("refuse");

    QTest::newRow("power off") << false << false;
    QTest::newRow("reboot") << true << false;
    QTest::newRow("power off refused") << false << true;
    QTest::newRow("reboot refused") << true << true;
}

void TestLogindPower::requestReachesLoginManager()
{
    QFETCH(bool, reboot);
    QFETCH(bool, refuse);

    QDBusConnection client =
        QDBusConnection::connectToPeer(m_server->address(), QStringLiteral("power-client"));
    QVERIFY2(client.isConnected(), qPrintable(client.lastError().message()));
    QTRY_VERIFY(m_serverSide);

    m_manager.calls.clear();
    m_manager.refuse = refuse;
    LogindPower power(client);
    QSignalSpy failed(&power, &Power::requestFailed);
    if (refuse)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("refused:.*InteractiveAuthorization")));

    QVERIFY(reboot ? power.reboot() : power.powerOff());
    QTRY_COMPARE(m_manager.calls,
                 QStringList(reboot ? QStringLiteral("Reboot(false)") : QStringLiteral("PowerOff(false)")));
    if (refuse) {
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(
            failed.first().first().toString().contains(QStringLiteral("InteractiveAuthorizationRequired")));
    } else {
        // The answer has been handled once its watcher is gone.
        QTRY_VERIFY(power.findChildren<QDBusPendingCallWatcher *>().isEmpty());
        QCOMPARE(failed.size(), 0);
    }
}

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_logindpower.moc"
