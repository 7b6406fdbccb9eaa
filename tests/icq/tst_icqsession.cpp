// The session against server ends whose every byte the test writes: login leg,
// session handler, sign-on, sequence numbers, sender, status change and the
// incoming message reader's road.
#include "scriptedpeer.h"

#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "platform/recordingdialogs.h"
#include "session/databytes.h"
#include "session/hexlog.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"
#include "session/loginexchange.h"
#include "session/signon.h"
#include "session/socketcontrol.h"
#include "session/statuschange.h"
#include "support/frames.h"
#include "support/programhome.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Timeout = 30000;

QByteArray loginReply(const QByteArray &number, const QString &address, const QByteArray &cookie)
{
    return serverFrame(4, tlv(1, number) + tlv(5, address.toLatin1()) + tlv(6, cookie));
}

QByteArray refusal(const QByteArray &number)
{
    return serverFrame(4, tlv(1, number) + tlv(4, "http://127.0.0.1/error") +
                              tlv(8, QByteArray::fromHex("0005")));
}

QList<SentMessage> sentMessages(const QList<FLAP> &frames)
{
    QList<SentMessage> messages;
    for (const FLAP &frame : frames) {
        const SentMessage message = readSentMessage(frame);
        if (!message.to.isEmpty())
            messages.append(message);
    }
    return messages;
}

} // namespace

class tst_IcqSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loginLegHandsOver();
    void loginBytesInAnyChunks_data();
    void loginBytesInAnyChunks();
    void loginReplyIgnored_data();
    void loginReplyIgnored();
    void loginRefusedOnce();
    void reloginKeepsSlot();

    void handlerWaitsForWholeFrames();
    void handlerDispatchesBeforePartialTail();
    void handlerDropsLostStream();
    void hexLogRotates();
    void signOffFrameEndsTheSignOn();
    void contactReaders();

    void signOnSequence();
    void sequenceStarts_data();
    void sequenceStarts();

    void sendMessageCountsPerSlot();
    void sendMessageRefusals();
    void statusOnEverySignedOnSlot();
    void statusWithoutSessions();

    void incomingRoad_data();
    void incomingRoad();
    void dispatchedFrames_data();
    void dispatchedFrames();

private:
    // The login leg of slot, handed over to m_bos; returns the session connection's index.
    int loginLeg(int slot, const QByteArray &number);
    // Writes the session hello on connection i of m_bos and waits for the bot's answer.
    void sessionHello(int i);
    // The whole sign-on of connection i after its hello.
    void signOn(int i);
    // Writes bytes on connection i and waits until the bot has sent `frames` frames there.
    void writeAndWait(int i, const QByteArray &bytes, int frames);

    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<ScriptedPeer> m_login;
    std::unique_ptr<ScriptedPeer> m_bos;
    std::unique_ptr<IcqSession> m_session;
};

void tst_IcqSession::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs = std::make_unique<RecordingDialogs>();
    Dialogs::setInstance(m_dialogs.get());
    m_login = std::make_unique<ScriptedPeer>();
    m_bos = std::make_unique<ScriptedPeer>();
    QVERIFY(m_login->listen());
    QVERIFY(m_bos->listen());
    m_session = std::make_unique<IcqSession>();
}

void tst_IcqSession::cleanup()
{
    m_session.reset();
    m_login.reset();
    m_bos.reset();
    Dialogs::setInstance(nullptr);
    m_dialogs.reset();
    m_dir.reset();
}

int tst_IcqSession::loginLeg(int slot, const QByteArray &number)
{
    const int loginIndex = m_login->count();
    const int bosIndex = m_bos->count();
    m_session->setMainUin(number.toInt());
    m_session->setMainPassword(QStringLiteral("secret"));
    m_session->startLogin(slot, QString::fromLatin1(number), QStringLiteral("127.0.0.1"), m_login->port());
    [&] { QTRY_COMPARE_WITH_TIMEOUT(m_login->count(), loginIndex + 1, Timeout); }();
    if (QTest::currentTestFailed())
        return -1;
    m_login->write(loginIndex, serverHello());
    [&] { QTRY_COMPARE_WITH_TIMEOUT(m_login->frames(loginIndex).size(), 1, Timeout); }();
    m_login->write(loginIndex, loginReply(number, m_bos->address(), "COOKIE-" + number));
    [&] { QTRY_COMPARE_WITH_TIMEOUT(m_bos->count(), bosIndex + 1, Timeout); }();
    return QTest::currentTestFailed() ? -1 : bosIndex;
}

