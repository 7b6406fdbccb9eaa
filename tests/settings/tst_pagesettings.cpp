// The settings pages' logic without their windows: what each page shows for a file.
#include "core/programfolder.h"
#include "settings/autologinsettings.h"
#include "settings/connectionsettings.h"
#include "settings/soundsettings.h"
#include "support/programhome.h"

#include <QTest>

#include <memory>

class TestPageSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void connectionShown_data();
    void connectionShown();
    void autoLoginShown_data();
    void autoLoginShown();
    void soundsShown_data();
    void soundsShown();

private:
    std::unique_ptr<ProgramHome> m_home;
};

void TestPageSettings::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void TestPageSettings::cleanup()
{
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestPageSettings::connectionShown_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("boxes"); // AutoRun, AutoUpdate, HideTray, ReConnect
    QTest::newRow("no file") << "" << "" << "5190" << "5" << "0000";
    QTest::newRow("stored") << "Server=a.b\r\nPort=6000\r\nAutoRun=1\r\nAutoUpdate=0\r\nHideTray=1\r\nReConnect=1\r\n"
                               "IntervalConnect=7\r\nAI=1\r\n"
                            << "a.b" << "6000" << "7" << "1011";
    // Another key's text never stands for the key.
    QTest::newRow("lower-case key") << "server=x\r\nPlaySounds=1\r\n" << "" << "5190" << "5" << "0000";
    QTest::newRow("value holding =") << "Server=a=b\r\n" << "a=b" << "5190" << "5" << "0000";
    QTest::newRow("empty values") << "Server=\r\nPort=\r\nIntervalConnect=\r\n" << "" << "" << "" << "0000";
}

void TestPageSettings::connectionShown()
{
    QFETCH(QString, file);
    QFETCH(QString, server);
    QFETCH(QString, port);
    QFETCH(QString, interval);
    QFETCH(QString, boxes);
    const ConnectionSettings::Values values = ConnectionSettings::fromSettings(Settings::fromText(file));
    QCOMPARE(values.server, server);
    QCOMPARE(values.port, port);
    QCOMPARE(values.interval, interval);
    const QString shown = QStringLiteral("%1%2%3%4")
                              .arg(int(values.autoRun))
                              .arg(int(values.autoUpdate))
                              .arg(int(values.hideTray))
                              .arg(int(values.reconnect));
    QCOMPARE(shown, boxes);
}

void TestPageSettings::autoLoginShown_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("autoEnter");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::newRow("no file") << "" << false << "" << "";
    QTest::newRow("stored") << "AutoEnter=1\r\nAutoICQNumber=18930041.18\r\nAutoPassword=01130099011601170050\r\n"
                            << true << "123456789" << "pass1";
    QTest::newRow("comma") << "AutoICQNumber=18930041,18\r\n" << false << "123456789" << "";
    QTest::newRow("unreadable number") << "AutoEnter=1\r\nAutoICQNumber=abc\r\nAutoPassword=0113\r\n" << true << ""
                                       << "p";
    QTest::newRow("trailing digits") << "AutoPassword=0113009901\r\n" << false << "" << "pa";
}

void TestPageSettings::autoLoginShown()
{
    QFETCH(QString, file);
    QFETCH(bool, autoEnter);
    QFETCH(QString, number);
    QFETCH(QString, password);
    const AutoLoginSettings::Values values = AutoLoginSettings::fromSettings(Settings::fromText(file));
    QCOMPARE(values.autoEnter, autoEnter);
    QCOMPARE(values.number, number);
    QCOMPARE(values.password, password);
}

void TestPageSettings::soundsShown_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("soundsOff");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("startup");
    const QString message = QStringLiteral("<home>/Sounds/sndMsg.wav");
    const QString startup = QStringLiteral("<home>/Sounds/sndStartup.wav");
    QTest::newRow("no file") << "" << false << message << startup;
    QTest::newRow("stored") << "PlaySounds=1\r\nPlaySoundsOpov=/a.wav\r\nPlaySoundsHello=/b.wav\r\n" << true << "/a.wav"
                            << "/b.wav";
    QTest::newRow("empty values") << "PlaySounds=0\r\nPlaySoundsOpov=\r\nPlaySoundsHello=\r\n" << false << message
                                  << startup;
    // The sounds-off line standing after the two paths is still the sounds-off line.
    QTest::newRow("order") << "PlaySoundsOpov=/a.wav\r\nPlaySoundsHello=/b.wav\r\nPlaySounds=1\r\n" << true
                           << "/a.wav" << "/b.wav";
}

void TestPageSettings::soundsShown()
{
    QFETCH(QString, file);
    QFETCH(bool, soundsOff);
    QFETCH(QString, message);
    QFETCH(QString, startup);
    message.replace(QStringLiteral("<home>"), m_home->path());
    startup.replace(QStringLiteral("<home>"), m_home->path());
    const SoundSettings::Values values = SoundSettings::fromSettings(Settings::fromText(file));
    QCOMPARE(values.soundsOff, soundsOff);
    QCOMPARE(values.messageSound, message);
    QCOMPARE(values.startupSound, startup);
}

QTEST_MAIN(TestPageSettings)
#include "tst_pagesettings.moc"
