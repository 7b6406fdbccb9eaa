// The packets the ICQ session builds and the parts of incoming packets it reads,
// byte for byte, without any connection.
#include "scriptedpeer.h"

#include "core/cp1251.h"
#include "core/random.h"
#include "session/databytes.h"
#include "session/flap.h"
#include "session/incomingreader.h"
#include "session/loginexchange.h"
#include "session/messagesender.h"
#include "session/packetreader.h"
#include "session/signon.h"
#include "session/statuschange.h"
#include "support/hex.h"

#include <QTest>

namespace {

FLAP parsed(quint8 channel, const QByteArray &data)
{
    FLAP frame;
    frame.ReadFLAP(PacketWriter::flap(channel, 1, data));
    return frame;
}

} // namespace

class tst_IcqPackets : public QObject
{
    Q_OBJECT

private slots:
    void loginPacket();
    void loginReply_data();
    void loginReply();
    void sessionAddress_data();
    void sessionAddress();
    void signOnPackets_data();
    void signOnPackets();
    void visibleList_data();
    void visibleList();
    void metaRequests_data();
    void metaRequests();
    void statusFrames_data();
    void statusFrames();
    void messageFrame();
    void messageLimits_data();
    void messageLimits();
    void randomCookie();
    void incomingMessage_data();
    void incomingMessage();
    void textDecoding_data();
    void textDecoding();
    void lastCharacter_data();
    void lastCharacter();
    void senderNumbers_data();
    void senderNumbers();
    void userNumber();
};

void tst_IcqPackets::loginPacket()
{
    // A nine-digit number and a three-character password.
    const QByteArray frame =
        PacketWriter::flap(1, LoginExchange::LoginSequence, LoginExchange::loginPacket("123456789", "abc"));
    QCOMPARE(frame.size(), 6 + 129);
    QCOMPARE(frame.first(6).toHex(' '), QByteArray("2a 01 07 d0 00 81"));

    PacketReader reader(QByteArrayView(frame).sliced(6));
    QCOMPARE(reader.u32(), 1u);
    const QList<TLVEntry> tlvs = reader.tlvs();
    QVERIFY(!reader.failed());
    QList<qint32> types;
    for (const TLVEntry &entry : tlvs)
        types.append(entry.type);
    QCOMPARE(types, (QList<qint32>{0x01, 0x02, 0x03, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x14, 0x0F, 0x0E}));
    QCOMPARE(tlvs[0].value, QByteArray("123456789"));
    // Roasted with the first three bytes of the table F3 26 81.
    QCOMPARE(tlvs[1].value.toHex(' '), QByteArray("92 44 e2"));
    QCOMPARE(DataForm::RoastPassword(tlvs[1].value), QByteArray("abc"));
    QCOMPARE(tlvs[2].value, QByteArray("ICQ Inc. - Product of ICQ (TM).2000b.4.60.1.3278.85"));
    QCOMPARE(tlvs[2].value.size(), 51);
    QCOMPARE(tlvs[3].value.toHex(' '), QByteArray("01 0a"));
    QCOMPARE(tlvs[4].value.toHex(' '), QByteArray("00 05"));
    QCOMPARE(tlvs[5].value.toHex(' '), QByteArray("00 3c"));
    QCOMPARE(tlvs[6].value.toHex(' '), QByteArray("00 01"));
    QCOMPARE(tlvs[7].value.toHex(' '), QByteArray("0c ce"));
    QCOMPARE(tlvs[8].value.toHex(' '), QByteArray("00 00 00 55"));
    QCOMPARE(tlvs[9].value, QByteArray("en"));
    QCOMPARE(tlvs[10].value, QByteArray("us"));
}

