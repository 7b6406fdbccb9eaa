#include "core/cp1251.h"
#include "settings/storedlogin.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<qint64>)
Q_DECLARE_METATYPE(std::optional<QString>)

using namespace StoredLogin;

class TestStoredLogin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scrambleNumber_data();
    void scrambleNumber();
    void unscrambleNumber_data();
    void unscrambleNumber();
    void numberRoundTrip_data();
    void numberRoundTrip();
    void scramblePassword_data();
    void scramblePassword();
    void unscramblePasswordRefuses_data();
    void unscramblePasswordRefuses();
    void everyCodePageCharacterRoundTrips();
};

void TestStoredLogin::scrambleNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::optional<QString>>("scrambled");
    QTest::newRow("nine digits") << "123456789" << std::optional<QString>("18930041.18");
    QTest::newRow("one") << "1" << std::optional<QString>("0.353333333333333");
    QTest::newRow("zero") << "0" << std::optional<QString>("0.2");
    QTest::newRow("blanks around") << " 123456789 " << std::optional<QString>("18930041.18");
    QTest::newRow("empty") << "" << std::optional<QString>();
    QTest::newRow("letters") << "12a" << std::optional<QString>();
}

void TestStoredLogin::scrambleNumber()
{
    QFETCH(QString, typed);
    QFETCH(std::optional<QString>, scrambled);
    QCOMPARE(ScrambleNumber(typed), scrambled);
}

void TestStoredLogin::unscrambleNumber_data()
{
    QTest::addColumn<QString>("scrambled");
    QTest::addColumn<std::optional<qint64>>("number");
    QTest::newRow("point") << "18930041.18" << std::optional<qint64>(123456789);
    QTest::newRow("comma") << "18930041,18" << std::optional<qint64>(123456789);
    QTest::newRow("zero") << "0.2" << std::optional<qint64>(0);
    QTest::newRow("empty") << "" << std::optional<qint64>();
    QTest::newRow("letters") << "abc" << std::optional<qint64>();
    QTest::newRow("two separators") << "1.2.3" << std::optional<qint64>();
    QTest::newRow("beyond 64 bits") << "1E300" << std::optional<qint64>();
}

void TestStoredLogin::unscrambleNumber()
{
    QFETCH(QString, scrambled);
    QFETCH(std::optional<qint64>, number);
    QCOMPARE(UnscrambleNumber(scrambled), number);
}

void TestStoredLogin::numberRoundTrip_data()
{
    QTest::addColumn<qint64>("number");
    for (const qint64 number : {qint64(1), qint64(10000), qint64(123456789), qint64(999999999),
                                qint64(2147483647), qint64(4294967295)})
        QTest::newRow(qPrintable(QString::number(number))) << number;
}

void TestStoredLogin::numberRoundTrip()
{
    QFETCH(qint64, number);
    QCOMPARE(UnscrambleNumber(ScrambleNumber(double(number))), std::optional<qint64>(number));
}

void TestStoredLogin::scramblePassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("scrambled");
    QTest::newRow("pass1") << "pass1"
                           << "01130099011601170050";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("three characters") << "abc"
                                      << "009801000100";
    // Cyrillic by its Windows-1251 code: я is 255, 255 + 1 = 256; ж is 230, 230 + 2 = 232.
    QTest::newRow("cyrillic") << "яж"
                              << "02560232";
    // Control characters keep four digits, so the groups stay whole.
    QTest::newRow("control character") << QString(QChar(1)) << "0002";
    QTest::newRow("blank") << " x"
                           << "00330122";
}

void TestStoredLogin::scramblePassword()
{
    QFETCH(QString, password);
    QFETCH(QString, scrambled);
    QCOMPARE(ScramblePassword(password), scrambled);
    QCOMPARE(UnscramblePassword(scrambled), std::optional<QString>(password));
}

void TestStoredLogin::unscramblePasswordRefuses_data()
{
    QTest::addColumn<QString>("scrambled");
    QTest::newRow("seven digits") << "0113009";
    QTest::newRow("not digits") << "01a3";
    QTest::newRow("sign") << "+113";
    QTest::newRow("below the code page") << "0000";
    QTest::newRow("even group below the code page") << "01130001";
    QTest::newRow("above the code page") << "0257";
}

void TestStoredLogin::unscramblePasswordRefuses()
{
    QFETCH(QString, scrambled);
    QCOMPARE(UnscramblePassword(scrambled), std::optional<QString>());
}

void TestStoredLogin::everyCodePageCharacterRoundTrips()
{
    QByteArray bytes;
    for (int code = 0; code < 256; ++code)
        bytes.append(char(code));
    const QString all = Cp1251::decode(bytes);
    // Each character once at an odd position and once at an even one.
    for (const QString &password : {all, QStringLiteral("x") + all}) {
        const QString scrambled = ScramblePassword(password);
        QCOMPARE(scrambled.size(), password.size() * 4);
        QCOMPARE(UnscramblePassword(scrambled), std::optional<QString>(password));
    }
}

QTEST_GUILESS_MAIN(TestStoredLogin)
#include "tst_storedlogin.moc"
