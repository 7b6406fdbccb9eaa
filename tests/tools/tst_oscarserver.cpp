#include "rawclient.h"

#include "core/cp1251.h"
#include "session/databytes.h"
#include "session/packetreader.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"
#include "tools/wire/icbm.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(WriteMode)

namespace {

constexpr int Timeout = 20000;

const QString Alice = QStringLiteral("111111");
const QString Bob = QStringLiteral("222222");
const QString Carol = QStringLiteral("333333");
const QByteArray AlicePassword = "secret";
const QByteArray BobPassword = Cp1251::encode(QStringLiteral("пароль"));

// The login packet exactly as the bot builds it.
QByteArray botLoginPacket(const QString &uin, const QByteArray &password)
{
    PacketWriter w;
    w.u32(1).tlv(0x0001, uin.toLatin1()).tlv(0x0002, DataForm::RoastPassword(password));
    w.tlv(0x0003, "ICQ Inc. - Product of ICQ (TM).2000b.4.60.1.3278.85");
    w.bytes(DataForm::HexToBytes("0016 0002 010A 0017 0002 0005 0018 0002 003C 0019 0002 0001 001A 0002 0CCE"
                                 "0014 0004 00000055 000F 0002 656E 000E 0002 7573"));
    return w.toFlap(1, 2000);
}

QByteArray uinLE(const QString &uin)
{
    return PacketWriter().u32le(uin.toUInt()).data();
}

// The bot's sign-on packets, SNAC header included, in the order it sends them.
QList<QByteArray> botStep2()
{
    return {DataForm::HexToBytes("00010017000000000017 00010003 00020001 00030001 00150001 00040001 00060001"
                                 "00090001 000A0001")};
}

QList<QByteArray> botStep4()
{
    return {DataForm::HexToBytes("00010008000000000008 00010002000300040005"),
            DataForm::HexToBytes("0001000E00000000000E"),
            DataForm::HexToBytes("00020002000000000002"),
            DataForm::HexToBytes("00030002000000000002"),
            DataForm::HexToBytes("00040004000000000004"),
            DataForm::HexToBytes("00090002000000000002")};
}

QList<QByteArray> botStep5(const QString &uin)
{
    QList<QByteArray> out{
        DataForm::HexToBytes("00040002000000000002 0000 00000003 1F40 03E7 03E7 00000000"),
        DataForm::HexToBytes("00020004000000000004 0005 0020 094613494C7F11D18222444553540000"
                             "094613444C7F11D18222444553540000"),
        DataForm::HexToBytes("00090007000000000007"),
        DataForm::HexToBytes(
            "0001001E00000000001E 0006 0004 00030000 0008 0002 0000 000C 0025 C0A80001 000059D5"
            "04 0007 4B4F5256 00000050 00000003 42DF18BF 00000000 42DF18B8 0000"),
        DataForm::HexToBytes("00010002000000000002 00010003 0110028A 00020001 0101028A 00030001 0110028A"
                             "00150001 0110028A 00040001 0110028A 00060001 0110028A 00090001 0110028A"
                             "000A0001 0110028A"),
        DataForm::HexToBytes("00150002000000010002 0001 000A 0800") + uinLE(uin) +
            DataForm::HexToBytes("3C00 0200"),
    };
    const QList<QByteArray> keys{"<key>DataFilesIP</key>", "<key>BannersIP</key>", "<key>ChannelsIP</key>"};
    for (int n = 1; n <= 3; ++n) {
        const QByteArray &key = keys[n - 1];
        PacketWriter value;
        value.u16le(quint16(13 + key.size())).bytes(uinLE(uin)).u16le(2000).u16le(quint16(n)).u16le(0x0898);
        value.u16le(quint16(key.size())).bytes(key).u8(0);
        out.append(PacketWriter().snac(0x15, 0x02, 0, quint32(n) << 16 | 2).tlv(0x0001, value.data()).data());
    }
    return out;
}

// The bot's packets on its session counter, in one write as the bot's single send does.
struct BotCounter
{
    int next = 12171;
    QByteArray frames(const QList<QByteArray> &snacs)
    {
        QByteArray out;
        for (const QByteArray &snac : snacs)
            out += PacketWriter::flap(2, quint16(next++), snac);
        return out;
    }
};

} // namespace