void tst_IcqPackets::loginReply_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("handsOver");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    const QByteArray number = tlv(1, "123456789");
    const QByteArray address = tlv(5, "10.0.0.1:5191");
    const QByteArray cookie = tlv(6, "COOKIE");
    QTest::newRow("1, 5, 6") << number + address + cookie << true << false << true << "10.0.0.1" << 5191;
    // The whole reply is read before acting: the order of its TLVs does not matter.
    QTest::newRow("6 before 5") << number + cookie + address << true << false << true << "10.0.0.1" << 5191;
    QTest::newRow("number last") << address + cookie + number << true << false << true << "10.0.0.1" << 5191;
    QTest::newRow("leading zero") << tlv(1, "0123456789") + address + cookie << true << false << true
                                  << "10.0.0.1" << 5191;
    QTest::newRow("other number") << tlv(1, "987654321") + address + cookie << false << false << false
                                  << "10.0.0.1" << 5191;
    QTest::newRow("no number") << address + cookie << false << false << false << "10.0.0.1" << 5191;
    QTest::newRow("number not digits")
        << tlv(1, "12345678x") + address + cookie << false << false << false << "10.0.0.1" << 5191;
    QTest::newRow("error url") << number + tlv(4, "http://x/") + tlv(8, hex("0005")) << true << true << false
                               << "" << 5190;
    QTest::newRow("error code only") << number + tlv(8, hex("0005")) << true << true << false << "" << 5190;
    QTest::newRow("error beats cookie")
        << number + address + cookie + tlv(4, "http://x/") << true << true << false << "10.0.0.1" << 5191;
    QTest::newRow("no cookie") << number + address << true << false << false << "10.0.0.1" << 5191;
    QTest::newRow("no address") << number + cookie << true << false << false << "" << 5190;
}

void tst_IcqPackets::loginReply()
{
    QFETCH(QByteArray, data);
    const LoginExchange::Reply reply = LoginExchange::readReply(parsed(4, data), 123456789);
    QTEST(reply.matched, "matched");
    QTEST(reply.refused, "refused");
    QTEST(reply.handsOver(), "handsOver");
    QTEST(reply.host, "host");
    QTEST(int(reply.port), "port");
    if (reply.handsOver())
        QCOMPARE(reply.cookie, QByteArray("COOKIE"));
}

void tst_IcqPackets::sessionAddress_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("host and port") << QByteArray("127.0.0.1:40000") << "127.0.0.1" << 40000;
    QTest::newRow("no colon") << QByteArray("bos.example") << "bos.example" << 5190;
    QTest::newRow("digits then junk") << QByteArray("h:5191x") << "h" << 5191;
    QTest::newRow("no digits") << QByteArray("h:") << "h" << 5190;
    QTest::newRow("port too large") << QByteArray("h:70000") << "h" << 5190;
    QTest::newRow("second colon") << QByteArray("h:81:82") << "h" << 81;
}

void tst_IcqPackets::sessionAddress()
{
    QFETCH(QByteArray, value);
    QString host;
    quint16 port = 0;
    LoginExchange::splitAddress(value, &host, &port);
    QTEST(host, "host");
    QTEST(int(port), "port");
}

void tst_IcqPackets::signOnPackets_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hello") << SignOn::sessionHello("AB") << hexText("00000001 0006 0002 4142");
    QTest::newRow("1,17") << SignOn::serviceVersions()
                          << hexText("00010017000000000017 00010003 00020001 00030001 00150001 00040001 "
                                     "00060001 00090001 000A0001");
    QTest::newRow("1,6") << SignOn::rateRequest() << hexText("00010006000000000006");
    QTest::newRow("1,8") << SignOn::rateAcknowledge() << hexText("00010008000000000008 00010002000300040005");
    QTest::newRow("1,E") << SignOn::ownInfoRequest() << hexText("0001000E00000000000E");
    QTest::newRow("2,2") << SignOn::locationRightsRequest() << hexText("00020002000000000002");
    QTest::newRow("3,2") << SignOn::contactRightsRequest() << hexText("00030002000000000002");
    QTest::newRow("4,4") << SignOn::messageParamsRequest() << hexText("00040004000000000004");
    QTest::newRow("9,2") << SignOn::privacyRightsRequest() << hexText("00090002000000000002");
    QTest::newRow("4,2") << SignOn::setMessageParams()
                         << hexText("00040002000000000002 0000 00000003 1F40 03E7 03E7 00000000");
    QTest::newRow("2,4") << SignOn::setLocationInfo()
                         << hexText("00020004000000000004 0005 0020 "
                                    "094613494C7F11D18222444553540000 094613444C7F11D18222444553540000");
    QTest::newRow("1,1E") << SignOn::setStatusOnline()
                          << hexText("0001001E00000000001E 0006 0004 00030000 0008 0002 0000 000C 0025 "
                                     "C0A80002 000059D5 04 0007 5A3C91E7 00000050 00000003 42DF18BF 00000000 "
                                     "42DF18B8 0000");
    QTest::newRow("1,2") << SignOn::clientReady()
                         << hexText("00010002000000000002 0001 0003 0110 028A 0002 0001 0101 028A "
                                    "0003 0001 0110 028A 0015 0001 0110 028A 0004 0001 0110 028A "
                                    "0006 0001 0110 028A 0009 0001 0110 028A 000A 0001 0110 028A");
}

