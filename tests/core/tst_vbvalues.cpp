#include "core/vbvalues.h"

#include <QLocale>
#include <QTest>

#include <clocale>

Q_DECLARE_METATYPE(std::optional<double>)

using namespace VbValues;

namespace {
const std::optional<double> none = std::nullopt;
}

class TestVbValues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void toNumber_data();
    void toNumber();
    void holdsNumber();
    void roundHalfEven_data();
    void roundHalfEven();
    void toByte_data();
    void toByte();
    void toInt16_data();
    void toInt16();
    void toInt32();
    void numberText_data();
    void numberText();
    void autoLoginScramble();
    void printForm_data();
    void printForm();
    void upperCase_data();
    void upperCase();
};

void TestVbValues::initTestCase()
{
    // The machine's locale must not matter.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    std::setlocale(LC_ALL, "ru_RU.UTF-8");
}

void TestVbValues::toNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("number");
    QTest::newRow("digit") << "1" << std::optional<double>(1);
    QTest::newRow("print form") << " 1 " << std::optional<double>(1);
    QTest::newRow("print form zero") << " 0 " << std::optional<double>(0);
    QTest::newRow("negative print form") << "-1 " << std::optional<double>(-1);
    QTest::newRow("plus sign") << "+7" << std::optional<double>(7);
    QTest::newRow("tab") << "\t12\t" << std::optional<double>(12);
    QTest::newRow("point") << "1.5" << std::optional<double>(1.5);
    QTest::newRow("comma") << "1,5" << std::optional<double>(1.5);
    QTest::newRow("leading point") << ".5" << std::optional<double>(0.5);
    QTest::newRow("print form fraction") << " .5 " << std::optional<double>(0.5);
    QTest::newRow("trailing point") << "3." << std::optional<double>(3);
    QTest::newRow("exponent") << "1E+15" << std::optional<double>(1e15);
    QTest::newRow("small exponent") << "1.5e-05" << std::optional<double>(1.5e-5);
    QTest::newRow("scrambled number") << "18930041.18" << std::optional<double>(18930041.18);
    QTest::newRow("leading zeros") << "007" << std::optional<double>(7);
    QTest::newRow("fifteen digits") << "999999999999999" << std::optional<double>(999999999999999.0);
    QTest::newRow("seventeen digits") << "12345678901234567" << std::optional<double>(12345678901234567.0);
    QTest::newRow("zero") << "0" << std::optional<double>(0);
    QTest::newRow("empty") << "" << none;
    QTest::newRow("blanks") << "   " << none;
    QTest::newRow("letters") << "abc" << none;
    QTest::newRow("trailing letter") << "1a" << none;
    QTest::newRow("two points") << "1.2.3" << none;
    QTest::newRow("blank inside") << "1 2" << none;
    QTest::newRow("sign alone") << "-" << none;
    QTest::newRow("point alone") << "." << none;
    QTest::newRow("exponent without digits") << "1e" << none;
    QTest::newRow("line break") << "1\r\n" << none;
    QTest::newRow("thousands") << "1 000" << none;
    QTest::newRow("overflow") << "1e999" << none;
}

void TestVbValues::toNumber()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, number);
    QCOMPARE(VbValues::toNumber(text), number);
    QCOMPARE(VbValues::isNumber(text), number.has_value());
}

void TestVbValues::holdsNumber()
{
    QVERIFY(VbValues::holdsNumber("1", 1));
    QVERIFY(VbValues::holdsNumber(" 1 ", 1));
    QVERIFY(VbValues::holdsNumber("1.0", 1));
    QVERIFY(!VbValues::holdsNumber("", 1));
    QVERIFY(!VbValues::holdsNumber("", 0));
    QVERIFY(!VbValues::holdsNumber(" 0 ", 1));
    QVERIFY(!VbValues::holdsNumber("1x", 1));
}

void TestVbValues::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-2.6") << -2.6 << -3.0;
    QTest::newRow("whole") << 7.0 << 7.0;
}

void TestVbValues::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(VbValues::roundHalfEven(value), rounded);
}

void TestVbValues::toByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result"); // the target starts at 77
    QTest::newRow("1") << "1" << true << 1;
    QTest::newRow("print form") << " 1 " << true << 1;
    QTest::newRow("0") << "0" << true << 0;
    QTest::newRow("255") << "255" << true << 255;
    QTest::newRow("2.5 to even") << "2.5" << true << 2;
    QTest::newRow("3.5 to even") << "3.5" << true << 4;
    QTest::newRow("comma") << "3,5" << true << 4;
    QTest::newRow("-0.4 rounds to 0") << "-0.4" << true << 0;
    QTest::newRow("-0.5 rounds to 0") << "-0.5" << true << 0;
    QTest::newRow("255.5 rounds to 256") << "255.5" << false << 77;
    QTest::newRow("256") << "256" << false << 77;
    QTest::newRow("-1") << "-1" << false << 77;
    QTest::newRow("empty") << "" << false << 77;
    QTest::newRow("text") << "да" << false << 77;
}

