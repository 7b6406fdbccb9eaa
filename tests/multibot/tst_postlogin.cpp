// What follows each sign-on, and the saved status it arms, without a server. Every test
// runs in a fresh program folder.
#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "platform/recordingsound.h"
#include "session/connectionlog.h"
#include "session/icqsession.h"
#include "session/postlogin.h"
#include "session/savedstatus.h"
#include "support/programhome.h"

#include <QTest>

class tst_PostLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void actionsAfterEachSignOn_data();
    void actionsAfterEachSignOn();
    void connectionLogNewestFirst();
    void hideOnlyOnce();
    void loginSound_data();
    void loginSound();
    void statusToRestore_data();
    void statusToRestore();
    void restoreTickRunsOnce();

private:
    PostLoginActions makeActions();

    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<TimerRegistry> m_timers;
    RecordingSound m_sound;
    FixedClock m_clock;
    QStringList m_calls;
};

void tst_PostLogin::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_timers = std::make_unique<TimerRegistry>();
    for (const auto &[name, interval] : {std::pair{"rasperd", 20000}, {"timer_chat", 60000}, {"Timer9", 200}})
        m_timers->add(QLatin1String(name), interval);
    m_sound.played.clear();
    Sound::setInstance(&m_sound);
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
    m_calls.clear();
}

void tst_PostLogin::cleanup()
{
    Clock::setInstance(nullptr);
    Sound::setInstance(nullptr);
    m_timers.reset();
    m_dir.reset();
}

PostLoginActions tst_PostLogin::makeActions()
{
    PostLoginView view;
    view.hideLoginWindow = [this] { m_calls.append(QStringLiteral("hide login")); };
    view.showConnected = [this] { m_calls.append(QStringLiteral("connected")); };
    view.setStatusText = [this](const QString &text) { m_calls.append(text); };
    view.hideWindows = [this] { m_calls.append(QStringLiteral("to tray")); };
    return PostLoginActions(*m_timers, view);
}

void tst_PostLogin::actionsAfterEachSignOn_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("mainSignedOn");
    QTest::addColumn<bool>("releaseTimer");
    QTest::addColumn<QStringList>("calls");
    const QStringList online{"hide login", "connected", "Статус бота: онлайн"};
    QTest::newRow("main bot") << 1 << false << false << online;
    QTest::newRow("first secondary bot") << 2 << true << true << online;
    QTest::newRow("secondary bot on another slot") << 5 << true << true << online;
    // The main bot is down: a secondary bot's sign-on does not show the bot online.
    QTest::newRow("secondary bot, main bot down") << 2 << false << true << QStringList{"hide login"};
}

void tst_PostLogin::actionsAfterEachSignOn()
{
    QFETCH(int, slot);
    QFETCH(bool, mainSignedOn);
    QFETCH(bool, releaseTimer);
    QFETCH(QStringList, calls);
    PostLoginView view;
    view.hideLoginWindow = [this] { m_calls.append(QStringLiteral("hide login")); };
    view.showConnected = [this] { m_calls.append(QStringLiteral("connected")); };
    view.setStatusText = [this](const QString &text) { m_calls.append(text); };
    view.mainSignedOn = [mainSignedOn] { return mainSignedOn; };
    PostLoginActions(*m_timers, view).run(slot);

    QCOMPARE(m_calls, calls);
    QCOMPARE(m_timers->timer(QStringLiteral("timer_chat"))->isEnabled(), releaseTimer);
    QVERIFY(m_timers->timer(QStringLiteral("rasperd"))->isEnabled());
    QCOMPARE(m_timers->timer(QStringLiteral("rasperd"))->interval(), 100);
    QVERIFY(m_timers->timer(QStringLiteral("Timer9"))->isEnabled());
    QCOMPARE(m_timers->timer(QStringLiteral("Timer9"))->interval(), 200);
}

