#include "core/cp1251.h"

#include <QSet>
#include <QTest>

class TestCp1251 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteSurvivesDecodeAndEncode();
    void decodedCharactersAreDistinct();
    void knownCharacters_data();
    void knownCharacters();
    void unknownCharactersBecomeQuestionMarks();
    void canEncode();
};

void TestCp1251::everyByteSurvivesDecodeAndEncode()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Cp1251::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1251::encode(text).toHex(' '), all.toHex(' '));
    for (int b = 0; b < 256; ++b) {
        const auto back = Cp1251::toByte(Cp1251::toChar(quint8(b)));
        QVERIFY2(back.has_value(), qPrintable(QString::number(b, 16)));
        QCOMPARE(int(*back), b);
    }
}

void TestCp1251::decodedCharactersAreDistinct()
{
    QSet<char16_t> seen;
    for (int b = 0; b < 256; ++b)
        seen.insert(Cp1251::toChar(quint8(b)).unicode());
    QCOMPARE(seen.size(), 256);
}

void TestCp1251::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("A") << 0x41 << 0x41;
    QTest::newRow("А") << 0xC0 << 0x0410;
    QTest::newRow("Я") << 0xDF << 0x042F;
    QTest::newRow("а") << 0xE0 << 0x0430;
    QTest::newRow("я") << 0xFF << 0x044F;
    QTest::newRow("Ё") << 0xA8 << 0x0401;
    QTest::newRow("ё") << 0xB8 << 0x0451;
    QTest::newRow("№") << 0xB9 << 0x2116;
    QTest::newRow("€") << 0x88 << 0x20AC;
    QTest::newRow("Ђ") << 0x80 << 0x0402;
    QTest::newRow("—") << 0x97 << 0x2014;
    QTest::newRow("undefined 0x98") << 0x98 << 0x0098;
    QTest::newRow("™") << 0x99 << 0x2122;
    QTest::newRow("nbsp") << 0xA0 << 0x00A0;
    QTest::newRow("«") << 0xAB << 0x00AB;
    QTest::newRow("»") << 0xBB << 0x00BB;
    QTest::newRow("ї") << 0xBF << 0x0457;
}

void TestCp1251::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    QCOMPARE(int(Cp1251::toChar(quint8(byte)).unicode()), unicode);
    QCOMPARE(int(Cp1251::toByte(QChar(char16_t(unicode))).value()), byte);
}

void TestCp1251::unknownCharactersBecomeQuestionMarks()
{
    QCOMPARE(Cp1251::encode(u"Привет"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
    QCOMPARE(Cp1251::encode(u"a\u00E9b"), QByteArray("a?b"));     // é is not in 1251
    QCOMPARE(Cp1251::encode(u"x\U0001F600y"), QByteArray("x?y")); // one '?' for a pair
    QCOMPARE(Cp1251::encode(u"\u0081"), QByteArray("?"));         // only 0x98 is a C1 pass-through
    QVERIFY(!Cp1251::toByte(QChar(0x0081)).has_value());
}

void TestCp1251::canEncode()
{
    QVERIFY(Cp1251::canEncode(u"Ёлка № 5 — «ok»"));
    QVERIFY(!Cp1251::canEncode(u"ĳ"));
}

QTEST_GUILESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