void tst_IcqSession::writeAndWait(int i, const QByteArray &bytes, int frames)
{
    m_bos->write(i, bytes);
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(i).size(), frames, Timeout);
}

void tst_IcqSession::sessionHello(int i)
{
    writeAndWait(i, serverHello(), 1);
}

void tst_IcqSession::signOn(int i)
{
    const int sent = int(m_bos->frames(i).size());
    writeAndWait(i, serverSnac(1, 3), sent + 1);
    writeAndWait(i, serverSnac(1, 0x18), sent + 2);
    writeAndWait(i, serverSnac(1, 7), sent + 8);
    writeAndWait(i, serverSnac(9, 3), sent + 17);
}

void tst_IcqSession::loginLegHandsOver()
{
    const int bos = loginLeg(1, "123456789");
    QVERIFY(bos == 0);

    // The login packet with the number as typed and the roasted password, then the goodbye
    // under the next number.
    const QByteArray login = PacketWriter::flap(1, 2000, LoginExchange::loginPacket("123456789", "secret"));
    QTRY_COMPARE_WITH_TIMEOUT(m_login->received(0).toHex(' '),
                              (login + QByteArray::fromHex("2A0407D10000")).toHex(' '), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_login->closedByBot(0), Timeout);

    QCOMPARE(m_session->NetSlotUin(1), QStringLiteral("123456789"));
    QCOMPARE(m_session->WorkSlotUin(1), QStringLiteral("123456789"));
    QCOMPARE(m_session->AuthCookie(), QByteArray("COOKIE-123456789"));
    QCOMPARE(m_session->BosPort(), m_bos->port());

    // The session hello returns the cookie, with the slot's first sequence number.
    sessionHello(bos);
    QCOMPARE(m_bos->received(bos).toHex(' '),
             PacketWriter::flap(1, 12171, SignOn::sessionHello("COOKIE-123456789")).toHex(' '));
    QCOMPARE(m_session->SlotSequence(1), 12172);
}

void tst_IcqSession::loginBytesInAnyChunks_data()
{
    QTest::addColumn<QList<int>>("helloCuts"); // where the hello is cut into reads
    QTest::addColumn<QList<int>>("replyCuts"); // where the reply is cut into reads
    QTest::addColumn<QByteArray>("trailing");  // bytes that follow the reply in its last read
    QTest::addColumn<bool>("oneRead");         // hello and reply arrive together

    QTest::newRow("whole") << QList<int>{} << QList<int>{} << QByteArray() << false;
    QTest::newRow("hello split") << QList<int>{3} << QList<int>{} << QByteArray() << false;
    QTest::newRow("reply split") << QList<int>{} << QList<int>{9} << QByteArray() << false;
    QTest::newRow("reply header split") << QList<int>{} << QList<int>{4, 6} << QByteArray() << false;
    QTest::newRow("reply joined with a further frame")
        << QList<int>{} << QList<int>{} << serverSnac(1, 0x13, "motd") << false;
    QTest::newRow("reply joined with a partial frame")
        << QList<int>{} << QList<int>{} << QByteArray("*\x02") << false;
    QTest::newRow("hello and reply in one read") << QList<int>{} << QList<int>{} << QByteArray() << true;
}

void tst_IcqSession::loginBytesInAnyChunks()
{
    QFETCH(QList<int>, helloCuts);
    QFETCH(QList<int>, replyCuts);
    QFETCH(QByteArray, trailing);
    QFETCH(bool, oneRead);

    auto cut = [](const QByteArray &bytes, const QList<int> &cuts) {
        QList<QByteArray> pieces;
        qsizetype from = 0;
        for (const int at : cuts) {
            pieces.append(bytes.sliced(from, at - from));
            from = at;
        }
        pieces.append(bytes.sliced(from));
        return pieces;
    };
    const QByteArray hello = serverHello();
    const QByteArray reply = loginReply("4242", m_bos->address(), "C") + trailing;

    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    m_session->setMainUin(4242);
    m_session->setMainPassword(QStringLiteral("pw"));
    m_session->startLogin(1, QStringLiteral("4242"), QStringLiteral("127.0.0.1"), m_login->port());
    QTRY_COMPARE_WITH_TIMEOUT(m_login->count(), 1, Timeout);

    // One piece per read: each is written once the bot has read the one before.
    auto writeEach = [&](const QList<QByteArray> &pieces) {
        for (const QByteArray &piece : pieces) {
            const qsizetype before = traces.size();
            m_login->write(0, piece);
            QTRY_VERIFY_WITH_TIMEOUT(traces.size() > before, Timeout);
        }
    };
    if (oneRead) {
        writeEach({hello + reply});
    } else {
        writeEach(cut(hello, helloCuts));
        QTRY_COMPARE_WITH_TIMEOUT(m_login->frames(0).size(), 1, Timeout);
        writeEach(cut(reply, replyCuts));
    }

    QTRY_COMPARE_WITH_TIMEOUT(m_bos->count(), 1, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_login->frames(0).size(), 2, Timeout); // one login packet, one goodbye
    QCOMPARE(m_login->frames(0).last().ChannelID(), quint8(4));
    QCOMPARE(m_session->WorkSlotUin(1), QStringLiteral("4242"));
}

