// The general settings read at start: the lines in order and the stored login.
#include "files/storedlogin.h"
#include "mainwindow/settingsload.h"

#include <QTest>

using namespace SettingsLoad;

class tst_SettingsLoad : public QObject
{
    Q_OBJECT

private slots:
    void effectsRunAsTheLinesAreRead_data();
    void effectsRunAsTheLinesAreRead();
    void lastLineOfAKeyDecides();
    void emptyTextAppliesNothing();
    void storedLoginDecodes_data();
    void storedLoginDecodes();
};

void tst_SettingsLoad::effectsRunAsTheLinesAreRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("effects");

    QTest::newRow("sound on, then update") << "PlaySounds=0\r\nAutoUpdate=1\r\n"
                                           << QStringList{"sound", "update"};
    QTest::newRow("update first") << "AutoUpdate= 1 \r\nPlaySounds=0\r\n" << QStringList{"update", "sound"};
    QTest::newRow("sounds off") << "PlaySounds=1\r\nAutoUpdate=0\r\n" << QStringList{};
    QTest::newRow("no PlaySounds") << "Server=x\r\n" << QStringList{};
    QTest::newRow("each line runs") << "AutoUpdate=1\r\nAutoUpdate=1\r\n" << QStringList{"update", "update"};
    QTest::newRow("blank key is another key") << " PlaySounds=0\r\n" << QStringList{};
}

void tst_SettingsLoad::effectsRunAsTheLinesAreRead()
{
    QFETCH(QString, text);
    QFETCH(QStringList, effects);
    QStringList ran;
    Effects hooks;
    hooks.playStartupSound = [&ran] { ran << QStringLiteral("sound"); };
    hooks.checkForUpdate = [&ran] { ran << QStringLiteral("update"); };
    QVERIFY(read(text, hooks));
    QCOMPARE(ran, effects);
}

void tst_SettingsLoad::lastLineOfAKeyDecides()
{
    const std::optional<Loaded> loaded =
        read(QStringLiteral("SaveStatus=1\r\n\r\nAutoEnter\r\nSaveRejim=3\r\nSaveStatus=\r\nAutoEnter=1\r\n"
                            "AutoEnter=x\r\nAutoICQNumber=a=b\r\nReConnect=1\r\nIntervalConnect=10"));
    QVERIFY(loaded);
    QCOMPARE(loaded->saveStatus, std::optional<bool>(false));
    QCOMPARE(loaded->saveRejim, std::optional<QString>(QStringLiteral("3")));
    // A value that is not a byte leaves the earlier one.
    QCOMPARE(loaded->autoEnter, std::optional<quint8>(1));
    QCOMPARE(loaded->autoICQNumber, std::optional<QString>(QStringLiteral("a=b")));
    QVERIFY(!loaded->autoPassword);
}

void tst_SettingsLoad::emptyTextAppliesNothing()
{
    bool ran = false;
    QVERIFY(!read(QString(), {[&ran] { ran = true; }, [&ran] { ran = true; }}));
    QVERIFY(!ran);
}

void tst_SettingsLoad::storedLoginDecodes_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("decodes");
    QTest::addColumn<int>("uin");
    QTest::addColumn<QString>("plain");

    QTest::newRow("point") << "18930041.18"
                           << "01130099011601170050" << true << 123456789 << "pass1";
    QTest::newRow("comma") << "18930041,18"
                           << "" << true << 123456789 << "";
    QTest::newRow("seven digits") << "18930041.18"
                                  << "0113009" << true << 123456789 << "p";
    QTest::newRow("cyrillic") << "18930041.18"
                              << "0256" << true << 123456789 << "я";
    QTest::newRow("missing number") << ""
                                    << "0113" << false << 0 << "";
    QTest::newRow("text") << "abc"
                          << "0113" << false << 0 << "";
}

void tst_SettingsLoad::storedLoginDecodes()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(bool, decodes);
    const std::optional<StoredLogin::Credentials> login = StoredLogin::decode(number, password);
    QCOMPARE(login.has_value(), decodes);
    if (decodes) {
        QTEST(int(login->uin), "uin");
        QTEST(login->password, "plain");
    }
}

QTEST_GUILESS_MAIN(tst_SettingsLoad)
#include "tst_settingsload.moc"