void tst_IcqPackets::signOnPackets()
{
    QFETCH(QByteArray, payload);
    QTEST(QString::fromLatin1(payload.toHex(' ')), "expected");
}

void tst_IcqPackets::visibleList_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("body");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one") << QStringList{"123456789"} << hexText("09 313233343536373839");
    QTest::newRow("two, empty lines skipped")
        << QStringList{"", "123456789", "", "4242"} << hexText("09 313233343536373839 04 34323432");
    QTest::newRow("blanks around") << QStringList{" 4242 "} << hexText("04 34323432");
    QTest::newRow("not numbers left out")
        << QStringList{"abc", "12 34", "1234567890123456", "7"} << hexText("01 37");
}

void tst_IcqPackets::visibleList()
{
    QFETCH(QStringList, lines);
    const QByteArray payload = SignOn::addVisible(SignOn::visibleNumbers(lines));
    QCOMPARE(payload.first(10).toHex(' '), QByteArray("00 09 00 07 00 00 00 00 00 07"));
    QTEST(QString::fromLatin1(payload.sliced(10).toHex(' ')), "body");
}

void tst_IcqPackets::metaRequests_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("expected");
    QTest::newRow("offline messages") << SignOn::offlineMessagesRequest(123456789)
                                      << hexText("00150002000000010002 0001 000A 0800 15CD5B07 3C00 0200");
    const QStringList keys = SignOn::infoKeys();
    QCOMPARE(keys, (QStringList{"<key>DataFilesIP</key>", "<key>BannersIP</key>", "<key>ChannelsIP</key>"}));
    QTest::newRow("DataFilesIP") << SignOn::infoRequest(123456789, 1, keys[0])
                                 << hexText(
                                        "00150002000000010002 0001 0025 2300 15CD5B07 D007 0100 9808 1600 "
                                        "3C6B65793E4461746146696C657349503C2F6B65793E 00");
    QTest::newRow("BannersIP") << SignOn::infoRequest(123456789, 2, keys[1])
                               << hexText("00150002000000020002 0001 0023 2100 15CD5B07 D007 0200 9808 1400 "
                                          "3C6B65793E42616E6E65727349503C2F6B65793E 00");
    QTest::newRow("ChannelsIP") << SignOn::infoRequest(123456789, 3, keys[2])
                                << hexText("00150002000000030002 0001 0024 2200 15CD5B07 D007 0300 9808 1500 "
                                           "3C6B65793E4368616E6E656C7349503C2F6B65793E 00");
}

void tst_IcqPackets::metaRequests()
{
    QFETCH(QByteArray, payload);
    QTEST(QString::fromLatin1(payload.toHex(' ')), "expected");
}

void tst_IcqPackets::statusFrames_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("status");
    QTest::newRow("online") << 1 << hexText("20030000");
    QTest::newRow("occupied") << 2 << hexText("20030011");
    QTest::newRow("invisible") << 3 << hexText("20030100");
    QTest::newRow("zero") << 0 << QString();
    QTest::newRow("four") << 4 << QString();
}

