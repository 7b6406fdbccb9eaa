#include "core/clock.h"

#include <QFileInfo>
#include <QTest>

class TestClock : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Clock::setInstance(nullptr); }
    void systemClockByDefault();
    void fixedClockStandsStill();
    void fixedClockMoves();
    void instanceReplaced();
    void timeZoneSettled_data();
    void timeZoneSettled();
};

void TestClock::systemClockByDefault()
{
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = Clock::instance().now();
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(before <= now && now <= after);
    QVERIFY(dynamic_cast<SystemClock *>(&Clock::instance()));
}

void TestClock::fixedClockStandsStill()
{
    FixedClock clock(QDateTime(QDate(2008, 3, 5), QTime(23, 59, 59)));
    QCOMPARE(clock.now(), QDateTime(QDate(2008, 3, 5), QTime(23, 59, 59)));
    QCOMPARE(clock.now(), clock.now());
    QCOMPARE(clock.today(), QDate(2008, 3, 5));
    QCOMPARE(clock.time(), QTime(23, 59, 59));
}

void TestClock::fixedClockMoves()
{
    FixedClock clock(QDateTime(QDate(2008, 3, 5), QTime(23, 59, 59)));
    clock.advanceSecs(1);
    QCOMPARE(clock.today(), QDate(2008, 3, 6));
    QCOMPARE(clock.time(), QTime(0, 0, 0));
    clock.advanceMs(1500);
    QCOMPARE(clock.time(), QTime(0, 0, 1, 500));
    clock.advanceDays(-1);
    QCOMPARE(clock.today(), QDate(2008, 3, 5));
    clock.set(QDateTime(QDate(2010, 1, 1), QTime(12, 0)));
    QCOMPARE(clock.now(), QDateTime(QDate(2010, 1, 1), QTime(12, 0)));
}

void TestClock::instanceReplaced()
{
    FixedClock clock;
    Clock::setInstance(&clock);
    QCOMPARE(&Clock::instance(), static_cast<Clock *>(&clock));
    QCOMPARE(Clock::instance().now(), QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));
    clock.advanceSecs(60);
    QCOMPARE(Clock::instance().time(), QTime(9, 6, 7));
    Clock::setInstance(nullptr);
    QVERIFY(dynamic_cast<SystemClock *>(&Clock::instance()));
}

void TestClock::timeZoneSettled_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray machine = QFileInfo::exists(QStringLiteral("/etc/localtime")) ? ":/etc/localtime" : "";
    QTest::newRow("unset: the machine's zone file") << false << QByteArray() << machine;
    QTest::newRow("a zone of the operator's stays") << true << QByteArray("Europe/Moscow") << QByteArray("Europe/Moscow");
    QTest::newRow("empty (UTC) stays") << true << QByteArray() << QByteArray();
}

void TestClock::timeZoneSettled()
{
    QFETCH(bool, set);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    if (set)
        qputenv("TZ", before);
    else
        qunsetenv("TZ");
    SystemClock::settleTimeZone();
    const bool isSet = qEnvironmentVariableIsSet("TZ");
    const QByteArray now = qgetenv("TZ");
    if (hadZone)
        qputenv("TZ", zone);
    else
        qunsetenv("TZ");
    QCOMPARE(isSet, set || !after.isEmpty());
    QCOMPARE(now, after);
}

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