class TestOscarServer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void peerSignsOnWhenOwnInfoKeepsNoRequestId();

    void loginReplyLayout_data();
    void loginReplyLayout();
    void sequenceBreakClosesTheConnection_data();
    void sequenceBreakClosesTheConnection();
    void loginRefused_data();
    void loginRefused();
    void answersTheBotsSignOn();
    void messagesBothWays_data();
    void messagesBothWays();
    void messageToOfflineNumber();
    void injectedMessages_data();
    void injectedMessages();
    void sessionEndedByServer_data();
    void sessionEndedByServer();
    void newSessionReplacesOld();
    void statusRecorded();
    void cookieRefused_data();
    void cookieRefused();
    void garbageHurtsNobodyElse_data();
    void garbageHurtsNobodyElse();
    void unknownSnacsIgnored();
    void idleConnectionsDropped_data();
    void idleConnectionsDropped();
    void peerFailsWhenSessionUnreachable();

private:
    bool signOn(OscarPeer &peer, const QString &uin, const QByteArray &password);
    bool exchangeWorks();
    QByteArray cookieFor(const QString &uin, const QByteArray &password);
    // nextSequence, when given, receives the number the session's next frame must carry.
    std::unique_ptr<RawClient> botSession(const QString &uin, const QByteArray &password,
                                          int *nextSequence = nullptr);

    std::unique_ptr<OscarServer> m_server;
};

void TestOscarServer::init()
{
    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Alice, AlicePassword);
    m_server->addAccount(Bob, BobPassword);
    m_server->addAccount(Carol, "carol");
    QVERIFY(m_server->listen());
    QVERIFY(m_server->loginPort() != 0);
    QVERIFY(m_server->sessionPort() != 0);
}

void TestOscarServer::cleanup()
{
    m_server.reset();
}

bool TestOscarServer::signOn(OscarPeer &peer, const QString &uin, const QByteArray &password)
{
    QSignalSpy signedOn(&peer, &OscarPeer::signedOn);
    peer.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), uin, password);
    if (!signedOn.wait(Timeout))
        qWarning() << "sign-on of" << uin << "failed:" << peer.errorString();
    return peer.isOnline() && m_server->isOnline(uin);
}

void TestOscarServer::peerSignsOnWhenOwnInfoKeepsNoRequestId()
{
    // As one real server does: the own information comes under a request id of its own.
    m_server->setOwnInfoWithOwnRequestId(true);
    OscarPeer alice;
    QVERIFY(signOn(alice, Alice, AlicePassword));
    QCOMPARE(alice.state(), OscarPeer::State::Online);
}

// Two fresh users can still sign on and talk: the server has come to no harm.
bool TestOscarServer::exchangeWorks()
{
    OscarPeer alice;
    OscarPeer bob;
    if (!signOn(alice, Alice, AlicePassword) || !signOn(bob, Bob, BobPassword))
        return false;
    QSignalSpy received(&bob, &OscarPeer::messageReceived);
    alice.sendText(Bob, QStringLiteral("still there?"));
    return received.wait(Timeout) && received.first().at(1).toString() == QStringLiteral("still there?");
}

QByteArray TestOscarServer::cookieFor(const QString &uin, const QByteArray &password)
{
    RawClient login(m_server->loginPort());
    if (!QTest::qWaitFor([&] { return login.count() == 1; }, Timeout))
        return {};
    login.send(botLoginPacket(uin, password));
    if (!QTest::qWaitFor([&] { return login.count() == 2; }, Timeout))
        return {};
    QByteArray cookie;
    findTlv(tlvsOf(login.last().Data()), 0x0006, &cookie);
    return cookie;
}

// A session driven byte for byte as the bot drives it, up to and including client ready.
std::unique_ptr<RawClient> TestOscarServer::botSession(const QString &uin, const QByteArray &password,
                                                       int *nextSequence)
{
    const QByteArray cookie = cookieFor(uin, password);
    auto bot = std::make_unique<RawClient>(m_server->sessionPort());
    BotCounter counter;
    if (cookie.isEmpty() || !QTest::qWaitFor([&] { return bot->count() == 1; }, Timeout))
        return nullptr;
    bot->send(PacketWriter().u32(1).tlv(0x0006, cookie).toFlap(1, quint16(counter.next++)));
    const auto answered = [&](quint16 family, quint16 subtype) {
        return QTest::qWaitFor([&] { return !bot->snacs(family, subtype).isEmpty(); }, Timeout);
    };
    if (!answered(1, 0x03))
        return nullptr;
    bot->send(counter.frames(botStep2()));
    if (!answered(1, 0x18))
        return nullptr;
    bot->send(counter.frames({DataForm::HexToBytes("00010006000000000006")}));
    if (!answered(1, 0x07))
        return nullptr;
    bot->send(counter.frames(botStep4()));
    if (!answered(9, 0x03))
        return nullptr;
    QSignalSpy signedOn(m_server.get(), &OscarServer::signedOn);
    bot->send(counter.frames(botStep5(uin)));
    if (!signedOn.wait(Timeout))
        return nullptr;
    // Everything the server answers to the sign-on is in before the test goes on.
    if (!QTest::qWaitFor([&] { return bot->snacs(0x15, 0x03).size() == 4; }, Timeout))
        return nullptr;
    if (nextSequence)
        *nextSequence = counter.next;
    return bot;
}