void tst_IcqSession::loginReplyIgnored_data()
{
    QTest::addColumn<QByteArray>("tlvs");
    QTest::addColumn<QString>("trace");
    QTest::newRow("other number") << tlv(1, "987") + tlv(5, "127.0.0.1:1") + tlv(6, "C")
                                  << "login reply for another number ignored";
    QTest::newRow("no number") << tlv(5, "127.0.0.1:1") + tlv(6, "C")
                               << "login reply for another number ignored";
    QTest::newRow("no cookie") << tlv(1, "4242") + tlv(5, "127.0.0.1:1")
                               << "login reply without session address or cookie ignored";
    QTest::newRow("no address") << tlv(1, "4242") + tlv(6, "C")
                                << "login reply without session address or cookie ignored";
}

void tst_IcqSession::loginReplyIgnored()
{
    QFETCH(QByteArray, tlvs);
    QFETCH(QString, trace);
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    QSignalSpy handedOver(m_session.get(), &IcqSession::handedOver);
    m_session->setMainUin(4242);
    m_session->startLogin(1, QStringLiteral("4242"), QStringLiteral("127.0.0.1"), m_login->port());
    QTRY_COMPARE_WITH_TIMEOUT(m_login->count(), 1, Timeout);
    m_login->write(0, serverHello() + serverFrame(4, tlvs));
    QTRY_VERIFY_WITH_TIMEOUT(traces.contains(QVariantList{trace}), Timeout);
    QCOMPARE(handedOver.size(), 0);
    QCOMPARE(m_session->WorkSlotUin(1), QString());
    QVERIFY(m_dialogs->shown.isEmpty());

    // The log-in still waits for its reply.
    m_login->write(0, loginReply("4242", m_bos->address(), "C"));
    QTRY_COMPARE_WITH_TIMEOUT(handedOver.size(), 1, Timeout);
}

void tst_IcqSession::loginRefusedOnce()
{
    QSignalSpy refused(m_session.get(), &IcqSession::loginRefused);
    QSignalSpy handedOver(m_session.get(), &IcqSession::handedOver);
    m_session->setMainUin(4242);
    m_session->startLogin(1, QStringLiteral("4242"), QStringLiteral("127.0.0.1"), m_login->port());
    QTRY_COMPARE_WITH_TIMEOUT(m_login->count(), 1, Timeout);
    m_login->write(0, serverHello());
    QTRY_COMPARE_WITH_TIMEOUT(m_login->frames(0).size(), 1, Timeout);

    m_login->write(0, refusal("4242") + refusal("4242") + loginReply("4242", m_bos->address(), "C"));
    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, Timeout);
    // A refused log-in takes nothing more from its connection: the bot hangs up.
    QTRY_VERIFY_WITH_TIMEOUT(m_login->closedByBot(0), Timeout);
    QCOMPARE(m_session->loginPhase(1), IcqSession::LoginPhase::Idle);

    QCOMPARE(refused.size(), 1);
    QCOMPARE(handedOver.size(), 0);
    QCOMPARE(m_dialogs->shown.size(), 1);
    const RecordingDialogs::Shown box = m_dialogs->shown.first();
    QCOMPARE(box.kind, RecordingDialogs::Kind::Notify);
    QCOMPARE(box.title, QStringLiteral("Ошибка ввода логина или пароля"));
    QCOMPARE(box.text,
             QStringLiteral("Ошибка подключения. Она могла возникнуть из-за того, что Вы не правильно ввели "
                            "логин или пароль, либо превышен лимит подключений к серверу."));
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
}

