// The reconnect watchdog without a server: when it probes, and what a lost probe leads
// to under each setting. Every test runs in a fresh program folder.
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "platform/recordingdialogs.h"
#include "session/botpresence.h"
#include "files/distributionlist.h"
#include "session/icqsession.h"
#include "session/watchdog.h"
#include "support/programhome.h"

#include <QSignalSpy>
#include <QTimer>
#include <QTest>

namespace {

const QString StoredNumber = VbValues::numberText((111111 * 23.0 / 3 + 10) / 50);
// "botpass" scrambled: code + 1 at odd places, + 2 at even ones.
const QString StoredPassword = QStringLiteral("0099011301170114009801170116");

} // namespace

class tst_Watchdog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void intervalFromSettings_data();
    void intervalFromSettings();
    void probeEveryIntervalOnly();
    void minuteCountStopsAtTheTop();
    void lostProbe_data();
    void lostProbe();
    void returnedProbeChangesNothing();
    void suspendedUntilNextSignOn();
    void lostBotsLogInAgain_data();
    void lostBotsLogInAgain();
    void quickDropsWaitLonger();
    void outageAfterEarlierDropsCostsNoWait();

private:
    // A bot dropped by the server, logged in again with its credentials and signed on.
    void writeLogins();
    QString relogin(int slot) const;

    FixedClock m_clock;
    std::unique_ptr<ProgramHome> m_dir;
    RecordingDialogs m_dialogs;
    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<BotPresence> m_presence;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<ReconnectWatchdog> m_watchdog;
    QStringList m_relogins;
};

void tst_Watchdog::init()
{
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    Clock::setInstance(&m_clock);
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs.shown.clear();
    Dialogs::setInstance(&m_dialogs);
    m_session = std::make_unique<IcqSession>();
    m_presence = std::make_unique<BotPresence>(*m_session);
    m_timers = std::make_unique<TimerRegistry>();
    m_timers->add(QStringLiteral("perepodk"), 60000);
    m_timers->add(QStringLiteral("perepodk1"), 30000);
    m_watchdog = std::make_unique<ReconnectWatchdog>(*m_session, *m_presence, *m_timers);
    m_relogins.clear();
    m_watchdog->setRelogin([this](int slot, const Credentials &credentials) {
        m_relogins.append((slot == 1 ? QString() : QStringLiteral("%1:").arg(slot)) + credentials.number +
                          QLatin1Char('/') + credentials.password);
    });
}

void tst_Watchdog::cleanup()
{
    m_watchdog.reset();
    m_timers.reset();
    m_presence.reset();
    m_session.reset();
    Dialogs::setInstance(nullptr);
    Clock::setInstance(nullptr);
    m_dir.reset();
}

void tst_Watchdog::writeLogins()
{
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, {"AutoEnter=1", "AutoICQNumber=" + StoredNumber,
                                                             "AutoPassword=" + StoredPassword}));
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw 0", "3 333333 pw3 0"}));
}

QString tst_Watchdog::relogin(int slot) const
{
    return slot == 1 ? QStringLiteral("111111/botpass")
                     : slot == 2 ? QStringLiteral("2:222222/pw") : QStringLiteral("3:333333/pw3");
}

void tst_Watchdog::intervalFromSettings_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("minutes");
    QTest::newRow("no file") << QStringList{} << 0;
    QTest::newRow("reconnect off") << QStringList{"ReConnect=0", "IntervalConnect=3"} << 0;
    QTest::newRow("reconnect on") << QStringList{"ReConnect=1", "IntervalConnect=3"} << 3;
    QTest::newRow("interval not positive") << QStringList{"ReConnect=1", "IntervalConnect=0"} << 5;
    QTest::newRow("interval not a number") << QStringList{"ReConnect=1", "IntervalConnect=abc"} << 5;
    QTest::newRow("later line wins") << QStringList{"ReConnect=1", "IntervalConnect=3", "ReConnect=0"} << 0;
}

void tst_Watchdog::intervalFromSettings()
{
    QFETCH(QStringList, settings);
    QFETCH(int, minutes);
    if (!settings.isEmpty())
        QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, settings));
    QCOMPARE(ReconnectWatchdog::intervalFromSettings(), minutes);
}