void TestOscarServer::loginReplyLayout_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("cookieLength");
    QTest::addColumn<QList<qint32>>("tlvTypes");

    QTest::newRow("accepted, long cookie") << AlicePassword << 256 << QList<qint32>{1, 5, 6};
    QTest::newRow("accepted, short cookie") << AlicePassword << 16 << QList<qint32>{1, 5, 6};
    QTest::newRow("refused") << QByteArray("wrong") << 256 << QList<qint32>{1, 4, 8};
}

void TestOscarServer::loginReplyLayout()
{
    QFETCH(QByteArray, password);
    QFETCH(int, cookieLength);
    QFETCH(QList<qint32>, tlvTypes);
    m_server->setCookieLength(cookieLength);

    RawClient client(m_server->loginPort());
    QTRY_COMPARE_WITH_TIMEOUT(client.count(), 1, Timeout);
    const FLAP hello = client.last();
    QCOMPARE(hello.ChannelID(), quint8(1));
    QCOMPARE(hello.Data().toHex(' '), QByteArray("00 00 00 01"));

    client.send(botLoginPacket(Alice, password));
    QTRY_COMPARE_WITH_TIMEOUT(client.count(), 2, Timeout);
    const FLAP reply = client.last();
    QCOMPARE(reply.ChannelID(), quint8(4));
    QCOMPARE(quint16(reply.SeqNumber()), quint16(hello.SeqNumber() + 1));
    const QList<TLVEntry> tlvs = tlvsOf(reply.Data());
    QCOMPARE(::tlvTypes(tlvs), tlvTypes);
    QCOMPARE(tlvs[0].value, Alice.toLatin1());
    QCOMPARE(m_server->loginAttempts(Alice), 1);

    if (tlvTypes.last() == 6) {
        QCOMPARE(QString::fromLatin1(tlvs[1].value),
                 QStringLiteral("127.0.0.1:%1").arg(m_server->sessionPort()));
        QCOMPARE(tlvs[2].value.size(), cookieLength);
        // The server waits for the bot's goodbye, then hangs up.
        QVERIFY(!client.isClosed());
        client.send(DataForm::HexToBytes("2A 04 07 D1 00 00"));
    } else {
        QVERIFY(!tlvs[1].value.isEmpty()); // the error address
        QCOMPARE(tlvs[2].value.toHex(' '), QByteArray("00 05"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
    QCOMPARE(m_server->sequenceErrors(), 0);
}

void TestOscarServer::sequenceBreakClosesTheConnection_data()
{
    QTest::addColumn<bool>("sessionPort");
    QTest::addColumn<int>("step"); // the second frame's number less the first's
    QTest::newRow("login port: goodbye repeats the login's number") << false << 0;
    QTest::newRow("login port: a number skipped") << false << 2;
    QTest::newRow("session port: a number repeated") << true << 0;
    QTest::newRow("session port: back by one") << true << -1;
    QTest::newRow("session port: a number skipped") << true << 2;
    QTest::newRow("session port: wraps from 65535 to 0") << true << 1;
}

void TestOscarServer::sequenceBreakClosesTheConnection()
{
    QFETCH(bool, sessionPort);
    QFETCH(int, step);
    RawClient client(sessionPort ? m_server->sessionPort() : m_server->loginPort());
    QTRY_COMPARE_WITH_TIMEOUT(client.count(), 1, Timeout);
    // Keep-alives on the session port: frames the server takes without a cookie.
    const quint8 channel = sessionPort ? 5 : 4;
    const quint16 first = sessionPort ? 0xFFFF : 2000;
    if (sessionPort) {
        client.send(PacketWriter::flap(channel, first, {}));
    } else {
        client.send(botLoginPacket(Alice, AlicePassword));
        QTRY_COMPARE_WITH_TIMEOUT(client.count(), 2, Timeout); // the reply
    }
    client.send(PacketWriter::flap(channel, quint16(first + step), {}));
    if (step == 1) {
        // In order: the server takes it and the connection stays (a goodbye on the
        // login port ends it in the ordinary way).
        if (sessionPort) {
            client.send(PacketWriter::flap(channel, quint16(first + 2), {}));
            client.send(PacketWriter().u32(1).tlv(0x0006, QByteArray(16, 'x')).toFlap(1, quint16(first + 3)));
            // A bad cookie is refused with a channel-4 frame: the frames before got through.
            QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
            QCOMPARE(frameNames(client.frames(), 1), QStringList{"ch 4"});
        }
        QCOMPARE(m_server->sequenceErrors(), 0);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
    QCOMPARE(m_server->sequenceErrors(), 1);
    // Nobody else is hurt.
    QVERIFY(exchangeWorks());
    QCOMPARE(m_server->sequenceErrors(), 1);
}

void TestOscarServer::loginRefused_data()
{
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<quint16>("errorCode");

    QTest::newRow("wrong password") << Alice << QByteArray("secreT") << QString() << quint16(0x0005);
    QTest::newRow("unknown number") << QStringLiteral("999999") << AlicePassword << QString()
                                    << quint16(0x0005);
    QTest::newRow("password in another code page")
        << Bob << QStringLiteral("пароль").toUtf8() << QString() << quint16(0x0005);
    QTest::newRow("refuse the next login")
        << Alice << AlicePassword << QStringLiteral("next") << quint16(0x0018);
    QTest::newRow("refuse every login") << Alice << AlicePassword << QStringLiteral("all") << quint16(0x0011);
}

void TestOscarServer::loginRefused()
{
    QFETCH(QString, uin);
    QFETCH(QByteArray, password);
    QFETCH(QString, setup);
    QFETCH(quint16, errorCode);
    if (setup == QLatin1String("next"))
        m_server->refuseNextLogin(uin);
    else if (setup == QLatin1String("all"))
        m_server->setRefuseLogins(true, errorCode);

    OscarPeer peer;
    QSignalSpy refused(&peer, &OscarPeer::loginRefused);
    QSignalSpy serverRefused(m_server.get(), &OscarServer::loginRefused);
    QSignalSpy loggedIn(m_server.get(), &OscarServer::loggedIn);
    peer.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), uin, password);
    QVERIFY(refused.wait(Timeout));
    QCOMPARE(refused.first().at(0).value<quint16>(), errorCode);
    QCOMPARE(peer.state(), OscarPeer::State::Refused);
    QCOMPARE(serverRefused.size(), 1);
    QCOMPARE(serverRefused.first().at(0).toString(), uin);
    QCOMPARE(loggedIn.size(), 0);
    QCOMPARE(m_server->loginAttempts(uin), 1);
    QVERIFY(!m_server->isOnline(uin));

    if (setup == QLatin1String("next")) {
        // Only the next one: the login after it goes through.
        OscarPeer again;
        QVERIFY(signOn(again, uin, password));
        QCOMPARE(m_server->loginAttempts(uin), 2);
    }
}

void TestOscarServer::answersTheBotsSignOn()
{
    const QByteArray cookie = cookieFor(Alice, AlicePassword);
    QCOMPARE(cookie.size(), 256);
    RawClient bot(m_server->sessionPort());
    BotCounter counter;
    QTRY_COMPARE_WITH_TIMEOUT(bot.count(), 1, Timeout);
    QCOMPARE(bot.last().ChannelID(), quint8(1));
    QCOMPARE(bot.last().Data().toHex(' '), QByteArray("00 00 00 01"));

    QSignalSpy opened(m_server.get(), &OscarServer::sessionOpened);
    bot.send(PacketWriter().u32(1).tlv(0x0006, cookie).toFlap(1, quint16(counter.next++)));
    // Server ready, with an unasked message of the day and a SNAC the bot does not know.
    QTRY_COMPARE_WITH_TIMEOUT(frameNames(bot.frames(), 1), (QStringList{"1,3", "1,13", "B,2"}), Timeout);
    QCOMPARE(opened.size(), 1);
    QVERIFY(bot.last().SNAC_Request()[0] & 0x80);

    bot.send(counter.frames(botStep2()));
    QTRY_COMPARE_WITH_TIMEOUT(frameNames(bot.frames(), 4), QStringList{"1,18"}, Timeout);
    QCOMPARE(bot.last().SNAC_Request().toHex(' '), QByteArray("00 00 00 17"));

    bot.send(counter.frames({DataForm::HexToBytes("00010006000000000006")}));
    QTRY_COMPARE_WITH_TIMEOUT(frameNames(bot.frames(), 5), (QStringList{"1,7", "1,13"}), Timeout);
    QVERIFY(bot.frames()[5].Data().size() + 6 >= 850); // as long as a real server's rate reply

    bot.send(counter.frames(botStep4()));
    QTRY_COMPARE_WITH_TIMEOUT(frameNames(bot.frames(), 7), (QStringList{"1,F", "2,3", "3,3", "4,5", "9,3"}),
                              Timeout);
    QVERIFY(!m_server->isOnline(Alice));

    QSignalSpy signedOn(m_server.get(), &OscarServer::signedOn);
    bot.send(counter.frames(botStep5(Alice)));
    QVERIFY(signedOn.wait(Timeout));
    QCOMPARE(signedOn.first().at(0).toString(), Alice);
    QVERIFY(m_server->isOnline(Alice));
    QCOMPARE(m_server->statusOf(Alice), std::optional<quint32>(0x00030000));
    // The status change is answered with the user's information, each meta request with 15,3.
    QTRY_COMPARE_WITH_TIMEOUT(frameNames(bot.frames(), 12),
                              (QStringList{"1,F", "15,3", "15,3", "15,3", "15,3"}), Timeout);
    const QByteArray offlineDone = bot.frames()[13].SNAC_Data();
    QCOMPARE(offlineDone.toHex(' '),
             (DataForm::HexToBytes("0001 000B 0900") + uinLE(Alice) + DataForm::HexToBytes("4200 0200 00"))
                 .toHex(' '));

    // What the bot sent is on record as it came, from the cookie on.
    const QList<QByteArray> sent = m_server->framesFrom(Alice);
    QCOMPARE(sent.size(), 1 + 1 + 1 + 6 + 9);
    QCOMPARE(sent.first().toHex(' '), PacketWriter().u32(1).tlv(0x0006, cookie).toFlap(1, 12171).toHex(' '));
    QCOMPARE(sent.last().toHex(' '), PacketWriter::flap(2, 12188, botStep5(Alice).last()).toHex(' '));
    QCOMPARE(m_server->lastCookie(Alice).toHex(' '), cookie.toHex(' '));

    // One counter for the whole connection, starting anywhere.
    for (qsizetype i = 1; i < bot.count(); ++i)
        QCOMPARE(quint16(bot.frames()[i].SeqNumber()), quint16(bot.frames()[i - 1].SeqNumber() + 1));
    QVERIFY(!bot.isClosed());
}

void TestOscarServer::messagesBothWays_data()
{
    QTest::addColumn<WriteMode>("mode");
    QTest::newRow("whole frames") << WriteMode::Whole;
    QTest::newRow("frames coalesced") << WriteMode::Coalesced;
    QTest::newRow("frames split") << WriteMode::Split;
}

void TestOscarServer::messagesBothWays()
{
    QFETCH(WriteMode, mode);
    m_server->setWriteMode(mode);

    OscarPeer alice;
    OscarPeer bob;
    QVERIFY(signOn(alice, Alice, AlicePassword));
    QVERIFY(signOn(bob, Bob, BobPassword));

    QSignalSpy routed(m_server.get(), &OscarServer::messageRouted);
    QSignalSpy toBob(&bob, &OscarPeer::messageReceived);
    QSignalSpy toAlice(&alice, &OscarPeer::messageReceived);
    const QString question = QStringLiteral("Привет! Как дела?");
    const QString answer = QStringLiteral("Хорошо, спасибо.\r\nА у тебя?");
    const QString longText(2000, QChar(0x044F));

    QVERIFY(alice.sendText(Bob, question));
    QVERIFY(toBob.wait(Timeout));
    QCOMPARE(toBob.first(), (QVariantList{Alice, question}));

    QVERIFY(bob.sendText(Alice, answer));
    QVERIFY(bob.sendText(Alice, longText));
    QTRY_COMPARE_WITH_TIMEOUT(toAlice.size(), 2, Timeout);
    QCOMPARE(toAlice.at(0), (QVariantList{Bob, answer}));
    QCOMPARE(toAlice.at(1), (QVariantList{Bob, longText}));

    // To oneself.
    QVERIFY(alice.sendText(Alice, QStringLiteral("note to self")));
    QTRY_COMPARE_WITH_TIMEOUT(toAlice.size(), 3, Timeout);
    QCOMPARE(toAlice.at(2), (QVariantList{Alice, QStringLiteral("note to self")}));

    const QList<RoutedMessage> sentByAlice = m_server->messagesSentBy(Alice);
    QCOMPARE(sentByAlice.size(), 2);
    QCOMPARE(sentByAlice[0].to, Bob);
    QCOMPARE(sentByAlice[0].text.toHex(' '), Cp1251::encode(question).toHex(' '));
    QCOMPARE(sentByAlice[0].charset, IcbmText::CharsetLocal);
    QVERIFY(sentByAlice[0].delivered);
    QCOMPARE(sentByAlice[1].to, Alice);
    QCOMPARE(m_server->messagesSentBy(Bob).size(), 2);
    QCOMPARE(routed.size(), 4);
    QCOMPARE(routed.at(1), (QVariantList{Bob, Alice, Cp1251::encode(answer)}));
    QCOMPARE(alice.receivedMessages().at(0).bytes.toHex(' '), Cp1251::encode(answer).toHex(' '));
}

void TestOscarServer::messageToOfflineNumber()
{
    OscarPeer alice;
    QVERIFY(signOn(alice, Alice, AlicePassword));
    QSignalSpy routed(m_server.get(), &OscarServer::messageRouted);
    QVERIFY(alice.sendText(Carol, QStringLiteral("are you there?")));
    QVERIFY(routed.wait(Timeout));

    const QList<RoutedMessage> sent = m_server->messagesSentBy(Alice);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].to, Carol);
    QVERIFY(!sent[0].delivered);
    // The sender is told with an error SNAC and stays online.
    QSignalSpy toAlice(&alice, &OscarPeer::messageReceived);
    QVERIFY(m_server->injectText(Carol, Alice, QStringLiteral("later")));
    QVERIFY(toAlice.wait(Timeout));
    QVERIFY(alice.isOnline());
}

