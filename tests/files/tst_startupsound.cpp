// Which file the start-up, login and new-message sounds play: one rule for every caller.
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/startupsound.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestStartupSound : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void file_data();
    void file();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestStartupSound::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    ProgramFolder::setHome(m_home->path());
    QVERIFY(TextFile::writeBytes(QStringLiteral("\\Sounds\\мой.wav"), "RIFF"));
}

void TestStartupSound::cleanup()
{
    m_home.reset();
}

void TestStartupSound::file_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("startup"); // relative to the program folder; "" for silence
    QTest::addColumn<QString>("message");
    QTest::newRow("no settings: silent") << "" << "" << "";
    QTest::newRow("sounds off") << "PlaySounds=1\r\nPlaySoundsHello=\\Sounds\\мой.wav\r\n" << "" << "";
    QTest::newRow("defaults") << "PlaySounds=0\r\n"
                              << "/Sounds/sndStartup.wav" << "/Sounds/sndMsg.wav";
    QTest::newRow("empty values: defaults") << "PlaySounds=0\r\nPlaySoundsOpov=\r\nPlaySoundsHello=\r\n"
                                            << "/Sounds/sndStartup.wav" << "/Sounds/sndMsg.wav";
    QTest::newRow("chosen program path") << "PlaySounds=0\r\nPlaySoundsHello=\\Sounds\\мой.wav\r\n"
                                         << "/Sounds/мой.wav" << "/Sounds/sndMsg.wav";
    QTest::newRow("chosen file missing: default")
        << "PlaySounds=0\r\nPlaySoundsOpov=\\Sounds\\нет.wav\r\nPlaySoundsHello=C:\\Звуки\\нет.wav\r\n"
        << "/Sounds/sndStartup.wav" << "/Sounds/sndMsg.wav";
    QTest::newRow("new-message sound chosen") << "PlaySounds=0\r\nPlaySoundsOpov=\\Sounds\\мой.wav\r\n"
                                              << "/Sounds/sndStartup.wav" << "/Sounds/мой.wav";
}

void TestStartupSound::file()
{
    QFETCH(QString, settings);
    QFETCH(QString, startup);
    QFETCH(QString, message);
    if (!settings.isEmpty())
        QVERIFY(TextFile::writeAll(GeneralSettings::FilePath, settings));
    const Settings read = Settings::read();
    const auto expected = [this](const QString &relative) {
        return relative.isEmpty() ? QString() : m_home->path() + relative;
    };
    QCOMPARE(StartupSound::file(read), expected(startup));
    QCOMPARE(StartupSound::messageFile(read), expected(message));
}

QTEST_GUILESS_MAIN(TestStartupSound)
#include "tst_startupsound.moc"