void tst_Watchdog::probeEveryIntervalOnly()
{
    QSignalSpy probes(m_watchdog.get(), &ReconnectWatchdog::probeSent);
    // Off: no probe however long it runs.
    for (int n = 0; n < 100; ++n)
        m_watchdog->perepodkTick();
    QCOMPARE(probes.size(), 0);

    m_watchdog = std::make_unique<ReconnectWatchdog>(*m_session, *m_presence, *m_timers);
    QSignalSpy every3(m_watchdog.get(), &ReconnectWatchdog::probeSent);
    QSignalSpy traces(m_session.get(), &IcqSession::traced);
    m_watchdog->setReconnectInterval(3);
    for (int n = 1; n <= 9; ++n) {
        m_watchdog->perepodkTick();
        QCOMPARE(every3.size(), n / 3);
    }
    QVERIFY(m_timers->timer(QStringLiteral("perepodk1"))->isEnabled());
    QVERIFY(!m_session->ProbeReturned());
    // Every probe was meant for the main bot's connection (none is open here).
    QStringList meantFor;
    for (const QList<QVariant> &trace : traces) {
        if (trace.first().toString().contains(QLatin1String("no session connection")))
            meantFor.append(trace.first().toString());
    }
    QCOMPARE(meantFor, QStringList(3, QStringLiteral("slot 1 has no session connection; nothing sent")));
}

void tst_Watchdog::minuteCountStopsAtTheTop()
{
    for (int n = 0; n < 32800; ++n)
        m_watchdog->perepodkTick();
    QCOMPARE(m_watchdog->ReconnectMinuteCount(), 32767);
}

void tst_Watchdog::lostProbe_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<bool>("distributionList");
    QTest::addColumn<bool>("agreement");
    QTest::addColumn<QStringList>("relogins");
    QTest::addColumn<bool>("box");

    const QStringList stored = {"AutoEnter=1", "AutoICQNumber=" + StoredNumber,
                                "AutoPassword=" + StoredPassword};
    QTest::newRow("stored login") << stored << true << true << QStringList{"111111/botpass"} << false;
    QTest::newRow("auto-login off") << QStringList{"AutoEnter=0", stored.at(1), stored.at(2)} << true << true
                                    << QStringList{} << false;
    QTest::newRow("no settings file") << QStringList{} << true << true << QStringList{} << false;
    QTest::newRow("number does not decode") << QStringList{"AutoEnter=1", "AutoICQNumber=x", stored.at(2)}
                                            << true << true << QStringList{} << false;
    QTest::newRow("agreement not accepted") << stored << true << false << QStringList{} << false;
    QTest::newRow("empty distribution list") << stored << false << true << QStringList{} << true;
}

void tst_Watchdog::lostProbe()
{
    QFETCH(QStringList, settings);
    QFETCH(bool, distributionList);
    QFETCH(bool, agreement);
    QFETCH(QStringList, relogins);
    QFETCH(bool, box);
    if (!settings.isEmpty())
        QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, settings));
    if (distributionList)
        QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw 0"}));
    m_watchdog->setAgreementCheck([agreement] { return agreement; });
    QSignalSpy lost(m_watchdog.get(), &ReconnectWatchdog::connectionLost);
    QSignalSpy page(m_watchdog.get(), &ReconnectWatchdog::distributionPageRequested);

    m_watchdog->setReconnectInterval(1);
    m_watchdog->perepodkTick();
    m_watchdog->perepodk1Tick();

    QCOMPARE(lost.size(), 1);
    QVERIFY(m_session->ProbeReturned());
    QVERIFY(!m_timers->timer(QStringLiteral("perepodk1"))->isEnabled());
    QCOMPARE(m_relogins, relogins);
    QCOMPARE(page.size(), box ? 1 : 0);
    QCOMPARE(m_dialogs.shown.size(), box ? 1 : 0);
    if (box) {
        QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Notify);
        QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Ощибка"));
        QCOMPARE(m_dialogs.shown.first().text, ReconnectWatchdog::DistributionText);
    }
    if (!relogins.isEmpty()) {
        QCOMPARE(m_session->MainUin(), 111111);
        QCOMPARE(m_session->MainPassword(), QStringLiteral("botpass"));
    }
}

void tst_Watchdog::returnedProbeChangesNothing()
{
    QSignalSpy lost(m_watchdog.get(), &ReconnectWatchdog::connectionLost);
    m_watchdog->setReconnectInterval(1);
    m_watchdog->perepodkTick();
    m_session->setProbeReturned(true);
    m_watchdog->perepodk1Tick();
    QCOMPARE(lost.size(), 0);
    QVERIFY(!m_timers->timer(QStringLiteral("perepodk1"))->isEnabled());
}