void TestOscarServer::injectedMessages_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint16>("charset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shortTlvs");

    QTest::newRow("from a number that is not online")
        << QStringLiteral("123456789") << Cp1251::encode(QStringLiteral("!версия")) << IcbmText::CharsetLocal
        << QStringLiteral("!версия") << false;
    QTest::newRow("from an online number")
        << Bob << QByteArray("hello") << IcbmText::CharsetLocal << QStringLiteral("hello") << false;
    QTest::newRow("from the recipient itself")
        << Alice << QByteArray("echo") << IcbmText::CharsetLocal << QStringLiteral("echo") << false;
    QTest::newRow("in UTF-16") << QStringLiteral("42") << DataForm::HexToBytes("04 14 04 30")
                               << IcbmText::CharsetUcs2 << QStringLiteral("Да") << false;
    QTest::newRow("with two-byte user-info TLVs")
        << Bob << QByteArray("short") << IcbmText::CharsetLocal << QStringLiteral("short") << true;
}

void TestOscarServer::injectedMessages()
{
    QFETCH(QString, from);
    QFETCH(QByteArray, bytes);
    QFETCH(quint16, charset);
    QFETCH(QString, text);
    QFETCH(bool, shortTlvs);
    m_server->setShortUserInfoTlvs(shortTlvs);

    OscarPeer alice;
    OscarPeer bob;
    QVERIFY(signOn(alice, Alice, AlicePassword));
    QVERIFY(signOn(bob, Bob, BobPassword));
    QSignalSpy toAlice(&alice, &OscarPeer::messageReceived);
    QVERIFY(m_server->injectMessage(from, Alice, bytes, charset));
    QVERIFY(toAlice.wait(Timeout));
    QCOMPARE(toAlice.first(), (QVariantList{from, text}));
    QCOMPARE(alice.receivedMessages().first().bytes.toHex(' '), bytes.toHex(' '));
    // Injected messages are nobody's sent messages.
    QVERIFY(m_server->routedMessages().isEmpty());
    QVERIFY(!m_server->injectMessage(from, Carol, bytes, charset));
}