void tst_IcqPackets::statusFrames()
{
    QFETCH(int, code);
    QFETCH(QString, status);
    const std::optional<QByteArray> payload = StatusChange::statusPayload(code);
    QCOMPARE(payload.has_value(), !status.isEmpty());
    if (!payload)
        return;
    QCOMPARE(payload->size(), 65);
    QCOMPARE(QString::fromLatin1(payload->toHex(' ')),
             hexText("0001001E00000000001E 0006 0004") + QLatin1Char(' ') + status + QLatin1Char(' ') +
                 hexText("0008 0002 0000 000C 0025 00000000 0000649C 00 0008 5A3C91E7 00000050 00000003 "
                         "42BE2E41 42BE2EB1 42BE2E39 0000"));
}

void tst_IcqPackets::messageFrame()
{
    // "Hi" to 1234 on a slot whose counter stands at 12172.
    const QByteArray cookie = hex("0102030405060708");
    const MessageSender::Payload payload = MessageSender::messagePayload(cookie, "1234", "Hi");
    QVERIFY(payload.ok());
    const QByteArray frame = PacketWriter::flap(2, 12172, payload.data);
    QCOMPARE(frame.size(), 54);
    QCOMPARE(frame.toHex(' '), hex("2A022F8C0030 00040006000000010006 0102030405060708 0001 04 31323334 "
                                   "0002000F 0501000101010100060003000048 69 00060000")
                                   .toHex(' '));

    const MessageSender::Payload empty = MessageSender::messagePayload(cookie, "1234", "");
    QVERIFY(empty.ok());
    QCOMPARE(empty.data.sliced(25, 4).toHex(' '), QByteArray("00 02 00 0d"));
}

void tst_IcqPackets::messageLimits_data()
{
    QTest::addColumn<int>("recipient");
    QTest::addColumn<int>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("recipient 255") << 255 << 10 << true;
    QTest::newRow("recipient 256") << 256 << 10 << false;
    // The data part is 42 bytes plus recipient and text.
    QTest::newRow("frame exactly full") << 9 << 65535 - 42 - 9 << true;
    QTest::newRow("frame one over") << 9 << 65535 - 42 - 9 + 1 << false;
    QTest::newRow("text 65531, empty recipient") << 0 << 65531 << false;
    QTest::newRow("text 65532") << 0 << 65532 << false;
}

void tst_IcqPackets::messageLimits()
{
    QFETCH(int, recipient);
    QFETCH(int, text);
    const MessageSender::Payload payload =
        MessageSender::messagePayload(QByteArray(8, 'c'), QByteArray(recipient, '7'), QByteArray(text, 'x'));
    QTEST(payload.ok(), "ok");
    if (payload.ok())
        QCOMPARE(PacketWriter::flap(2, 1, payload.data).size(), 6 + 42 + recipient + text);
    else
        QVERIFY(payload.data.isEmpty());
}

void tst_IcqPackets::randomCookie()
{
    ScriptedRandom random;
    random.queue({0, 254, 1, 2, 3, 4, 5, 6});
    Random::setInstance(&random);
    const QByteArray cookie = MessageSender::randomCookie();
    Random::setInstance(nullptr);
    QCOMPARE(cookie.toHex(' '), QByteArray("01 ff 02 03 04 05 06 07"));
    QCOMPARE(random.requests(), QList<int>(8, 255));
}

void tst_IcqPackets::incomingMessage_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QByteArray>("sender");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("charset");

    QTest::newRow("text") << incomingData("4242", textFragments(3, "hello")) << true << QByteArray("4242")
                          << QByteArray("hello") << 3;
    QTest::newRow("fragment of four bytes")
        << incomingData("4242", textFragments(3, "")) << true << QByteArray("4242") << QByteArray() << 3;
    QTest::newRow("no text fragment")
        << incomingData("4242", hex("0501 0001 01")) << true << QByteArray("4242") << QByteArray() << 0;
    const QByteArray two =
        textFragments(0, "first") + PacketWriter().u16(0x0101).u16(8).u16(3).u16(0).bytes("last").data();
    QTest::newRow("last fragment counts")
        << incomingData("1", two) << true << QByteArray("1") << QByteArray("last") << 3;
    // The python capture: user-info TLVs only two bytes long.
    QTest::newRow("captured, short user info")
        << hex("000001A25FECD6B9 0001 06 313131313131 0000 0004 0001 0002 0010 0003 0004 6B1A9AD6 "
               "0006 0002 0000 000F 0002 0000 0002 0016 0501000101 0101000D00000000 68656C6C6F20626F74")
        << true << QByteArray("111111") << QByteArray("hello bot") << 0;
    QTest::newRow("sender cut short")
        << hex("0102030405060708 0001 09 3132") << false << QByteArray() << QByteArray() << 0;
    QTest::newRow("empty") << QByteArray() << false << QByteArray() << QByteArray() << 0;
}

