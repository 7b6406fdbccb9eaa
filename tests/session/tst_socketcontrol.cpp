#include "platform/recordingdialogs.h"
#include "session/socketcontrol.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// The control under its own short name, which no template parameter here shadows.
using Korvane::Socket::T;

namespace {

// Bounds for events that come within milliseconds on an idle machine; only a fault
// reaches them.
constexpr int Timeout = 20000;

// A peer on 127.0.0.1 that keeps every connection it accepts and all it received on it.
class Peer : public QObject
{
    Q_OBJECT

public:
    Peer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                const int index = int(sockets.size());
                sockets.append(socket);
                received.append(QByteArray());
                connect(socket, &QIODevice::readyRead, this,
                        [this, socket, index] { received[index] += socket->readAll(); });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    int port() const { return m_server.serverPort(); }

    QList<QTcpSocket *> sockets; // children of the server
    QList<QByteArray> received;

private:
    QTcpServer m_server;
};

// A port that nothing listens on any more.
int closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

struct Spies
{
    explicit Spies(T *t)
        : data(t, &T::DataArrival)
        , connected(t, &T::Connected)
        , error(t, &T::ConnectError)
        , accepted(t, &T::Accepted)
    {}

    int total() const { return int(data.size() + connected.size() + error.size() + accepted.size()); }

    QSignalSpy data;
    QSignalSpy connected;
    QSignalSpy error;
    QSignalSpy accepted;
};

QByteArray joined(const QSignalSpy &spy)
{
    QByteArray all;
    for (const QList<QVariant> &args : spy)
        all += args.at(0).toByteArray();
    return all;
}

} // namespace

class tst_SocketControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectRaisesConnected_data();
    void connectRaisesConnected();
    void waitingBytesArriveInChunksOf16K();
    void connectFailure_data();
    void connectFailure();
    void closeConnectionRaisesNothing();
    void sendDataArrivesWhole_data();
    void sendDataArrivesWhole();
    void sendDataRefused();
    void peerCloseToldAfterItsData();
    void connectAgainDropsTheOldConnection();
    void handlerActsOnTheControl_data();
    void handlerActsOnTheControl();
    void listenAcceptsAConnection();
    void listenOnABusyPort();

private:
    RecordingDialogs m_dialogs;
};

void tst_SocketControl::init()
{
    m_dialogs.shown.clear();
    Dialogs::setInstance(&m_dialogs);
}

void tst_SocketControl::cleanup()
{
    Dialogs::setInstance(nullptr);
}

void tst_SocketControl::connectRaisesConnected_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("dotted address") << "127.0.0.1";
    QTest::newRow("name") << "localhost";
}

void tst_SocketControl::connectRaisesConnected()
{
    QFETCH(QString, host);
    Peer peer;
    T t;
    Spies spies(&t);

    t.Connect(host, peer.port());
    QCOMPARE(t.State(), 0);
    QCOMPARE(spies.total(), 0); // never raised from inside Connect
    QVERIFY(spies.connected.wait(Timeout));
    QCOMPARE(spies.connected.size(), 1);
    QCOMPARE(spies.connected[0].at(0).toString(), host);
    QCOMPARE(spies.connected[0].at(1).toInt(), peer.port());
    QCOMPARE(t.State(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);
    QCOMPARE(spies.total(), 1);
    QVERIFY(m_dialogs.shown.isEmpty());
    // Frames leave as they are written, not held back behind an unacknowledged one.
    QCOMPARE(t.findChild<QTcpSocket *>()->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);
}

void tst_SocketControl::waitingBytesArriveInChunksOf16K()
{
    Peer peer;
    T t;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(spies.connected.wait(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);

    // Handed to the system at once, so all 20000 bytes wait before the control reads.
    const QByteArray sent = pattern(20000);
    peer.sockets[0]->write(sent);
    peer.sockets[0]->flush();

    QTRY_COMPARE_WITH_TIMEOUT(spies.data.size(), 2, Timeout);
    QCOMPARE(spies.data[0].at(0).toByteArray().size(), 16384);
    QCOMPARE(spies.data[1].at(0).toByteArray().size(), 3616);
    QVERIFY(joined(spies.data) == sent);
}

void tst_SocketControl::connectFailure_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port"); // -1: a port that was just closed
    QTest::addColumn<int>("alertMode");

    QTest::newRow("refused") << "127.0.0.1" << -1 << 0;
    QTest::newRow("refused, boxes off") << "127.0.0.1" << -1 << 1;
    QTest::newRow("unknown host") << "no-such-host.invalid" << 5190 << 0;
    QTest::newRow("empty host") << "" << 5190 << 0;
    QTest::newRow("port out of range") << "127.0.0.1" << 70000 << 0;
}

void tst_SocketControl::connectFailure()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(int, alertMode);
    if (port < 0)
        port = closedPort();

    T t;
    t.setAlertMode(alertMode);
    Spies spies(&t);
    t.Connect(host, port);
    QCOMPARE(spies.error.size(), 0);
    QVERIFY(spies.error.wait(30000)); // a name lookup may take a while
    QCOMPARE(spies.error.size(), 1);
    QCOMPARE(spies.total(), 1);
    QCOMPARE(t.State(), 0);
    QVERIFY(!t.SendData("x"));

    if (alertMode != 0) {
        QVERIFY(m_dialogs.shown.isEmpty());
        return;
    }
    QCOMPARE(m_dialogs.shown.size(), 1);
    const RecordingDialogs::Shown &box = m_dialogs.shown.first();
    QCOMPARE(box.kind, RecordingDialogs::Kind::Notify); // never a blocking box from a socket event
    QCOMPARE(box.title, QStringLiteral("Ошибка"));
    QCOMPARE(box.text, QStringLiteral("Невозможно установить коннект к хосту ") + host);
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
}

