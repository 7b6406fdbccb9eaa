#include "core/cp1251.h"
#include "session/databytes.h"
#include "session/flap.h"
#include "session/packetreader.h"
#include "tools/wire/icbm.h"

#include <QTest>

namespace {

QByteArray snacData(const char *frameHex)
{
    FLAP frame;
    frame.ReadFLAP(DataForm::HexToBytes(frameHex));
    return frame.SNAC_Data();
}

QByteArray allByteValues()
{
    QByteArray out;
    for (int i = 0; i < 256; ++i)
        out.append(char(i));
    return out;
}

} // namespace

class TestIcbm : public QObject
{
    Q_OBJECT
private slots:
    void sendBodyIsTheBotsLayout();
    void readsCapturedIncomingMessages_data();
    void readsCapturedIncomingMessages();
    void readsCapturedOutgoingMessage();
    void roundTrips_data();
    void roundTrips();
    void refusesWhatCannotBeFramed();
    void ignoresBodiesWithoutText_data();
    void ignoresBodiesWithoutText();
    void randomCookieHasNoZeroByte();
};

void TestIcbm::sendBodyIsTheBotsLayout()
{
    // The bot's own example: "Hi" to 1234 on a slot whose counter stands at 12172.
    IcbmText message;
    message.cookie = DataForm::HexToBytes("C1 C2 C3 C4 C5 C6 C7 C8");
    message.uin = QStringLiteral("1234");
    message.text = "Hi";
    const std::optional<QByteArray> body = Icbm::sendBody(message);
    QVERIFY(body);
    const QByteArray frame = PacketWriter().snac(4, 6, 0, 0x00010006).bytes(*body).toFlap(2, 12172);
    QCOMPARE(frame.toHex(' '), QByteArray("2a 02 2f 8c 00 30 00 04 00 06 00 00 00 01 00 06 "
                                          "c1 c2 c3 c4 c5 c6 c7 c8 00 01 04 31 32 33 34 "
                                          "00 02 00 0f 05 01 00 01 01 01 01 00 06 00 03 00 00 48 69 "
                                          "00 06 00 00"));
}

void TestIcbm::readsCapturedIncomingMessages_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QByteArray>("text");

    // Real servers' 4,7 frames: odd user-info TLVs of their own before the message TLV.
    QTest::newRow("strict server, 8-byte TLV F and an empty TLV 0")
        << snacData(
               "2A025A1B005700040007000097DDF34400000000708F636200010631313131313100000004000100020050000600"
               "0400000000000F00080000000300030008000000000002001605010001000101000D0000000068656C6C6F20626F7"
               "4")
        << QStringLiteral("111111") << QByteArray("hello bot");
    QTest::newRow("server with a four-byte capabilities fragment")
        << snacData(
               "2A020009005200040007000000000000000001A25FEF77B600010631313131313100000003000100020040000600"
               "0400000000000300046B1A9B820002001905010004010101020101000D0000000068656C6C6F20626F74")
        << QStringLiteral("111111") << QByteArray("hello bot");
    QTest::newRow("lenient server, two-byte TLVs 6 and F")
        << snacData(
               "2A020006005500040007000000000000000001A25FECD6BB000106343234323432000000040001000200100003"
               "00046B1A9AD6000600020000000F000200000002001805010001010101000F0000000068656C6C6F2068756D616E")
        << QStringLiteral("424242") << QByteArray("hello human");
}

void TestIcbm::readsCapturedIncomingMessages()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, sender);
    QFETCH(QByteArray, text);

    const std::optional<IcbmText> message = Icbm::parseReceiveBody(body);
    QVERIFY(message);
    QCOMPARE(message->uin, sender);
    QCOMPARE(message->text.toHex(' '), text.toHex(' '));
    QCOMPARE(message->channel, quint16(1));
}

void TestIcbm::readsCapturedOutgoingMessage()
{
    const std::optional<IcbmText> message = Icbm::parseSendBody(snacData(
        "2A02123C003900040006000000000007000001A25FEF77B60001063432343234320002001605010001010101000D0000"
        "000068656C6C6F20626F7400060000"));
    QVERIFY(message);
    QCOMPARE(message->uin, QStringLiteral("424242"));
    QCOMPARE(message->text, QByteArray("hello bot"));
    QCOMPARE(message->cookie.toHex(' '), QByteArray("00 00 01 a2 5f ef 77 b6"));
    QCOMPARE(message->charset, quint16(0));
    QVERIFY(!message->ackRequested);
}