void TestOscarServer::sessionEndedByServer_data()
{
    QTest::addColumn<bool>("silently");
    QTest::newRow("dropped silently") << true;
    QTest::newRow("signed off with channel 4") << false;
}

void TestOscarServer::sessionEndedByServer()
{
    QFETCH(bool, silently);

    std::unique_ptr<RawClient> bot = botSession(Alice, AlicePassword);
    QVERIFY(bot);
    OscarPeer peer;
    QVERIFY(signOn(peer, Bob, BobPassword));
    QSignalSpy closed(m_server.get(), &OscarServer::sessionClosed);
    QSignalSpy peerClosed(&peer, &OscarPeer::closed);
    const qsizetype framesBefore = bot->count();

    QVERIFY(silently ? m_server->closeSessionSilently(Alice) : m_server->signOff(Alice));
    QTRY_VERIFY_WITH_TIMEOUT(bot->isClosed(), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, Timeout);
    QCOMPARE(closed.first().at(0).toString(), Alice);
    QVERIFY(!m_server->isOnline(Alice));
    QCOMPARE(frameNames(bot->frames(), framesBefore), silently ? QStringList() : QStringList{"ch 4"});
    QVERIFY(!m_server->closeSessionSilently(Alice));

    // The same through the peer: it notices the connection drop.
    QVERIFY(silently ? m_server->closeSessionSilently(Bob) : m_server->signOff(Bob));
    QVERIFY(peerClosed.wait(Timeout));
    QCOMPARE(peer.state(), OscarPeer::State::Closed);
    QVERIFY(!m_server->isOnline(Bob));
}

