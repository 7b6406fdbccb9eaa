#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/storedlogin.h"

#include <QFile>
#include <QTemporaryDir>

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
    void unscramblePasswordKeepsWhatSurvives_data();
    void unscramblePasswordKeepsWhatSurvives();
    void decode_data();
    void decode();
    void files_data();
    void files();
    void writersRoundTrip();
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
    QCOMPARE(UnscramblePassword(scrambled), password);
}

void TestStoredLogin::unscramblePasswordKeepsWhatSurvives_data()
{
    QTest::addColumn<QString>("scrambled");
    QTest::addColumn<QString>("password");
    // One decoder for every reader: a damaged value gives every character that survives.
    QTest::newRow("seven digits") << "0113009" << "p";
    QTest::newRow("short last group") << "00980100010" << "ab";
    QTest::newRow("not digits") << "01a3" << "";
    QTest::newRow("bad group in the middle") << "00980x000100" << "ac";
    QTest::newRow("below the code page") << "0000" << "";
    QTest::newRow("even group below the code page") << "01130001" << "p";
    QTest::newRow("above the code page") << "0257" << "";
    QTest::newRow("empty") << "" << "";
}

void TestStoredLogin::unscramblePasswordKeepsWhatSurvives()
{
    QFETCH(QString, scrambled);
    QFETCH(QString, password);
    QCOMPARE(UnscramblePassword(scrambled), password);
}

void TestStoredLogin::decode_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("decodes");
    QTest::addColumn<int>("uin");
    QTest::addColumn<QString>("plain");
    QTest::newRow("point") << "18930041.18" << "01130099011601170050" << true << 123456789 << "pass1";
    QTest::newRow("comma") << "18930041,18" << "" << true << 123456789 << "";
    QTest::newRow("largest 32-bit number") << ScrambleNumber(2147483647.0) << "0113" << true << 2147483647
                                           << "p";
    QTest::newRow("beyond 32 bits") << ScrambleNumber(4294967295.0) << "0113" << false << 0 << "";
    QTest::newRow("missing number") << "" << "0113" << false << 0 << "";
    QTest::newRow("text") << "abc" << "0113" << false << 0 << "";
}

void TestStoredLogin::decode()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(bool, decodes);
    const std::optional<Credentials> login = StoredLogin::decode(number, password);
    QCOMPARE(login.has_value(), decodes);
    if (decodes) {
        QTEST(int(login->uin), "uin");
        QTEST(login->password, "plain");
    }
}

void TestStoredLogin::files_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("remembered");
    QTest::addColumn<bool>("storedUsed");
    QTest::addColumn<int>("uin");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("rememberedUsed");
    QTest::newRow("stored on") << QByteArray("1\r\n18930041.18\r\n009801000100\r\n") << QByteArray()
                               << true << 123456789 << "abc" << false;
    QTest::newRow("stored with blanks") << QByteArray(" 1 \r\n18930041.18\r\n0098\r\n") << QByteArray()
                                        << true << 123456789 << "a" << false;
    QTest::newRow("stored off") << QByteArray("0\r\n18930041.18\r\n0098\r\n") << QByteArray() << false << 0
                                << "" << false;
    QTest::newRow("stored number undecodable") << QByteArray("1\r\nx\r\n0098\r\n") << QByteArray() << true
                                               << -1 << "a" << false;
    QTest::newRow("remembered") << QByteArray() << QByteArray("111\r\npw\r\n") << false << 0 << ""
                                << true;
    QTest::newRow("remembered without password") << QByteArray() << QByteArray("111\r\n\r\n") << false << 0
                                                 << "" << false;
}

void TestStoredLogin::files()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, remembered);
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    if (!stored.isEmpty())
        QVERIFY(TextFile::writeBytes(StoredLogin::FilePath, stored));
    if (!remembered.isEmpty())
        QVERIFY(TextFile::writeBytes(RememberedLogin::FilePath, remembered));

    const std::optional<FileLogin> login = readFile();
    QTEST(login.has_value(), "storedUsed");
    if (login) {
        QFETCH(int, uin);
        QCOMPARE(login->uin.value_or(-1), uin);
        QTEST(login->password, "password");
    }
    QTEST(RememberedLogin::read().has_value(), "rememberedUsed");
}

void TestStoredLogin::writersRoundTrip()
{
    QTemporaryDir home;
    ProgramFolder::setHome(home.path());
    QVERIFY(writeSettings(true, "123456789", "пароль"));
    const Settings settings = Settings::read();
    QVERIFY(settings.autoEnter());
    const std::optional<Credentials> login = fromSettings(settings);
    QVERIFY(login);
    QCOMPARE(login->uin, 123456789);
    QCOMPARE(login->password, QStringLiteral("пароль"));
    // A box that holds no number stores an empty number: nothing logs in.
    QVERIFY(writeSettings(false, "abc", "x"));
    QVERIFY(!fromSettings(Settings::read()));
    QCOMPARE(Settings::read().autoICQNumber(), QString());

    QVERIFY(RememberedLogin::write("111", "pw"));
    QCOMPARE(TextFile::readBytes(RememberedLogin::FilePath), QByteArray("111\r\npw\r\n"));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(TextFile::filePath(RememberedLogin::FilePath)) & others,
             QFileDevice::Permissions());
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
        QCOMPARE(UnscramblePassword(scrambled), password);
    }
}

QTEST_GUILESS_MAIN(TestStoredLogin)
#include "tst_storedlogin.moc"