void tst_IcqSession::reloginKeepsSlot()
{
    const int first = loginLeg(3, "333");
    sessionHello(first);
    writeAndWait(first, serverSnac(1, 3), 2);
    QCOMPARE(m_session->SlotSequence(3), 3 * 12171 + 2);

    // The same bot again: same slot, same connection objects, sequence restarted at the hello.
    SocketControl *const work = m_session->Work(3);
    const int second = loginLeg(3, "333");
    QCOMPARE(m_session->Work(3), work);
    QCOMPARE(m_session->slotNumbers(), QList<int>{3});
    sessionHello(second);
    QCOMPARE(m_bos->frames(second).first().SeqNumber(), 3 * 12171);
    QTRY_VERIFY_WITH_TIMEOUT(m_bos->closedByBot(first), Timeout);
}

void tst_IcqSession::handlerWaitsForWholeFrames()
{
    const int bos = loginLeg(1, "1");
    QSignalSpy reads(m_session->Work(1), &SocketControl::DataArrival);
    const QString log = ProgramFolder::path(QStringLiteral("WORK.log"));

    // Half a frame is neither dispatched nor logged.
    const QByteArray ready = serverSnac(1, 3, "families");
    m_bos->write(bos, ready.first(9));
    QTRY_COMPARE_WITH_TIMEOUT(reads.size(), 1, Timeout);
    QVERIFY(!QFile::exists(log));
    QVERIFY(m_bos->frames(bos).isEmpty());

    // The rest completes it: one pass, one log entry over the whole frame.
    m_bos->write(bos, ready.sliced(9));
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 1, Timeout);
    QCOMPARE(frameNames(m_bos->frames(bos)), QStringList{"1,17"});
    QCOMPARE(TextFile::readBytes(QStringLiteral("WORK.log")),
             "Server send:\r\n" + DataForm::ShowHex(ready).toLatin1() + "\r\n\r\n");
}

void tst_IcqSession::handlerDispatchesBeforePartialTail()
{
    const int bos = loginLeg(1, "1");
    const QByteArray ready = serverSnac(1, 3);
    const QByteArray versions = serverSnac(1, 0x18);
    const QByteArray rates = serverSnac(1, 7, "rate classes");

    // Two whole frames and the first bytes of a third: the two are answered at once.
    m_bos->write(bos, ready + versions + rates.first(4));
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 2, Timeout);
    m_bos->write(bos, rates.sliced(4));
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 8, Timeout);
    QCOMPARE(frameNames(m_bos->frames(bos)),
             (QStringList{"1,17", "1,6", "1,8", "1,E", "2,2", "3,2", "4,4", "9,2"}));

    // One entry per pass, each over the frames it handled.
    QCOMPARE(TextFile::readBytes(QStringLiteral("WORK.log")),
             "Server send:\r\n" + DataForm::ShowHex(ready + versions).toLatin1() +
                 "\r\n\r\nServer send:\r\n" + DataForm::ShowHex(rates).toLatin1() + "\r\n\r\n");
}

void tst_IcqSession::handlerDropsLostStream()
{
    const int bos = loginLeg(1, "1");
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lost the frame marker"));
    // A whole frame, then bytes that are no frame: the frame is answered, the rest dropped.
    m_bos->write(bos, serverSnac(1, 3) + QByteArray("+garbage that is no frame"));
    QTRY_VERIFY_WITH_TIMEOUT(
        traces.contains(QVariantList{"session connection 1 lost the frame marker; damaged bytes dropped"}), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 1, Timeout);
    // The stream goes on with the next frame the server writes.
    writeAndWait(bos, serverSnac(1, 0x18), 2);
    QCOMPARE(frameNames(m_bos->frames(bos)), (QStringList{"1,17", "1,6"}));
}

void tst_IcqSession::hexLogRotates()
{
    const QString path = ProgramFolder::path(QStringLiteral("WORK.log"));
    QVERIFY(HexLog::append(QByteArray::fromHex("2A02")));
    QCOMPARE(TextFile::readBytes(QStringLiteral("WORK.log")), QByteArray("Server send:\r\n2A 02 \r\n\r\n"));
    // It holds every message's text: only the owner may read it.
    QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    // Grown to the limit: the old log moves aside and a new one starts.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
    QVERIFY(file.resize(HexLog::RotateSize));
    file.close();
    QVERIFY(HexLog::append(QByteArray::fromHex("0A")));
    QCOMPARE(QFileInfo(path + QStringLiteral(".1")).size(), HexLog::RotateSize);
    QCOMPARE(TextFile::readBytes(QStringLiteral("WORK.log")), QByteArray("Server send:\r\n0A \r\n\r\n"));
}