void TestOscarServer::newSessionReplacesOld()
{
    OscarPeer first;
    OscarPeer second;
    QVERIFY(signOn(first, Alice, AlicePassword));
    QSignalSpy firstClosed(&first, &OscarPeer::closed);
    QVERIFY(signOn(second, Alice, AlicePassword));
    QTRY_COMPARE_WITH_TIMEOUT(firstClosed.size(), 1, Timeout);
    QCOMPARE(first.errorString(), QStringLiteral("the server ended the session"));
    QVERIFY(m_server->isOnline(Alice));

    QSignalSpy toSecond(&second, &OscarPeer::messageReceived);
    QVERIFY(m_server->injectText(Bob, Alice, QStringLiteral("which one?")));
    QVERIFY(toSecond.wait(Timeout));
}

void TestOscarServer::statusRecorded()
{
    QCOMPARE(m_server->statusOf(Alice), std::nullopt);
    OscarPeer alice;
    QVERIFY(signOn(alice, Alice, AlicePassword));
    QCOMPARE(m_server->statusOf(Alice), std::optional<quint32>(0x00030000));

    QSignalSpy changed(m_server.get(), &OscarServer::statusChanged);
    QVERIFY(alice.sendStatus(0x20030011)); // occupied, as the bot's status menu sends it
    QVERIFY(changed.wait(Timeout));
    QCOMPARE(changed.first(), (QVariantList{Alice, 0x20030011u}));
    QCOMPARE(m_server->statusOf(Alice), std::optional<quint32>(0x20030011));

    QSignalSpy closed(m_server.get(), &OscarServer::sessionClosed);
    alice.logOut();
    QVERIFY(closed.wait(Timeout));
    QCOMPARE(m_server->statusOf(Alice), std::optional<quint32>(0x20030011));
}

