#include "session/databytes.h"
#include "support/hex.h"

#include <QTest>

#include <limits>

using namespace DataForm;

class tst_DataBytes : public QObject
{
    Q_OBJECT

private slots:
    void hexToBytes_data();
    void hexToBytes();
    void bytesToNumber_data();
    void bytesToNumber();
    void numberToBytes_data();
    void numberToBytes();
    void numberToBytesLE_data();
    void numberToBytesLE();
    void roastPassword_data();
    void roastPassword();
    void roastingTwiceGivesThePasswordBack();
    void showHex_data();
    void showHex();
};

void tst_DataBytes::hexToBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("odd digit count") << "ABC" << QByteArray();
    QTest::newRow("blank between the digits") << "a b" << hex("ab");
    QTest::newRow("blanks only") << "   " << QByteArray();
    QTest::newRow("grouped") << "0000 0008" << hex("00000008");
    QTest::newRow("odd group, even total") << "0501000101 0101" << hex("05010001010101");
    QTest::newRow("lower case") << "2a02ff" << hex("2a02ff");
    QTest::newRow("not a hex digit") << "0G" << QByteArray();
    QTest::newRow("odd once a blank is dropped") << "0 12" << QByteArray();
}

void tst_DataBytes::hexToBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HexToBytes(text).toHex(' '), bytes.toHex(' '));
}

void tst_DataBytes::bytesToNumber_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint32>("number");

    QTest::newRow("empty") << QByteArray() << true << 0;
    QTest::newRow("sequence of slot 1") << hex("2F8B") << true << 12171;
    QTest::newRow("one byte") << hex("FF") << true << 255;
    QTest::newRow("largest") << hex("7FFFFFFF") << true << std::numeric_limits<qint32>::max();
    QTest::newRow("four bytes, high bit") << hex("80000000") << false << 0;
    QTest::newRow("five bytes, zero lead") << hex("0000000001") << true << 1;
    QTest::newRow("five bytes, non-zero lead") << hex("0100000000") << false << 0;
    QTest::newRow("all ones") << hex("FFFFFFFF") << false << 0;
}

void tst_DataBytes::bytesToNumber()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fits);
    QFETCH(qint32, number);
    const std::optional<qint32> result = BytesToNumber(bytes);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(*result, number);
}

void tst_DataBytes::numberToBytes_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("zero is one byte") << 0 << hex("00");
    QTest::newRow("255") << 255 << hex("FF");
    QTest::newRow("256") << 256 << hex("0100");
    QTest::newRow("65535") << 65535 << hex("FFFF");
    QTest::newRow("65536") << 65536 << hex("010000");
    QTest::newRow("12171") << 12171 << hex("2F8B");
    QTest::newRow("largest") << std::numeric_limits<qint32>::max() << hex("7FFFFFFF");
    QTest::newRow("negative as two's complement") << -1 << hex("FFFFFFFF");
}

void tst_DataBytes::numberToBytes()
{
    QFETCH(qint32, number);
    QFETCH(QByteArray, bytes);
    QCOMPARE(NumberToBytes(number).toHex(' '), bytes.toHex(' '));
}

void tst_DataBytes::numberToBytesLE_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("1 in 8 digits") << 1 << 8 << true << hex("01000000");
    QTest::newRow("10 in 4 digits") << 10 << 4 << true << hex("0A00");
    QTest::newRow("0 in 8 digits") << 0 << 8 << true << hex("00000000");
    QTest::newRow("65535 in 4 digits") << 65535 << 4 << true << hex("FFFF");
    QTest::newRow("uin in 8 digits") << 424242 << 8 << true << hex("32790600");
    QTest::newRow("65536 in 4 digits") << 65536 << 4 << false << QByteArray();
    QTest::newRow("odd digit count") << 1 << 3 << true << QByteArray();
    QTest::newRow("negative count") << 1 << -2 << false << QByteArray();
    QTest::newRow("negative in 8 digits") << -2 << 8 << true << hex("FEFFFFFF");
}

void tst_DataBytes::numberToBytesLE()
{
    QFETCH(qint32, number);
    QFETCH(int, digits);
    QFETCH(bool, fits);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> result = NumberToBytesLE(number, digits);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(result->toHex(' '), bytes.toHex(' '));
}

void tst_DataBytes::roastPassword_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("roasted");

    const QByteArray table = hex("F32681C43986DB9271A3B9E6537A957C");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    // The login packet of a captured session carries this password.
    QTest::newRow("captured login") << QByteArray("botpass") << hex("9149F5B458F5A8");
    QTest::newRow("16 zero bytes give the table") << QByteArray(16, '\0') << table;
    QTest::newRow("the table cycles after 16 bytes") << QByteArray(20, '\0') << table + table.left(4);
    QTest::newRow("high bytes") << hex("FFFF") << hex("0CD9");
}

void tst_DataBytes::roastPassword()
{
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, roasted);
    QCOMPARE(RoastPassword(password).toHex(' '), roasted.toHex(' '));
}

void tst_DataBytes::roastingTwiceGivesThePasswordBack()
{
    const QByteArray password("0123456789abcdef");
    const QByteArray roasted = RoastPassword(password);
    for (int i = 0; i < password.size(); ++i)
        QVERIFY2(roasted[i] != password[i], qPrintable(QString::number(i)));
    QCOMPARE(RoastPassword(roasted), password);
}

void tst_DataBytes::showHex_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("leading zero kept") << hex("0A") << "0A ";
    QTest::newRow("frame start") << hex("2A02") << "2A 02 ";
    QTest::newRow("upper case") << hex("ff00be") << "FF 00 BE ";
}

void tst_DataBytes::showHex()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(ShowHex(bytes), text);
}

QTEST_GUILESS_MAIN(tst_DataBytes)
#include "tst_databytes.moc"