void tst_IcqPackets::incomingMessage()
{
    QFETCH(QByteArray, data);
    const std::optional<IncomingReader::Message> message = IncomingReader::parseMessage(data);
    QTEST(message.has_value(), "parsed");
    if (!message)
        return;
    QTEST(message->sender, "sender");
    QTEST(message->text, "text");
    QTEST(int(message->charset), "charset");
}

void tst_IcqPackets::textDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("text");
    QTest::newRow("1251") << Cp1251::encode(u"Привет") << 3 << "Привет";
    QTest::newRow("ascii") << QByteArray("hello") << 0 << "hello";
    QTest::newRow("utf-16be") << hex("041F 0440 0438 0021") << 2 << "При!";
    QTest::newRow("utf-8 relayed as charset 0") << QString("Привет").toUtf8() << 0 << "Привет";
    QTest::newRow("1251 under charset 0") << Cp1251::encode(u"Привет") << 0 << "Привет";
    QTest::newRow("utf-8 bytes under charset 3")
        << QString("Пр").toUtf8() << 3 << Cp1251::decode(QString("Пр").toUtf8());
    QTest::newRow("broken utf-8") << hex("D0 9F D0") << 0 << Cp1251::decode(hex("D0 9F D0"));
}

void tst_IcqPackets::textDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, charset);
    QTEST(IncomingReader::decodeText(bytes, quint16(charset)), "text");
}

void tst_IcqPackets::lastCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << "abc 7" << true;
    QTest::newRow("latin lower") << "help" << true;
    QTest::newRow("latin upper") << "HELP" << true;
    QTest::newRow("cyrillic lower") << "привет" << true;
    QTest::newRow("cyrillic upper") << "ПРИВЕТ" << true;
    QTest::newRow("я") << "я" << true;
    QTest::newRow("ё") << "ещё" << false;
    QTest::newRow("Ё") << "ЁЁ" << false;
    QTest::newRow("double quote") << "say \"" << true;
    QTest::newRow("backquote") << "`" << true;
    QTest::newRow("number sign") << "№" << true;
    QTest::newRow("blank") << "a " << true;
    QTest::newRow("all punctuation") << "!~@#$%^&*()-_=+{[]}:;' <,>.№?/\\|" << true;
    QTest::newRow("line break") << "a\r\n" << false;
    QTest::newRow("tab") << "a\t" << false;
    QTest::newRow("latin-1 letter") << "café" << false;
    QTest::newRow("dotless i") << "ı" << false;
    QTest::newRow("ukrainian і") << "і" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_IcqPackets::lastCharacter()
{
    QFETCH(QString, text);
    QTEST(IncomingReader::lastCharacterAccepted(text), "accepted");
}

void tst_IcqPackets::senderNumbers_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("one digit") << QByteArray("7") << true;
    QTest::newRow("fifteen digits") << QByteArray("123456789012345") << true;
    QTest::newRow("sixteen digits") << QByteArray("1234567890123456") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("path") << QByteArray("..\\x") << false;
    QTest::newRow("letter") << QByteArray("12a4") << false;
    QTest::newRow("blank") << QByteArray("12 4") << false;
}

void tst_IcqPackets::senderNumbers()
{
    QFETCH(QByteArray, number);
    QTEST(IncomingReader::isValidUin(number), "valid");
}

void tst_IcqPackets::userNumber()
{
    QCOMPARE(IncomingReader::userNumber(hex("09 313233343536373839 0000 0000")), QByteArray("123456789"));
    QVERIFY(!IncomingReader::userNumber(QByteArray()).has_value());
    QVERIFY(!IncomingReader::userNumber(hex("05 3132")).has_value());
}

QTEST_GUILESS_MAIN(tst_IcqPackets)
#include "tst_icqpackets.moc"