void TestOscarServer::cookieRefused_data()
{
    QTest::addColumn<QString>("cookie");
    QTest::newRow("unknown cookie") << QStringLiteral("unknown");
    QTest::newRow("cookie used before") << QStringLiteral("used");
    QTest::newRow("no cookie") << QStringLiteral("none");
}

void TestOscarServer::cookieRefused()
{
    QFETCH(QString, cookie);
    QByteArray bytes(256, 'x');
    if (cookie == QLatin1String("used")) {
        bytes = cookieFor(Alice, AlicePassword);
        RawClient first(m_server->sessionPort());
        QTRY_COMPARE_WITH_TIMEOUT(first.count(), 1, Timeout);
        first.sendFrame(1, PacketWriter().u32(1).tlv(0x0006, bytes).data());
        QTRY_VERIFY_WITH_TIMEOUT(!first.snacs(1, 3).isEmpty(), Timeout);
    }

    QSignalSpy opened(m_server.get(), &OscarServer::sessionOpened);
    RawClient client(m_server->sessionPort());
    QTRY_COMPARE_WITH_TIMEOUT(client.count(), 1, Timeout);
    PacketWriter hello;
    hello.u32(1);
    if (cookie != QLatin1String("none"))
        hello.tlv(0x0006, bytes);
    client.sendFrame(1, hello.data());
    QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
    QCOMPARE(frameNames(client.frames(), 1), QStringList{"ch 4"});
    QCOMPARE(opened.size(), 0);
    QVERIFY(!m_server->isOnline(Alice));
}

void TestOscarServer::garbageHurtsNobodyElse_data()
{
    QTest::addColumn<bool>("sessionPort");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("serverHangsUp");

    const QByteArray noise = QByteArray("GET / HTTP/1.1\r\nHost: x\r\n\r\n") + QByteArray(300, '\xA5');
    const QByteArray cut = DataForm::HexToBytes("2A 02 00 09 00 64 00 01 00 02"); // 100 data bytes announced
    const QByteArray lostMarker = DataForm::HexToBytes("2A 05 00 01 00 00 2B 02 00 02 00 00");
    const QByteArray tiny = DataForm::HexToBytes("2A 02 00 01 00 03 00 01 00");
    const QByteArray badLogin = DataForm::HexToBytes("2A 01 00 01 00 09 00 00 00 01 00 01 00 40 31");
    const QByteArray huge = DataForm::HexToBytes("2A 02 00 01 FF FF") + QByteArray(0xFFFF, '\0');
    for (bool session : {false, true}) {
        const char *port = session ? "session port: " : "login port: ";
        QTest::addRow("%snot OSCAR at all", port) << session << noise << true;
        QTest::addRow("%sframe cut short, then gone", port) << session << cut << false;
        QTest::addRow("%shalf a header, then gone", port) << session << cut.left(3) << false;
        QTest::addRow("%sframe marker lost", port) << session << lostMarker << true;
        QTest::addRow("%sSNAC too short for its header", port) << session << tiny << false;
        QTest::addRow("%slogin packet with a cut TLV", port) << session << badLogin << true;
        QTest::addRow("%slongest frame of zeros", port) << session << huge << false;
    }
}