void tst_Watchdog::suspendedUntilNextSignOn()
{
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, {"AutoEnter=1", "AutoICQNumber=" + StoredNumber,
                                                             "AutoPassword=" + StoredPassword}));
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw 0"}));
    QSignalSpy probes(m_watchdog.get(), &ReconnectWatchdog::probeSent);
    m_watchdog->setReconnectInterval(1);
    m_watchdog->suspend();
    m_watchdog->perepodkTick();
    m_watchdog->perepodk1Tick();
    QCOMPARE(probes.size(), 0);
    QVERIFY(m_relogins.isEmpty());

    m_watchdog->noteSignedOn(2);
    m_watchdog->perepodkTick();
    m_watchdog->perepodk1Tick();
    QCOMPARE(probes.size(), 1);
    QCOMPARE(m_relogins, QStringList{"111111/botpass"});
}

void tst_Watchdog::lostBotsLogInAgain_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("event"); // "lost", "lost, another client" or "failed"
    QTest::addColumn<QStringList>("atOnce");
    QTest::addColumn<QStringList>("afterTick");
    QTest::addColumn<bool>("heldBack"); // no other part may log it in before the tick

    const QStringList main{"111111/botpass"};
    const QStringList second{"2:222222/pw"};
    QTest::newRow("main lost") << 1 << 1 << "lost" << main << main + main << false;
    QTest::newRow("secondary lost") << 1 << 2 << "lost" << second << second + second << false;
    QTest::newRow("main pushed out by another client") << 1 << 1 << "lost, another client" << QStringList{}
                                                       << main << true;
    QTest::newRow("secondary pushed out by another client")
        << 1 << 2 << "lost, another client" << QStringList{} << second << true;
    QTest::newRow("secondary log-in failed") << 1 << 2 << "failed" << QStringList{} << second << false;
    QTest::newRow("reconnection off") << 0 << 2 << "lost" << QStringList{} << QStringList{} << false;
    QTest::newRow("not in the list") << 1 << 3 << "lost" << QStringList{} << QStringList{} << false;
}

void tst_Watchdog::lostBotsLogInAgain()
{
    QFETCH(int, interval);
    QFETCH(int, slot);
    QFETCH(QString, event);
    QFETCH(QStringList, atOnce);
    QFETCH(QStringList, afterTick);
    QFETCH(bool, heldBack);
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, {"AutoEnter=1", "AutoICQNumber=" + StoredNumber,
                                                             "AutoPassword=" + StoredPassword}));
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw 0"}));
    // The probe interval is far off: only the retries act on the ticks.
    m_watchdog->setReconnectInterval(interval == 0 ? 0 : 100);
    NamedTimer *perepodk = m_timers->timer(QStringLiteral("perepodk"));

    if (event == QLatin1String("failed"))
        m_watchdog->noteLoginFailed(slot);
    else
        m_watchdog->noteSessionLost(slot, event == QLatin1String("lost"));
    QCOMPARE(perepodk->isEnabled(), interval != 0);
    QCOMPARE(m_watchdog->slotsDown(), interval != 0 ? QList<int>{slot} : QList<int>{});
    QCOMPARE(m_watchdog->holdsBack(slot), heldBack);
    // An at-once retry runs from the event loop, not inside the session's handler.
    QCOMPARE(m_relogins, QStringList{});
    QTRY_COMPARE_WITH_TIMEOUT(m_relogins, atOnce, 20000);
    // A failed retry puts the bot back; the next minute tick tries again.
    if (interval != 0)
        m_watchdog->noteLoginFailed(slot);
    m_watchdog->perepodkTick();
    QCOMPARE(m_relogins, afterTick);
    QCOMPARE(m_watchdog->slotsDown(), QList<int>{});
    QVERIFY(!m_watchdog->holdsBack(slot));
    // A bot that signed on is no longer waited for.
    m_watchdog->noteLoginFailed(slot);
    m_watchdog->noteSignedOn(slot);
    m_watchdog->perepodkTick();
    QCOMPARE(m_relogins, afterTick);
}

