// The log-in chain of the secondary bots without a server: which line each tick takes,
// the end of the list, a log-in that never signs on, and the re-logins after a fresh
// sign-on of the main bot. Every test runs in a fresh program folder.
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "session/botpresence.h"
#include "files/distributionlist.h"
#include "session/icqsession.h"
#include "session/secondarylogin.h"
#include "support/programhome.h"

#include <QSignalSpy>
#include <QTest>

class tst_SecondaryLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ticksTakeTheLines_data();
    void ticksTakeTheLines();
    void logInThatNeverSignsOnMovesOn();
    void freshMainSignOnLogsInTheMissingBots();
    void heldBackBotIsLeftToItsWait();
    void stopEndsTheChain();

private:
    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<BotPresence> m_presence;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<SecondaryLogin> m_chain;
    QStringList m_started;
    QList<int> m_abandoned;
};

void tst_SecondaryLogin::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_session = std::make_unique<IcqSession>();
    m_presence = std::make_unique<BotPresence>(*m_session);
    m_timers = std::make_unique<TimerRegistry>();
    m_timers->add(QStringLiteral("rasperd"), 20000);
    m_timers->add(QStringLiteral("perepodk"), 60000);
    m_started.clear();
    m_abandoned.clear();
    m_chain = std::make_unique<SecondaryLogin>(
        *m_timers, *m_presence,
        [this](int slot, const QString &number, const QString &password) {
            m_started.append(QStringLiteral("%1 %2 %3").arg(slot).arg(number, password));
        },
        [this](int slot) { m_abandoned.append(slot); });
}

void tst_SecondaryLogin::cleanup()
{
    m_chain.reset();
    m_timers.reset();
    m_presence.reset();
    m_session.reset();
    m_dir.reset();
}

void tst_SecondaryLogin::ticksTakeTheLines_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QStringList>("started");

    QTest::newRow("two lines") << QStringList{"2 222222 pw2 0", "3 333333 pw3 4"}
                               << QStringList{"2 222222 pw2", "3 333333 pw3"};
    QTest::newRow("empty line ends the list")
        << QStringList{"2 222222 pw2 0", "", "3 333333 pw3 0"} << QStringList{"2 222222 pw2"};
    QTest::newRow("broken lines skipped, never the previous login")
        << QStringList{"2 222222", "3 abc pw 0", "4 444444 pw4"} << QStringList{"4 444444 pw4"};
    QTest::newRow("slot of the index") << QStringList{"7 777777 pw7 0"} << QStringList{"7 777777 pw7"};
    QTest::newRow("no list") << QStringList{} << QStringList{};
}

void tst_SecondaryLogin::ticksTakeTheLines()
{
    QFETCH(QStringList, list);
    QFETCH(QStringList, started);
    if (!list.isEmpty())
        QVERIFY(TextFile::writeLines(DistributionList::FilePath, list));

    for (int n = 0; n < started.size(); ++n) {
        m_chain->rasperdTick();
        QCOMPARE(m_started.size(), n + 1);
        QVERIFY(!m_timers->timer(QStringLiteral("perepodk"))->isEnabled());
    }
    m_chain->rasperdTick();
    QCOMPARE(m_started, started);
    QVERIFY(m_timers->timer(QStringLiteral("perepodk"))->isEnabled());
    QVERIFY(!m_timers->timer(QStringLiteral("rasperd"))->isEnabled());
    QCOMPARE(m_chain->SecondaryLoginCount(), started.size() + 1);

    // Later ticks find no further line.
    m_chain->rasperdTick();
    QCOMPARE(m_started, started);
}

void tst_SecondaryLogin::logInThatNeverSignsOnMovesOn()
{
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw2 0", "3 333333 pw3 0"}));
    m_chain->setSignOnTimeout(50);
    QSignalSpy timedOut(m_chain.get(), &SecondaryLogin::loginTimedOut);
    m_chain->rasperdTick();
    QCOMPARE(m_chain->pendingSlot(), 2);
    QVERIFY(m_chain->signOnTimeoutPending());
    QVERIFY(timedOut.wait(30000));
    QCOMPARE(timedOut.first().first().toInt(), 2);
    QCOMPARE(m_abandoned, QList<int>{2});
    NamedTimer *rasperd = m_timers->timer(QStringLiteral("rasperd"));
    QVERIFY(rasperd->isEnabled());
    QCOMPARE(rasperd->interval(), 100);

    m_chain->rasperdTick();
    QCOMPARE(m_started.last(), QStringLiteral("3 333333 pw3"));
    // A sign-on in time ends the wait.
    m_chain->noteSignedOn(3);
    QCOMPARE(m_chain->pendingSlot(), 0);
    QVERIFY(!m_chain->signOnTimeoutPending());
}

void tst_SecondaryLogin::freshMainSignOnLogsInTheMissingBots()
{
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw2 0", "3 333333 pw3 0"}));
    // The first sign-on of the main bot starts the chain with nothing to repeat.
    m_chain->noteSignedOn(1);
    m_chain->rasperdTick();
    m_chain->rasperdTick();
    m_chain->rasperdTick();
    QCOMPARE(m_started.size(), 2);

    // Both bots signed on and went down again; a new main sign-on brings both back.
    m_chain->noteSignedOn(3);
    m_chain->noteSignedOn(1);
    m_chain->rasperdTick();
    m_chain->rasperdTick();
    m_chain->rasperdTick();
    QCOMPARE(m_started, (QStringList{"2 222222 pw2", "3 333333 pw3", "2 222222 pw2", "3 333333 pw3"}));
    QVERIFY(m_timers->timer(QStringLiteral("perepodk"))->isEnabled());
}

void tst_SecondaryLogin::heldBackBotIsLeftToItsWait()
{
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw2 0", "3 333333 pw3 0"}));
    m_chain->noteSignedOn(1);
    for (int n = 0; n < 3; ++n)
        m_chain->rasperdTick();
    QCOMPARE(m_started.size(), 2);
    m_chain->noteSignedOn(3);
    QList<int> asked;
    m_chain->setHoldBack([&asked](int slot) {
        asked.append(slot);
        return slot == 2;
    });

    // Both bots went down, the first waits for its time: a new main sign-on brings back
    // only the second, and later ticks do not come back to the first.
    m_chain->noteSignedOn(1);
    m_chain->rasperdTick();
    QCOMPARE(m_started.mid(2), QStringList{"3 333333 pw3"});
    QCOMPARE(asked, (QList<int>{2, 3}));
    m_chain->rasperdTick();
    m_chain->rasperdTick();
    QCOMPARE(m_started.mid(2), QStringList{"3 333333 pw3"});
    QVERIFY(m_timers->timer(QStringLiteral("perepodk"))->isEnabled());
}

void tst_SecondaryLogin::stopEndsTheChain()
{
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {"2 222222 pw2 0"}));
    m_chain->setSignOnTimeout(50);
    QSignalSpy timedOut(m_chain.get(), &SecondaryLogin::loginTimedOut);
    m_chain->rasperdTick();
    m_timers->timer(QStringLiteral("rasperd"))->setEnabled(true);
    m_chain->stop();
    QVERIFY(!m_timers->timer(QStringLiteral("rasperd"))->isEnabled());
    QCOMPARE(m_chain->pendingSlot(), 0);
    QVERIFY(!m_chain->signOnTimeoutPending());
}

QTEST_GUILESS_MAIN(tst_SecondaryLogin)
#include "tst_secondarylogin.moc"