void TestOscarServer::garbageHurtsNobodyElse()
{
    QFETCH(bool, sessionPort);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, serverHangsUp);

    RawClient client(sessionPort ? m_server->sessionPort() : m_server->loginPort());
    QTRY_COMPARE_WITH_TIMEOUT(client.count(), 1, Timeout);
    client.send(bytes);
    if (serverHangsUp) {
        QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
    } else {
        // The server waits for more; the client leaves mid-frame.
        QVERIFY(exchangeWorks());
        QVERIFY(!client.isClosed());
        client.drop();
    }
    QVERIFY(exchangeWorks());
}

void TestOscarServer::unknownSnacsIgnored()
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &text) { logged.append(text); });

    OscarPeer alice;
    const bool online = signOn(alice, Alice, AlicePassword);
    BotCounter counter;
    std::unique_ptr<RawClient> bot = botSession(Bob, BobPassword, &counter.next);
    QSignalSpy toBot(m_server.get(), &OscarServer::messageRouted);
    if (bot) {
        // Twice the same unknown SNAC and one of a family nobody serves, then a message.
        bot->send(counter.frames({DataForm::HexToBytes("0063006300000000000000"),
                                  DataForm::HexToBytes("0063006300000000000000"),
                                  DataForm::HexToBytes("7777000100000000000099")}));
        IcbmText message;
        message.cookie = QByteArray(8, '\x11');
        message.uin = Alice;
        message.text = "after the noise";
        bot->send(counter.frames(
            {PacketWriter().snac(4, 6, 0, 0x00010006).bytes(*Icbm::sendBody(message)).data()}));
        toBot.wait(Timeout);
    }
    qInstallMessageHandler(previous);

    QVERIFY(online);
    QVERIFY(bot);
    QCOMPARE(toBot.size(), 1);
    QVERIFY(!bot->isClosed());
    QVERIFY(m_server->isOnline(Bob));
    QCOMPARE(logged.filter(QStringLiteral("unknown SNAC 63,63")).size(), 1);
    QCOMPARE(logged.filter(QStringLiteral("unknown SNAC 7777,1")).size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(alice.receivedMessages().size(), 1, Timeout);
    QCOMPARE(alice.receivedMessages().first().text, QStringLiteral("after the noise"));
}

void TestOscarServer::idleConnectionsDropped_data()
{
    QTest::addColumn<bool>("sessionPort");
    QTest::newRow("login port") << false;
    QTest::newRow("session port") << true;
}

void TestOscarServer::idleConnectionsDropped()
{
    QFETCH(bool, sessionPort);
    m_server->setUnauthenticatedTimeout(100);
    RawClient client(sessionPort ? m_server->sessionPort() : m_server->loginPort());
    QTRY_VERIFY_WITH_TIMEOUT(client.isClosed(), Timeout);
    QCOMPARE(frameNames(client.frames()), QStringList{"ch 1"}); // the hello, nothing else
}

void TestOscarServer::peerFailsWhenSessionUnreachable()
{
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const quint16 port = gone.serverPort();
    gone.close();
    m_server->setAdvertisedSessionAddress(QStringLiteral("127.0.0.1:%1").arg(port));

    OscarPeer peer;
    QSignalSpy failed(&peer, &OscarPeer::failed);
    peer.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), Alice, AlicePassword);
    QVERIFY(failed.wait(Timeout));
    QCOMPARE(peer.state(), OscarPeer::State::Failed);
    QCOMPARE(peer.sessionPort(), port);
    QVERIFY2(peer.errorString().contains(QLatin1String("before sign-on")), qPrintable(peer.errorString()));
    QVERIFY(!peer.sendText(Bob, QStringLiteral("nobody hears")));
}

QTEST_GUILESS_MAIN(TestOscarServer)
#include "tst_oscarserver.moc"