void TestVbValues::toByte()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, result);
    quint8 target = 77;
    QCOMPARE(VbValues::toByte(text, target), ok);
    QCOMPARE(int(target), result);
}

void TestVbValues::toInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result"); // the target starts at 77
    QTest::newRow("5") << "5" << true << 5;
    QTest::newRow("-5 print form") << "-5 " << true << -5;
    QTest::newRow("32767") << "32767" << true << 32767;
    QTest::newRow("-32768") << "-32768" << true << -32768;
    QTest::newRow("32768") << "32768" << false << 77;
    QTest::newRow("-32769") << "-32769" << false << 77;
    QTest::newRow("32767.5 rounds up, out") << "32767.5" << false << 77;
    QTest::newRow("32766.5 to even") << "32766.5" << true << 32766;
    QTest::newRow("-2.5") << "-2.5" << true << -2;
    QTest::newRow("empty") << "" << false << 77;
    QTest::newRow("garbage") << "5 minutes" << false << 77;
}

void TestVbValues::toInt16()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, result);
    qint16 target = 77;
    QCOMPARE(VbValues::toInt16(text, target), ok);
    QCOMPARE(int(target), result);
}

void TestVbValues::toInt32()
{
    qint32 target = 1;
    QVERIFY(VbValues::toInt32("2147483647", target));
    QCOMPARE(target, 2147483647);
    QVERIFY(!VbValues::toInt32("2147483648", target));
    QCOMPARE(target, 2147483647);
    QVERIFY(VbValues::toInt32(123456789.4, target));
    QCOMPARE(target, 123456789);
    quint8 byte = 3;
    QVERIFY(!VbValues::toByte(qQNaN(), byte));
    QCOMPARE(int(byte), 3);
}

void TestVbValues::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("1") << 1.0 << "1";
    QTest::newRow("-1") << -1.0 << "-1";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("below one") << 0.5 << "0.5";
    QTest::newRow("negative fraction") << -0.25 << "-0.25";
    QTest::newRow("no float noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("rounded to 15 digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("big") << 1234567890123456789.0 << "1.23456789012346E+18";
    QTest::newRow("0.0001") << 0.0001 << "0.0001";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
    QTest::newRow("1.5E-05") << 0.000015 << "1.5E-05";
    QTest::newRow("nan") << qQNaN() << "";
    QTest::newRow("inf") << qInf() << "";
}

void TestVbValues::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(VbValues::numberText(value), text);
}

void TestVbValues::autoLoginScramble()
{
    // The auto-login page stores (N * 23 / 3 + 10) / 50 as text.
    const double n = 123456789;
    const double scrambled = (n * 23 / 3 + 10) / 50;
    const QString text = VbValues::numberText(scrambled);
    QCOMPARE(text, QStringLiteral("18930041.18"));
    const auto back = VbValues::toNumber(text);
    QVERIFY(back);
    QCOMPARE(VbValues::roundHalfEven((*back * 50 - 10) * 3 / 23), n);
}

void TestVbValues::printForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1.0 << " 1 ";
    QTest::newRow("0") << 0.0 << " 0 ";
    QTest::newRow("-1") << -1.0 << "-1 ";
    QTest::newRow("big") << 32400.0 << " 32400 ";
    QTest::newRow("fraction") << 2.5 << " 2.5 ";
    QTest::newRow("below one") << 0.5 << " .5 ";
    QTest::newRow("negative below one") << -0.5 << "-.5 ";
}

void TestVbValues::printForm()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(VbValues::printForm(value), text);
    QCOMPARE(VbValues::toNumber(text), std::optional<double>(value));
}

void TestVbValues::upperCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("upperYo");
    QTest::addColumn<QString>("upper");
    QTest::newRow("latin") << "Hello, world 42" << true << "HELLO, WORLD 42";
    QTest::newRow("cyrillic") << "привет Мир" << true << "ПРИВЕТ МИР";
    QTest::newRow("whole alphabet") << "абвгдежзийклмнопрстуфхцчшщъыьэюя" << true
                                    << "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    QTest::newRow("yo upper") << "ёлка" << true << "ЁЛКА";
    QTest::newRow("yo kept") << "ёлка" << false << "ёЛКА";
    QTest::newRow("others kept") << "é ў ß" << true << "é ў ß";
    QTest::newRow("!версия") << "!версия" << true << "!ВЕРСИЯ";
}

void TestVbValues::upperCase()
{
    QFETCH(QString, text);
    QFETCH(bool, upperYo);
    QFETCH(QString, upper);
    QCOMPARE(VbValues::upperCase(text, upperYo ? YoCase::Upper : YoCase::Keep), upper);
}

QTEST_GUILESS_MAIN(TestVbValues)
#include "tst_vbvalues.moc"