void tst_SocketControl::closeConnectionRaisesNothing()
{
    T idle;
    idle.CloseConnection();
    idle.CloseConnection();

    Peer peer;
    T t;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(spies.connected.wait(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);
    peer.sockets[0]->write("late bytes");
    peer.sockets[0]->flush();

    t.CloseConnection();
    t.CloseConnection();
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets[0]->state(), QAbstractSocket::UnconnectedState, Timeout);
    QCOMPARE(spies.total(), 1); // the Connected before the close, nothing after
    QCOMPARE(t.State(), 1);
    QVERIFY(!t.peerClosed());
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SocketControl::sendDataArrivesWhole_data()
{
    QTest::addColumn<bool>("closeAtOnce");
    QTest::newRow("stay connected") << false;
    QTest::newRow("close right after the send") << true;
}

void tst_SocketControl::sendDataArrivesWhole()
{
    QFETCH(bool, closeAtOnce);
    Peer peer;
    T t;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(spies.connected.wait(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);

    const QByteArray sent = pattern(1024 * 1024);
    QVERIFY(t.SendData(sent));
    QCOMPARE(t.State(), 3);
    QVERIFY(t.SendData("tail"));
    if (closeAtOnce)
        t.CloseConnection();

    QTRY_COMPARE_WITH_TIMEOUT(peer.received[0].size(), sent.size() + 4, 20000);
    QVERIFY(peer.received[0] == sent + "tail");
    if (closeAtOnce)
        QTRY_COMPARE_WITH_TIMEOUT(peer.sockets[0]->state(), QAbstractSocket::UnconnectedState, Timeout);
    QCOMPARE(spies.total(), 1);
}

void tst_SocketControl::sendDataRefused()
{
    T t;
    QVERIFY(!t.SendData("x")); // never connected

    Peer peer;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(!t.SendData("x")); // still connecting
    QVERIFY(spies.connected.wait(Timeout));
    QVERIFY(!t.SendData(QByteArray()));
    QCOMPARE(t.State(), 1);
    QVERIFY(t.SendData("x"));
    t.CloseConnection();
    QVERIFY(!t.SendData("x"));
    QCOMPARE(t.State(), 3);
}

void tst_SocketControl::peerCloseToldAfterItsData()
{
    Peer peer;
    T t;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(spies.connected.wait(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);
    QVERIFY(t.SendData("hello"));

    QSignalSpy closed(&t, &T::PeerClosed);
    QList<int> order; // 1 data, 2 close
    connect(&t, &T::DataArrival, &t, [&order] { order.append(1); });
    connect(&t, &T::PeerClosed, &t, [&order] { order.append(2); });
    peer.sockets[0]->write("last words");
    peer.sockets[0]->disconnectFromHost();

    QTRY_VERIFY_WITH_TIMEOUT(t.peerClosed(), Timeout);
    // What the peer sent before closing is delivered first, then the close, once.
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, Timeout);
    QCOMPARE(joined(spies.data), QByteArray("last words"));
    QCOMPARE(order.last(), 2);
    QCOMPARE(order.count(2), 1);
    QCOMPARE(spies.total(), 2);
    QCOMPARE(t.State(), 3);
    QVERIFY(!t.SendData("too late"));
    QVERIFY(m_dialogs.shown.isEmpty());

    // A new connection starts with a clean record; closing it ourselves raises nothing.
    t.Connect(QStringLiteral("127.0.0.1"), peer.port());
    QVERIFY(!t.peerClosed());
    QVERIFY(spies.connected.wait(Timeout));
    t.CloseConnection();
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 2, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets[1]->state(), QAbstractSocket::UnconnectedState, Timeout);
    QCoreApplication::processEvents();
    QCOMPARE(closed.size(), 1);
}

void tst_SocketControl::connectAgainDropsTheOldConnection()
{
    Peer first;
    Peer second;
    T t;
    Spies spies(&t);
    t.Connect(QStringLiteral("127.0.0.1"), first.port());
    QVERIFY(spies.connected.wait(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(first.sockets.size(), 1, Timeout);

    // Bytes of the old connection that have not been read must not leak into the new one.
    first.sockets[0]->write("old");
    first.sockets[0]->flush();
    t.Connect(QStringLiteral("127.0.0.1"), second.port());
    QCOMPARE(t.State(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(first.sockets[0]->state(), QAbstractSocket::UnconnectedState, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(spies.connected.size(), 2, Timeout);
    QCOMPARE(spies.connected[1].at(1).toInt(), second.port());
    QTRY_COMPARE_WITH_TIMEOUT(second.sockets.size(), 1, Timeout);

    second.sockets[0]->write("new");
    QTRY_COMPARE_WITH_TIMEOUT(joined(spies.data), QByteArray("new"), Timeout);
    QCOMPARE(spies.error.size(), 0);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SocketControl::handlerActsOnTheControl_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("close") << "close";
    QTest::newRow("connect again") << "connect";
    QTest::newRow("delete later") << "deleteLater";
    QTest::newRow("delete") << "delete";
}

void tst_SocketControl::handlerActsOnTheControl()
{
    QFETCH(QString, action);
    Peer peer;
    QPointer<T> t = new T;
    QList<int> sizes;
    int connects = 0;
    connect(t, &T::Connected, this, [&] { ++connects; });
    connect(t, &T::DataArrival, this, [&](const QByteArray &data) {
        sizes.append(int(data.size()));
        if (sizes.size() > 1)
            return;
        if (action == QLatin1String("close"))
            t->CloseConnection();
        else if (action == QLatin1String("connect"))
            t->Connect(QStringLiteral("127.0.0.1"), peer.port());
        else if (action == QLatin1String("deleteLater"))
            t->deleteLater();
        else
            delete t;
    });

    t->Connect(QStringLiteral("127.0.0.1"), peer.port());
    QTRY_COMPARE_WITH_TIMEOUT(connects, 1, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 1, Timeout);
    peer.sockets[0]->write(pattern(40000));
    peer.sockets[0]->flush();

    QTRY_COMPARE_WITH_TIMEOUT(sizes.size(), 1, Timeout);
    QCOMPARE(sizes[0], 16384);
    QTRY_COMPARE_WITH_TIMEOUT(peer.sockets[0]->state(), QAbstractSocket::UnconnectedState, Timeout);
    if (action == QLatin1String("connect")) {
        QTRY_COMPARE_WITH_TIMEOUT(connects, 2, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(peer.sockets.size(), 2, Timeout);
    }
    if (action.startsWith(QLatin1String("delete")))
        QTRY_VERIFY_WITH_TIMEOUT(t.isNull(), Timeout);
    // The rest of the old connection's bytes never arrive.
    QCOMPARE(sizes.size(), 1);
    delete t;
}

void tst_SocketControl::listenAcceptsAConnection()
{
    T t;
    Spies spies(&t);
    QVERIFY(t.Listen(0));
    QCOMPARE(t.State(), 5);
    QVERIFY(t.listeningPort() != 0);

    QTcpSocket client;
    QByteArray received;
    connect(&client, &QIODevice::readyRead, this, [&] { received += client.readAll(); });
    client.connectToHost(QHostAddress::LocalHost, t.listeningPort());
    QVERIFY(spies.accepted.wait(Timeout));
    QCOMPARE(spies.accepted[0].at(0).toString(), QStringLiteral("127.0.0.1"));
    QCOMPARE(t.ConnectedRemoteIP(), QStringLiteral("127.0.0.1"));
    QTcpSocket *accepted = nullptr;
    for (QTcpSocket *socket : t.findChildren<QTcpSocket *>()) {
        if (socket->state() == QAbstractSocket::ConnectedState)
            accepted = socket;
    }
    QVERIFY(accepted);
    QCOMPARE(accepted->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);

    client.write("ping");
    QTRY_COMPARE_WITH_TIMEOUT(joined(spies.data), QByteArray("ping"), Timeout);
    QVERIFY(t.SendData("pong"));
    QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("pong"), Timeout);

    t.CloseConnection();
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, Timeout);
    QCOMPARE(spies.error.size() + spies.connected.size(), 0);
}

void tst_SocketControl::listenOnABusyPort()
{
    QTcpServer busy;
    QVERIFY(busy.listen(QHostAddress::AnyIPv4, 0));
    T t;
    QVERIFY(!t.Listen(busy.serverPort()));
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown[0].title, QStringLiteral("Ошибка"));
    QCOMPARE(m_dialogs.shown[0].text, QStringLiteral("Невозможно слушать порт, наверное он занят"));
    QCOMPARE(m_dialogs.shown[0].icon, Dialogs::Icon::Critical);
}

QTEST_GUILESS_MAIN(tst_SocketControl)
#include "tst_socketcontrol.moc"