void tst_IcqSession::signOffFrameEndsTheSignOn()
{
    const int bos = loginLeg(1, "1");
    sessionHello(bos);
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    QSignalSpy failed(m_session.get(), &IcqSession::loginFailed);
    m_bos->write(bos, serverFrame(4, tlv(9, QByteArray::fromHex("0001"))));
    QTRY_VERIFY_WITH_TIMEOUT(traces.contains(QVariantList{"ERROR"}), Timeout);
    // A sign-on the server ends is given up; the slot keeps its number and counter.
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(1).value<IcqSession::LoginFailure>(), IcqSession::LoginFailure::SignedOff);
    QCOMPARE(m_session->loginPhase(1), IcqSession::LoginPhase::Idle);
    QCOMPARE(m_session->WorkSlotUin(1), QStringLiteral("1"));
    QCOMPARE(m_session->SlotSequence(1), 12172);
    QVERIFY(m_dialogs->shown.isEmpty());
}

void tst_IcqSession::contactReaders()
{
    const int bos = loginLeg(1, "1");
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    m_bos->write(bos, serverSnac(3, 0xB, QByteArray::fromHex("09313233343536373839 0000 0000")) +
                          serverSnac(3, 0xC) + serverSnac(1, 0xF, "anything") + serverSnac(0x15, 3, "meta") +
                          serverSnac(1, 3));
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 1, Timeout);
    QStringList lines;
    for (const QVariantList &trace : traces)
        lines.append(trace.first().toString());
    QCOMPARE(lines.filter(QStringLiteral("User ")), QStringList{"User 123456789 is OnLine"});
    QVERIFY(lines.contains(QStringLiteral("<== SNAC 3, C")));
    QVERIFY(lines.contains(QStringLiteral("<== SNAC 15, 3")));
}

void tst_IcqSession::signOnSequence()
{
    TextFile::writeLines(QStringLiteral("\\видимый список.txt"), {"", "123456789", "", "4242"});
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);
    QList<int> postLoginSlots;
    qint32 sequenceAtPostLogin = 0;
    m_session->setPostLoginHook([&](int slot) {
        postLoginSlots.append(slot);
        sequenceAtPostLogin = m_session->SlotSequence(slot);
    });

    const int bos = loginLeg(1, "123456789");
    sessionHello(bos);
    writeAndWait(bos, serverSnac(1, 3), 2);
    writeAndWait(bos, serverSnac(1, 0x18), 3);
    writeAndWait(bos, serverSnac(1, 7), 9);
    QCOMPARE(signedOn.size(), 0);
    // Own information and privacy rights in one read.
    writeAndWait(bos, serverSnac(1, 0xF) + serverSnac(9, 3), 18);

    const QList<FLAP> frames = m_bos->frames(bos);
    QCOMPARE(frameNames(frames),
             (QStringList{"ch 1", "1,17", "1,6", "1,8", "1,E", "2,2", "3,2", "4,4", "9,2", "4,2", "2,4",
                             "9,7", "1,1E", "1,2", "15,2", "15,2", "15,2", "15,2"}));
    for (int k = 0; k < frames.size(); ++k)
        QCOMPARE(frames[k].SeqNumber(), 12171 + k);
    QCOMPARE(frames[11].SNAC_Data().toHex(' '), QByteArray("09 31 32 33 34 35 36 37 38 39 04 34 32 34 32"));
    QCOMPARE(frames[14].Data().toHex(' '), SignOn::offlineMessagesRequest(123456789).toHex(' '));
    QCOMPARE(frames[17].Data().toHex(' '),
             SignOn::infoRequest(123456789, 3, "<key>ChannelsIP</key>").toHex(' '));

    // The post-login actions ran between the set-status request and client-ready.
    QCOMPARE(postLoginSlots, QList<int>{1});
    QCOMPARE(sequenceAtPostLogin, 12171 + 13);
    QCOMPARE(signedOn.size(), 1);
    QCOMPARE(signedOn.first().first().toInt(), 1);

    QStringList sent;
    for (const QVariantList &trace : traces) {
        if (trace.first().toString().startsWith(QLatin1String("> ")))
            sent.append(trace.first().toString());
    }
    QCOMPARE(sent, (QStringList{
                       "> SNAC 1,17", "> SNAC 1,6", "> SNAC 1,8", "> SNAC 1,E", "> SNAC 2,2", "> SNAC 3,2",
                       "> SNAC 4,4", "> SNAC 9,2", "> SNAC 4,2", "> SNAC 2,4", "> SNAC 9,7", "> SNAC 1,2",
                       "> SNAC 15,2 (offline messages)", "> SNAC 15,2 XML (<key>DataFilesIP</key>)",
                       "> SNAC 15,2 XML (<key>BannersIP</key>)", "> SNAC 15,2 XML (<key>ChannelsIP</key>)"}));
}

