#include "session/flap.h"
#include "tools/wire/oscarlink.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(WriteMode)

namespace {

constexpr int Timeout = 20000;

struct Received
{
    quint8 channel;
    quint16 sequence;
    QByteArray data;
};

// A connected pair over 127.0.0.1: the sender under test and a receiving link.
class LinkPair
{
public:
    LinkPair()
    {
        m_listener.listen(QHostAddress::LocalHost);
        auto *socket = new QTcpSocket;
        receiver = std::make_unique<OscarLink>(socket);
        QObject::connect(receiver.get(), &OscarLink::frameReceived, receiver.get(), [this](const FLAP &f) {
            frames.append({f.ChannelID(), quint16(f.SeqNumber()), f.Data()});
        });
        QObject::connect(receiver.get(), &OscarLink::closed, receiver.get(),
                         [this] { receiverClosed = true; });
        socket->connectToHost(QHostAddress::LocalHost, m_listener.serverPort());
        if (QTest::qWaitFor([this] { return m_listener.hasPendingConnections(); }, Timeout)) {
            sender = std::make_unique<OscarLink>(m_listener.nextPendingConnection());
            QObject::connect(sender->socket(), &QTcpSocket::bytesWritten, sender.get(),
                             [this](qint64 n) { writes.append(n); });
        }
    }

    std::unique_ptr<OscarLink> receiver;
    std::unique_ptr<OscarLink> sender;
    QList<Received> frames;
    QList<qint64> writes;
    bool receiverClosed = false;

private:
    QTcpServer m_listener;
};

} // namespace

class TestOscarLink : public QObject
{
    Q_OBJECT
private slots:
    void writeModes_data();
    void writeModes();
    void closesAfterQueuedBytes_data();
    void closesAfterQueuedBytes();
    void abortDropsQueuedBytes();
    void lostMarkerBreaksTheStream();
};

void TestOscarLink::writeModes_data()
{
    QTest::addColumn<WriteMode>("mode");
    QTest::newRow("whole") << WriteMode::Whole;
    QTest::newRow("coalesced") << WriteMode::Coalesced;
    QTest::newRow("split") << WriteMode::Split;
}

void TestOscarLink::writeModes()
{
    QFETCH(WriteMode, mode);
    LinkPair pair;
    QVERIFY(pair.sender);
    pair.sender->setWriteMode(mode);
    pair.sender->setSequence(0xFFFF);

    const QByteArray big(300, '\x2A'); // frame markers inside data must not confuse anyone
    pair.sender->sendFrame(2, "abc");
    pair.sender->sendFrame(2, big);
    pair.sender->sendFrame(4, {});
    QTRY_COMPARE_WITH_TIMEOUT(pair.frames.size(), 3, Timeout);

    QCOMPARE(pair.frames[0].channel, quint8(2));
    QCOMPARE(pair.frames[0].data, QByteArray("abc"));
    QCOMPARE(pair.frames[1].data, big);
    QCOMPARE(pair.frames[2].channel, quint8(4));
    QCOMPARE(pair.frames[2].data, QByteArray());
    QCOMPARE(pair.frames[0].sequence, quint16(0xFFFF));
    QCOMPARE(pair.frames[1].sequence, quint16(0));
    QCOMPARE(pair.frames[2].sequence, quint16(1));

    const qint64 total = (6 + 3) + (6 + 300) + 6;
    qint64 sum = 0;
    for (qint64 n : pair.writes)
        sum += n;
    QCOMPARE(sum, total);
    switch (mode) {
    case WriteMode::Whole:
        QCOMPARE(pair.writes, (QList<qint64>{9, 306, 6}));
        break;
    case WriteMode::Coalesced:
        QCOMPARE(pair.writes, QList<qint64>{total});
        break;
    case WriteMode::Split:
        QVERIFY(pair.writes.size() >= total / 7);
        for (qint64 n : pair.writes)
            QVERIFY2(n >= 1 && n <= 7, QByteArray::number(n).constData());
        break;
    }
}

void TestOscarLink::closesAfterQueuedBytes_data()
{
    writeModes_data();
}

void TestOscarLink::closesAfterQueuedBytes()
{
    QFETCH(WriteMode, mode);
    LinkPair pair;
    QVERIFY(pair.sender);
    pair.sender->setWriteMode(mode);
    pair.sender->sendFrame(4, QByteArray(100, 'x'));
    pair.sender->closeWhenWritten();
    QVERIFY(!pair.sender->isOpen());
    pair.sender->sendFrame(2, "too late");
    QTRY_VERIFY_WITH_TIMEOUT(pair.receiverClosed, Timeout);
    QCOMPARE(pair.frames.size(), 1);
    QCOMPARE(pair.frames[0].data, QByteArray(100, 'x'));
}

void TestOscarLink::abortDropsQueuedBytes()
{
    LinkPair pair;
    QVERIFY(pair.sender);
    pair.sender->setWriteMode(WriteMode::Split);
    QSignalSpy closed(pair.sender.get(), &OscarLink::closed);
    pair.sender->sendFrame(2, QByteArray(100, 'x'));
    pair.sender->abort();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(pair.sender->pendingBytes(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(pair.receiverClosed, Timeout);
    QCOMPARE(pair.frames.size(), 0);
    pair.sender->abort();
    QCOMPARE(closed.size(), 1);
}

void TestOscarLink::lostMarkerBreaksTheStream()
{
    LinkPair pair;
    QVERIFY(pair.sender);
    QSignalSpy broken(pair.receiver.get(), &OscarLink::streamBroken);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lost the frame marker"));
    pair.sender->sendFrame(2, "fine");
    pair.sender->sendRaw("not a frame");
    QTRY_VERIFY_WITH_TIMEOUT(pair.receiverClosed, Timeout);
    QCOMPARE(broken.size(), 1);
    QCOMPARE(pair.frames.size(), 1); // what came before the break still counts
}

QTEST_GUILESS_MAIN(TestOscarLink)
#include "tst_oscarlink.moc"