void tst_PostLogin::connectionLogNewestFirst()
{
    PostLoginActions actions = makeActions();
    actions.run(1);
    m_clock.advanceSecs(2);
    actions.run(2);
    QCOMPARE(ConnectionLog::filePath(), QStringLiteral("\\Логи\\10.12.2026.txt"));
    QCOMPARE(TextFile::readAll(ConnectionLog::filePath()),
             QStringLiteral("10.12.2026 - 9:05:09 - Вы подключились к серверу.\r\n"
                            "10.12.2026 - 9:05:07 - Вы подключились к серверу.\r\n\r\n\r\n"));
}

void tst_PostLogin::hideOnlyOnce()
{
    PostLoginActions actions = makeActions();
    actions.setHideAfterLogin(true);
    actions.run(1);
    actions.run(2);
    QCOMPARE(m_calls.count(QStringLiteral("to tray")), 1);
    QVERIFY(!actions.hideAfterLogin());
}

void tst_PostLogin::loginSound_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("played");
    QTest::newRow("sounds on, default")
        << QStringList{"PlaySounds=0", "PlaySoundsHello="} << QStringLiteral("default");
    QTest::newRow("sounds on, own file")
        << QStringList{"PlaySounds=0", "PlaySoundsHello=\\Sounds\\hello.wav"} << QStringLiteral("own");
    // The same rule as the start-up's and the engine's: a chosen file that is not there
    // plays the default.
    QTest::newRow("sounds on, own file missing")
        << QStringList{"PlaySounds=0", "PlaySoundsHello=/nowhere/hello.wav"} << QStringLiteral("default");
    QTest::newRow("sounds off") << QStringList{"PlaySounds=1"} << QString();
    QTest::newRow("no key") << QStringList{"AI=1"} << QString();
}

void tst_PostLogin::loginSound()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, played);
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, settings));
    QVERIFY(TextFile::writeBytes(QStringLiteral("\\Sounds\\hello.wav"), "RIFF"));
    makeActions().run(1);
    if (played == QLatin1String("default"))
        played = ProgramFolder::path(QStringLiteral("\\Sounds\\sndStartup.wav"));
    else if (played == QLatin1String("own"))
        played = ProgramFolder::path(QStringLiteral("\\Sounds\\hello.wav"));
    QCOMPARE(m_sound.played, played.isEmpty() ? QStringList{} : QStringList{played});
}

void tst_PostLogin::statusToRestore_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("code");
    QTest::newRow("occupied") << QStringList{"SaveStatus=1", "SaveStatusMade=2"} << 2;
    QTest::newRow("invisible, blanks") << QStringList{"SaveStatus= 1 ", "SaveStatusMade=3"} << 3;
    QTest::newRow("remembering off") << QStringList{"SaveStatus=0", "SaveStatusMade=2"} << 0;
    QTest::newRow("no switch") << QStringList{"SaveStatusMade=2"} << 0;
    QTest::newRow("no status chosen") << QStringList{"SaveStatus=1", "SaveStatusMade=0"} << 0;
    QTest::newRow("last line decides")
        << QStringList{"SaveStatus=1", "SaveStatusMade=2", "SaveStatusMade=1"} << 1;
    QTest::newRow("status not a number") << QStringList{"SaveStatus=1", "SaveStatusMade=x"} << 0;
}

void tst_PostLogin::statusToRestore()
{
    QFETCH(QStringList, settings);
    QFETCH(int, code);
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, settings));
    QCOMPARE(SavedStatus::statusToRestore(), code);
}

void tst_PostLogin::restoreTickRunsOnce()
{
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, {"SaveStatus=1", "SaveStatusMade=3"}));
    IcqSession session;
    QList<int> restored;
    SavedStatus saved(session, *m_timers, [&restored](int code) { restored.append(code); });
    m_timers->timer(QStringLiteral("Timer9"))->setEnabled(true);
    saved.timer9Tick();
    QCOMPARE(restored, QList<int>{3});
    QVERIFY(!m_timers->timer(QStringLiteral("Timer9"))->isEnabled());
}

QTEST_GUILESS_MAIN(tst_PostLogin)
#include "tst_postlogin.moc"