void tst_IcqSession::sequenceStarts_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("first");
    QTest::newRow("slot 1") << 1 << 12171;
    QTest::newRow("slot 2") << 2 << 24342;
    QTest::newRow("slot 3") << 3 << 36513;
    QTest::newRow("slot 6, low 16 bits") << 6 << 7490;
}

void tst_IcqSession::sequenceStarts()
{
    QFETCH(int, slot);
    const int bos = loginLeg(slot, "4242");
    sessionHello(bos);
    QTEST(m_bos->frames(bos).first().SeqNumber(), "first");
    QCOMPARE(m_session->SlotSequence(slot), slot * 12171 + 1);
}

void tst_IcqSession::sendMessageCountsPerSlot()
{
    const int one = loginLeg(1, "1111");
    sessionHello(one);
    const int two = loginLeg(2, "2222");
    sessionHello(two);

    QVERIFY(m_session->sendMessageOn(1, QStringLiteral("Привет, мир!"), QStringLiteral("4242")));
    QVERIFY(m_session->sendMessageOn(2, QStringLiteral("from two"), QStringLiteral("4242")));
    QVERIFY(m_session->sendMessageOn(1, QString(), QStringLiteral("123456789")));

    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(one).size(), 3, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(two).size(), 2, Timeout);
    const QList<SentMessage> first = sentMessages(m_bos->frames(one));
    QCOMPARE(first.size(), 2);
    QCOMPARE(first[0].to, QByteArray("4242"));
    QCOMPARE(first[0].text, Cp1251::encode(u"Привет, мир!"));
    QCOMPARE(first[0].sequence, 12172);
    QCOMPARE(first[1].to, QByteArray("123456789"));
    QCOMPARE(first[1].text, QByteArray());
    QCOMPARE(first[1].sequence, 12173);
    QCOMPARE(sentMessages(m_bos->frames(two)).first().sequence, 24343);
    QCOMPARE(m_session->SlotSequence(1), 12174);

    // Cookies differ and hold no zero byte.
    const QList<FLAP> frames = m_bos->frames(one);
    const QByteArray cookieA = frames[1].SNAC_Data().first(8);
    const QByteArray cookieB = frames[2].SNAC_Data().first(8);
    QVERIFY(cookieA != cookieB);
    QVERIFY(!cookieA.contains('\0') && !cookieB.contains('\0'));
}

void tst_IcqSession::sendMessageRefusals()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not sent: message frame longer than 65535 bytes"));
    const int bos = loginLeg(1, "1111");
    sessionHello(bos);
    QSignalSpy traces(m_session.get(), &IcqSession::traced);

    // Fits the text fragment, not the frame.
    QVERIFY(!m_session->sendMessageOn(1, QString(65531 - 42, QLatin1Char('x')), QStringLiteral("123456789")));
    QCOMPARE(m_session->SlotSequence(1), 12172);
    QVERIFY(!traces.isEmpty());
    // A slot without a session connection.
    QVERIFY(!m_session->sendMessageOn(5, QStringLiteral("hi"), QStringLiteral("4242")));
    QCOMPARE(m_session->SlotSequence(5), 0);
    QCOMPARE(m_session->NextSequence(), 12172);

    // The largest text that fits goes out whole.
    QString largest(65535 - 42 - 9, QLatin1Char('y'));
    QVERIFY(m_session->sendMessageOn(1, largest, QStringLiteral("123456789")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(bos).size(), 2, Timeout);
    QCOMPARE(sentMessages(m_bos->frames(bos)).first().text.size(), largest.size());
}