void tst_Watchdog::quickDropsWaitLonger()
{
    writeLogins();
    m_watchdog->setReconnectInterval(100); // probes far off: only the retries act
    const auto retryTimer = [this] { return m_watchdog->findChild<QTimer *>(); };
    QStringList expected;

    // A session that held for minutes: back at once.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(300);
    m_watchdog->noteSessionLost(2, true);
    QVERIFY(!m_watchdog->retryAt(2).isValid());
    expected << relogin(2);
    QTRY_COMPARE_WITH_TIMEOUT(m_relogins, expected, 20000);

    // Dropped again 20 s after its sign-on: 10 s, neither the minute tick nor anything
    // else before.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(20);
    m_watchdog->noteSessionLost(2, true);
    QCOMPARE(m_watchdog->retryAt(2), m_clock.now().addSecs(10));
    QVERIFY(retryTimer() && retryTimer()->isActive());
    QCOMPARE(retryTimer()->interval(), 10000);
    QVERIFY(m_watchdog->holdsBack(2));
    QVERIFY(!m_watchdog->holdsBack(3));
    m_watchdog->perepodkTick();
    m_clock.advanceSecs(9);
    m_watchdog->retryWaiting();
    QCOMPARE(m_relogins, expected);
    QCOMPARE(m_watchdog->slotsDown(), QList<int>{2});
    QVERIFY(m_watchdog->holdsBack(2));
    m_clock.advanceSecs(1);
    QVERIFY(!m_watchdog->holdsBack(2));
    m_watchdog->retryWaiting();
    expected << relogin(2);
    QCOMPARE(m_relogins, expected);
    QVERIFY(!m_watchdog->retryAt(2).isValid());
    QVERIFY(!retryTimer()->isActive());
    QVERIFY(!m_watchdog->holdsBack(2));

    // Again, 59 s after: 30 s.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(59);
    m_watchdog->noteSessionLost(2, true);
    QCOMPARE(m_watchdog->retryAt(2), m_clock.now().addSecs(30));
    m_clock.advanceSecs(29);
    m_watchdog->retryWaiting();
    QCOMPARE(m_relogins, expected);
    m_clock.advanceSecs(1);
    m_watchdog->retryWaiting();
    expected << relogin(2);
    QCOMPARE(m_relogins, expected);

    // Again: the minute tick.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(1);
    m_watchdog->noteSessionLost(2, true);
    QVERIFY(!m_watchdog->retryAt(2).isValid());
    m_clock.advanceSecs(30);
    m_watchdog->retryWaiting();
    QCOMPARE(m_relogins, expected);
    QVERIFY(m_watchdog->holdsBack(2));
    m_watchdog->perepodkTick();
    expected << relogin(2);
    QCOMPARE(m_relogins, expected);
    QVERIFY(!m_watchdog->holdsBack(2));
    // And so on at every minute while it keeps being dropped.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(1);
    m_watchdog->noteSessionLost(2, true);
    QVERIFY(!m_watchdog->retryAt(2).isValid());
    m_watchdog->perepodkTick();
    expected << relogin(2);
    QCOMPARE(m_relogins, expected);

    // A session that held for a minute ends the run: back at once, and the next quick
    // drop waits 10 s again.
    m_watchdog->noteSignedOn(2);
    m_clock.advanceSecs(60);
    m_watchdog->noteSessionLost(2, true);
    expected << relogin(2);
    QTRY_COMPARE_WITH_TIMEOUT(m_relogins, expected, 20000);
    m_watchdog->noteSignedOn(2);
    m_watchdog->noteSessionLost(2, true);
    QCOMPARE(m_watchdog->retryAt(2), m_clock.now().addSecs(10));
    QVERIFY(m_watchdog->holdsBack(2));

    // The operator's disconnect ends every wait.
    m_watchdog->suspend();
    QVERIFY(!m_watchdog->retryAt(2).isValid());
    QVERIFY(!m_watchdog->holdsBack(2));
    QVERIFY(!retryTimer()->isActive());
    m_clock.advanceSecs(10);
    m_watchdog->retryWaiting();
    QCOMPARE(m_relogins, expected);
}

void tst_Watchdog::outageAfterEarlierDropsCostsNoWait()
{
    writeLogins();
    m_watchdog->setReconnectInterval(100);
    for (const int slot : {1, 2, 3})
        m_watchdog->noteSignedOn(slot);

    // Earlier single drops of each bot, each back at once, with no minute tick since.
    QStringList expected;
    for (const int slot : {1, 2, 3}) {
        m_clock.advanceSecs(120);
        m_watchdog->noteSessionLost(slot, true);
        expected << relogin(slot);
        QTRY_COMPARE_WITH_TIMEOUT(m_relogins, expected, 20000);
        m_watchdog->noteSignedOn(slot);
    }

    // Then the server drops every bot at once: all of them come back at once.
    m_clock.advanceSecs(180);
    m_relogins.clear();
    for (const int slot : {1, 2, 3})
        m_watchdog->noteSessionLost(slot, true);
    for (const int slot : {1, 2, 3})
        QVERIFY(!m_watchdog->retryAt(slot).isValid());
    QTRY_COMPARE_WITH_TIMEOUT(m_relogins, (QStringList{relogin(1), relogin(2), relogin(3)}), 20000);
    QVERIFY(m_watchdog->slotsDown().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Watchdog)
#include "tst_watchdog.moc"