void TestIcbm::roundTrips_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint16>("charset");
    QTest::addColumn<QString>("decoded");

    const QString russian = QStringLiteral("Привет, как дела? Ёлка №5");
    QTest::newRow("Cyrillic in 1251") << Cp1251::encode(russian) << IcbmText::CharsetLocal << russian;
    QTest::newRow("empty") << QByteArray() << IcbmText::CharsetLocal << QString();
    QTest::newRow("line breaks kept")
        << QByteArray("a\r\nb") << IcbmText::CharsetLocal << QStringLiteral("a\r\nb");
    QTest::newRow("every byte value")
        << allByteValues() << IcbmText::CharsetLocal << Cp1251::decode(allByteValues());
    QTest::newRow("UTF-16") << DataForm::HexToBytes("04 1F 04 40 00 21") << IcbmText::CharsetUcs2
                            << QStringLiteral("Пр!");
    QTest::newRow("2000 characters") << QByteArray(2000, '\xFF') << IcbmText::CharsetLocal
                                     << QString(2000, QChar(0x044F));
}

void TestIcbm::roundTrips()
{
    QFETCH(QByteArray, text);
    QFETCH(quint16, charset);
    QFETCH(QString, decoded);

    IcbmText message;
    message.cookie = DataForm::HexToBytes("01 02 03 04 05 06 07 08");
    message.uin = QStringLiteral("123456789");
    message.text = text;
    message.charset = charset;

    const std::optional<QByteArray> sent = Icbm::sendBody(message);
    QVERIFY(sent);
    const std::optional<IcbmText> atServer = Icbm::parseSendBody(*sent);
    QVERIFY(atServer);
    QCOMPARE(atServer->uin, message.uin);
    QCOMPARE(atServer->text.toHex(' '), text.toHex(' '));
    QCOMPARE(atServer->charset, charset);

    TLVEntry shortStatus; // a two-byte status TLV, as a lenient server sends it
    shortStatus.type = 6;
    shortStatus.value = QByteArray(2, '\0');
    const std::optional<QByteArray> received = Icbm::receiveBody(*atServer, {shortStatus});
    QVERIFY(received);
    const std::optional<IcbmText> atClient = Icbm::parseReceiveBody(*received);
    QVERIFY(atClient);
    QCOMPARE(atClient->uin, message.uin);
    QCOMPARE(atClient->cookie.toHex(' '), message.cookie.toHex(' '));
    QCOMPARE(atClient->text.toHex(' '), text.toHex(' '));
    QCOMPARE(atClient->decodedText(), decoded);
}

void TestIcbm::refusesWhatCannotBeFramed()
{
    // A frame's data part holds 65535 bytes: 10 of SNAC header and 36 around a text to 1234.
    IcbmText message;
    message.uin = QStringLiteral("1234");
    message.text = QByteArray(65489, 'x');
    const std::optional<QByteArray> largest = Icbm::sendBody(message);
    QVERIFY(largest);
    QCOMPARE(PacketWriter().snac(4, 6, 0, 0).bytes(*largest).toFlap(2, 1).size(), 6 + 0xFFFF);

    message.text.append('x');
    QVERIFY(!Icbm::sendBody(message));
    QVERIFY(!Icbm::receiveBody(message, {}));

    message.text = "ok";
    message.uin = QString(256, QLatin1Char('1'));
    QVERIFY(!Icbm::sendBody(message));
}

void TestIcbm::ignoresBodiesWithoutText_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut in the sender") << DataForm::HexToBytes("0102030405060708 0001 06 3131");
    QTest::newRow("no TLV 2") << DataForm::HexToBytes("0102030405060708 0001 01 31 0000 0000 0006 0000");
    QTest::newRow("TLV 2 without a text fragment")
        << DataForm::HexToBytes("0102030405060708 0001 01 31 0000 0000 0002 0005 0501000101");
}

void TestIcbm::ignoresBodiesWithoutText()
{
    QFETCH(QByteArray, body);
    QVERIFY(!Icbm::parseReceiveBody(body));
    QVERIFY(!Icbm::parseSendBody(body.left(12) + body.mid(16)));
}

void TestIcbm::randomCookieHasNoZeroByte()
{
    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i) {
        const QByteArray cookie = Icbm::randomCookie(random);
        QCOMPARE(cookie.size(), Icbm::CookieSize);
        QVERIFY2(!cookie.contains('\0'), cookie.toHex(' ').constData());
    }
}

QTEST_GUILESS_MAIN(TestIcbm)
#include "tst_icbm.moc"