void tst_IcqSession::statusOnEverySignedOnSlot()
{
    const int one = loginLeg(1, "1111");
    sessionHello(one);
    const int three = loginLeg(3, "3333");
    sessionHello(three);

    m_session->abb(4); // no such status: nothing anywhere
    m_session->abb(2);
    m_session->abb(2);
    QCOMPARE(m_session->CurrentStatus(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(one).size(), 3, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_bos->frames(three).size(), 3, Timeout);
    for (const auto &[connection, start] : {std::pair{one, 12171}, std::pair{three, 36513}}) {
        const QList<FLAP> frames = m_bos->frames(connection);
        for (int k = 1; k <= 2; ++k) {
            QCOMPARE(frames[k].SNAC_FamID(), 1);
            QCOMPARE(frames[k].SNAC_TipID(), 0x1E);
            QCOMPARE(frames[k].SeqNumber(), (start + k) & 0xFFFF);
            QCOMPARE(frames[k].Data().toHex(' '), StatusChange::statusPayload(2)->toHex(' '));
        }
    }
}

void tst_IcqSession::statusWithoutSessions()
{
    m_session->abb(1);
    QCOMPARE(m_session->CurrentStatus(), 0);
    // Handed over but no hello yet: no session.
    loginLeg(1, "1111");
    m_session->abb(3);
    QCOMPARE(m_session->CurrentStatus(), 0);
    QCOMPARE(m_session->SlotSequence(1), 0);
}

void tst_IcqSession::incomingRoad_data()
{
    QTest::addColumn<QByteArray>("sender");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("reply");    // what the bot answers itself, empty for nothing
    QTest::addColumn<QString>("pipeline"); // the text the pipeline gets, empty when it gets nothing
    QTest::addColumn<bool>("logged");
    QTest::addColumn<bool>("probe");
    QTest::addColumn<QString>("warning");

    const QString refusalText = IncomingReader::RefusalText;
    auto cp = [](const QString &text) { return Cp1251::encode(text); };
    QTest::newRow("command") << QByteArray("4242") << cp("help") << 3 << ""
                             << "help" << true << false << "";
    QTest::newRow("cyrillic") << QByteArray("4242") << cp("Привет") << 3 << ""
                              << "Привет" << true << false << "";
    QTest::newRow("ends in ё") << QByteArray("4242") << cp("ещё") << 3 << refusalText << "" << false << false
                               << "";
    QTest::newRow("ends in a line break")
        << QByteArray("4242") << cp("help\r\n") << 3 << refusalText << "" << false << false << "";
    QTest::newRow("probe") << QByteArray("4242") << cp(IncomingReader::ProbeText) << 3 << ""
                           << "" << false << true << "";
    QTest::newRow("version") << QByteArray("4242") << cp("!версия") << 3 << "Версия от 13.11.2008"
                             << "" << false << false << "";
    QTest::newRow("version in capitals") << QByteArray("4242") << cp("!ВЕРСИЯ") << 3 << ""
                                         << "!ВЕРСИЯ" << true << false << "";
    QTest::newRow("banned") << QByteArray("666") << cp("help") << 3 << "Вы забанены"
                            << "" << false << false << "";
    QTest::newRow("taken by the distribution") << QByteArray("777") << cp("help") << 3 << ""
                                               << "" << false << false << "";
    QTest::newRow("empty text") << QByteArray("4242") << QByteArray() << 3 << ""
                                << "" << false << false << "";
    QTest::newRow("sender not digits") << QByteArray("..\\42") << cp("help") << 3 << ""
                                       << "" << false << false << "malformed sender";
    QTest::newRow("sender of 16 digits") << QByteArray("1234567890123456") << cp("help") << 3 << ""
                                         << "" << false << false << "malformed sender";
    QTest::newRow("utf-16") << QByteArray("4242") << QByteArray::fromHex("041F04400438043204350442") << 2
                            << ""
                            << "Привет" << true << false << "";
    QTest::newRow("utf-8 as charset 0") << QByteArray("4242") << QString("Привет").toUtf8() << 0 << ""
                                        << "Привет" << true << false << "";
}

void tst_IcqSession::incomingRoad()
{
    QFETCH(QByteArray, sender);
    QFETCH(QByteArray, text);
    QFETCH(int, charset);
    QFETCH(QString, reply);
    QFETCH(QString, pipeline);
    QFETCH(bool, logged);
    QFETCH(QString, warning);

    QList<MessageState> processed;
    QList<MessageState> logs;
    MessageHooks hooks;
    hooks.checkBans = [](MessageState &state) {
        if (state.SenderUin != QLatin1String("666"))
            return StageOutcome::Continue;
        state.SenderBanned = true;
        state.ReplyText = QStringLiteral("Вы забанены");
        return StageOutcome::Stop;
    };
    hooks.distribute = [](MessageState &state) {
        return state.SenderUin != QLatin1String("777") ? StageOutcome::Continue : StageOutcome::Stop;
    };
    hooks.logMessage = [&](MessageState &state) {
        logs.append(state);
        return StageOutcome::Continue;
    };
    hooks.processMessage = [&](MessageState &state) {
        processed.append(state);
        return StageOutcome::Stop;
    };
    m_session->setMessageHooks(hooks);

    loginLeg(1, "1111");
    const int bos = loginLeg(2, "2222");
    sessionHello(bos);
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));

    // The message, then the version question of another sender: its answer marks the first as done.
    m_bos->write(bos, serverSnac(4, 7, incomingMessage(sender, text, quint16(charset))) +
                          serverSnac(4, 7, incomingMessage("99", Cp1251::encode(u"!версия"))));
    QTRY_COMPARE_WITH_TIMEOUT(sentMessages(m_bos->frames(bos)).size(), reply.isEmpty() ? 1 : 2, Timeout);

    const QList<SentMessage> sent = sentMessages(m_bos->frames(bos));
    if (!reply.isEmpty()) {
        QCOMPARE(sent.first().to, sender);
        QCOMPARE(Cp1251::decode(sent.first().text), reply);
    }
    QCOMPARE(sent.last().to, QByteArray("99"));
    QCOMPARE(Cp1251::decode(sent.last().text), QStringLiteral("Версия от 13.11.2008"));

    QCOMPARE(processed.size(), pipeline.isEmpty() ? 0 : 1);
    if (!pipeline.isEmpty()) {
        QCOMPARE(processed.first().SenderUin, QString::fromLatin1(sender));
        QCOMPARE(processed.first().MessageText, pipeline);
        QCOMPARE(processed.first().slot, 2);
    }
    QCOMPARE(logs.size(), logged ? 1 : 0);
    QTEST(m_session->ProbeReturned(), "probe");
}

void tst_IcqSession::dispatchedFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("pipeline"); // the text the pipeline gets, empty when it gets nothing
    QTest::addColumn<QString>("trace");    // a line the session traces

    const QByteArray message = serverSnac(4, 7, incomingMessage("4242", "help"));
    QTest::newRow("message") << message << "help" << "<== SNAC 4, 7";
    QTest::newRow("message cut short") << message.left(30) << "" << "<== SNAC 4, 7";
    QTest::newRow("sender cut short") << serverSnac(4, 7, QByteArray::fromHex("0102030405060708000106313233"))
                                      << "" << "incoming message too short; dropped";
    QTest::newRow("no frame marker") << QByteArray("\x01\x02\x00\x01\x00\x00", 6) << "" << "<== SNAC 0, 0";
    QTest::newRow("shorter than a header") << QByteArray("*\x02", 2) << "" << "<== SNAC 0, 0";
    QTest::newRow("sign-off") << serverFrame(4, QByteArray()) << "" << "ERROR";
    QTest::newRow("no handler") << serverSnac(0x13, 6, QByteArray(40, '\xFF')) << "" << "<== SNAC 13, 6";
    QTest::newRow("buddy without a number") << serverSnac(3, 0xB, QByteArray::fromHex("09313233")) << ""
                                            << "<== SNAC 3, B";
}

void tst_IcqSession::dispatchedFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, pipeline);
    QFETCH(QString, trace);

    QStringList processed;
    QList<int> onSlots;
    MessageHooks hooks;
    hooks.processMessage = [&](MessageState &state) {
        onSlots.append(state.slot);
        processed.append(state.MessageText);
        return StageOutcome::Stop;
    };
    m_session->setMessageHooks(hooks);
    QStringList traces;
    connect(m_session.get(), &IcqSession::traced, this, [&](const QString &line) { traces.append(line); });

    // A frame handed to a slot takes the road of one read whole from its connection.
    m_session->dispatchFrame(3, frame);
    QCOMPARE(processed, pipeline.isEmpty() ? QStringList() : QStringList{pipeline});
    QCOMPARE(onSlots, pipeline.isEmpty() ? QList<int>() : QList<int>{3});
    QVERIFY2(traces.contains(trace), qPrintable(traces.join(QLatin1String(" | "))));
}

QTEST_GUILESS_MAIN(tst_IcqSession)
#include "tst_icqsession.moc"
