#include "core/namedtimer.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The intervals Qt has registered for a timer object (empty when it does not run).
QList<int> registeredIntervals(QObject *object)
{
    QList<int> intervals;
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(object);
    for (const auto &info : timers)
        intervals.append(info.interval);
    return intervals;
}

} // namespace

class TestNamedTimer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsOffWithItsInterval();
    void enabledTimerTicksRepeatedly();
    void zeroIntervalNeverTicks();
    void negativeIntervalIsZero();
    void disablingStopsTicks();
    void setIntervalRestartsCountdown();
    void setIntervalOnStoppedTimerDoesNotStartIt();
    void enablingEnabledTimerKeepsCountdown();
    void disableAndEnableRestartsCountdown();
    void longIntervalsWork();
    void handlerNeverEnteredTwice();
    void handlerReenteredThroughNestedLoop();
    void tickedAfterHandler();
    void manualTickWhenDisabled();
    void handlerReplacedWhileRunning();
    void handlerDeletesItsTimer();
    void registryAddsOnce();
    void registryAttach();
};

void TestNamedTimer::startsOffWithItsInterval()
{
    NamedTimer timer("Timer1", 500);
    QCOMPARE(timer.name(), QStringLiteral("Timer1"));
    QCOMPARE(timer.objectName(), QStringLiteral("Timer1"));
    QCOMPARE(timer.interval(), 500);
    QVERIFY(!timer.isEnabled());
    QVERIFY(!timer.isRunning());
    QVERIFY(registeredIntervals(&timer).isEmpty());
}

void TestNamedTimer::enabledTimerTicksRepeatedly()
{
    NamedTimer timer("t", 10);
    int handled = 0;
    timer.setHandler([&] { ++handled; });
    QSignalSpy ticked(&timer, &NamedTimer::ticked);
    timer.setEnabled(true);
    QVERIFY(timer.isRunning());
    QCOMPARE(registeredIntervals(&timer), QList<int>{10});
    QTRY_VERIFY_WITH_TIMEOUT(ticked.count() >= 3, 30000);
    QCOMPARE(handled, int(ticked.count()));
}

void TestNamedTimer::zeroIntervalNeverTicks()
{
    NamedTimer zero("zero", 0);
    NamedTimer reference("reference", 5);
    QSignalSpy zeroTicked(&zero, &NamedTimer::ticked);
    QSignalSpy referenceTicked(&reference, &NamedTimer::ticked);
    zero.setEnabled(true);
    reference.setEnabled(true);
    QVERIFY(zero.isEnabled());
    QVERIFY(!zero.isRunning());
    QVERIFY(registeredIntervals(&zero).isEmpty());
    // While a 5 ms timer ticks ten times, the 0 ms one never does.
    QTRY_VERIFY_WITH_TIMEOUT(referenceTicked.count() >= 10, 30000);
    QCOMPARE(zeroTicked.count(), 0);

    // Setting 0 on a running timer stops it.
    reference.setInterval(0);
    QVERIFY(reference.isEnabled());
    QVERIFY(!reference.isRunning());
    QVERIFY(registeredIntervals(&reference).isEmpty());
}

void TestNamedTimer::negativeIntervalIsZero()
{
    NamedTimer timer("t", -5);
    QCOMPARE(timer.interval(), 0);
    timer.setInterval(-100);
    QCOMPARE(timer.interval(), 0);
    timer.setEnabled(true);
    QVERIFY(!timer.isRunning());
    QVERIFY(registeredIntervals(&timer).isEmpty());
}

void TestNamedTimer::disablingStopsTicks()
{
    NamedTimer timer("t", 5);
    NamedTimer reference("reference", 5);
    QSignalSpy ticked(&timer, &NamedTimer::ticked);
    QSignalSpy referenceTicked(&reference, &NamedTimer::ticked);
    timer.setEnabled(true);
    QVERIFY(ticked.wait(30000));
    timer.setEnabled(false);
    QVERIFY(!timer.isRunning());
    QVERIFY(registeredIntervals(&timer).isEmpty());
    const auto ticksWhenStopped = ticked.count();
    reference.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(referenceTicked.count() >= 10, 30000);
    QCOMPARE(ticked.count(), ticksWhenStopped);
}

// The countdown tests race two timers of equal interval started together. Qt fires
// due timers in the order of their deadlines, so which one ticks first tells whether a
// call restarted the countdown, however late the event loop runs.
struct Race
{
    explicit Race(int intervalMs)
        : subject("subject", intervalMs)
        , control("control", intervalMs)
    {
        subject.setHandler([this] { order.append(QStringLiteral("subject")); });
        control.setHandler([this] { order.append(QStringLiteral("control")); });
    }
    NamedTimer subject;
    NamedTimer control;
    QStringList order;
};

void TestNamedTimer::setIntervalRestartsCountdown()
{
    Race race(1000);
    race.subject.setEnabled(true);
    race.control.setEnabled(true);
    bool actedBeforeTicks = false;
    QTimer::singleShot(100, &race.subject, [&] {
        actedBeforeTicks = race.order.isEmpty();
        race.subject.setInterval(1000); // even the same value restarts
    });
    QTRY_COMPARE_WITH_TIMEOUT(race.order.size() >= 2, true, 30000);
    QVERIFY(actedBeforeTicks);
    QCOMPARE(race.order.first(), QStringLiteral("control"));
}

void TestNamedTimer::setIntervalOnStoppedTimerDoesNotStartIt()
{
    NamedTimer timer("t", 0);
    timer.setInterval(100);
    QVERIFY(!timer.isEnabled());
    QVERIFY(!timer.isRunning());
    QVERIFY(registeredIntervals(&timer).isEmpty());
}

void TestNamedTimer::enablingEnabledTimerKeepsCountdown()
{
    Race race(1000);
    race.subject.setEnabled(true);
    race.control.setEnabled(true);
    bool actedBeforeTicks = false;
    QTimer::singleShot(100, &race.subject, [&] {
        actedBeforeTicks = race.order.isEmpty();
        race.subject.setEnabled(true);
    });
    QTRY_COMPARE_WITH_TIMEOUT(race.order.size() >= 2, true, 30000);
    QVERIFY(actedBeforeTicks);
    QCOMPARE(race.order.first(), QStringLiteral("subject"));
}

void TestNamedTimer::disableAndEnableRestartsCountdown()
{
    Race race(1000);
    race.subject.setEnabled(true);
    race.control.setEnabled(true);
    bool actedBeforeTicks = false;
    QTimer::singleShot(100, &race.subject, [&] {
        actedBeforeTicks = race.order.isEmpty();
        race.subject.setEnabled(false);
        race.subject.setEnabled(true);
    });
    QTRY_COMPARE_WITH_TIMEOUT(race.order.size() >= 2, true, 30000);
    QVERIFY(actedBeforeTicks);
    QCOMPARE(race.order.first(), QStringLiteral("control"));
}

void TestNamedTimer::longIntervalsWork()
{
    NamedTimer timer("perepodk", 300000); // 5 minutes, beyond a 16-bit interval
    QCOMPARE(timer.interval(), 300000);
    timer.setEnabled(true);
    QVERIFY(timer.isRunning());
    QCOMPARE(registeredIntervals(&timer), QList<int>{300000});
    timer.setInterval(65536);
    QCOMPARE(registeredIntervals(&timer), QList<int>{65536});
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(&timer);
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.first().timerType, Qt::PreciseTimer);
    const int remaining = QAbstractEventDispatcher::instance()->remainingTime(timers.first().timerId);
    QVERIFY2(remaining > 60000 && remaining <= 65536, qPrintable(QString::number(remaining)));
}

void TestNamedTimer::handlerNeverEnteredTwice()
{
    NamedTimer timer("t", 0);
    QSignalSpy ticked(&timer, &NamedTimer::ticked);
    int depth = 0;
    int maxDepth = 0;
    int calls = 0;
    timer.setHandler([&] {
        ++calls;
        ++depth;
        maxDepth = qMax(maxDepth, depth);
        timer.tick(); // refused: the handler is running
        timer.tick();
        --depth;
    });
    timer.tick();
    QCOMPARE(calls, 1);
    QCOMPARE(maxDepth, 1);
    QCOMPARE(ticked.count(), 1);
    timer.tick();
    QCOMPARE(calls, 2);
    QCOMPARE(ticked.count(), 2);
}

void TestNamedTimer::handlerReenteredThroughNestedLoop()
{
    // A handler that lets the event loop run (which the program must not do) still is
    // not entered again by the ticks that come due meanwhile.
    NamedTimer timer("t", 5);
    NamedTimer reference("reference", 5);
    QSignalSpy referenceTicked(&reference, &NamedTimer::ticked);
    int depth = 0;
    int maxDepth = 0;
    int calls = 0;
    timer.setHandler([&] {
        ++calls;
        ++depth;
        maxDepth = qMax(maxDepth, depth);
        if (calls == 1) {
            QEventLoop loop;
            reference.setHandler([&] {
                if (referenceTicked.count() >= 9) // this tick is the 10th; ticked follows
                    loop.quit();
            });
            reference.setEnabled(true);
            loop.exec();
            reference.setEnabled(false);
            reference.setHandler({});
        }
        --depth;
    });
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(calls >= 2, 30000);
    QVERIFY(referenceTicked.count() >= 10);
    QCOMPARE(maxDepth, 1);
}

void TestNamedTimer::tickedAfterHandler()
{
    NamedTimer timer("t", 5);
    QSignalSpy ticked(&timer, &NamedTimer::ticked);
    QList<int> seenByHandler;
    timer.setHandler([&] { seenByHandler.append(int(ticked.count())); });
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticked.count() >= 3, 30000);
    timer.setEnabled(false);
    QCOMPARE(seenByHandler.mid(0, 3), (QList<int>{0, 1, 2}));
}

void TestNamedTimer::manualTickWhenDisabled()
{
    NamedTimer timer("t", 0);
    QSignalSpy ticked(&timer, &NamedTimer::ticked);
    timer.tick(); // no handler: only the signal
    QCOMPARE(ticked.count(), 1);
    int calls = 0;
    timer.setHandler([&] { ++calls; });
    timer.tick();
    QCOMPARE(calls, 1);
    QCOMPARE(ticked.count(), 2);
    QVERIFY(!timer.isEnabled());
}

void TestNamedTimer::handlerReplacedWhileRunning()
{
    NamedTimer timer("t", 0);
    QString trace;
    timer.setHandler([&] {
        const QString captured = QStringLiteral("first");
        timer.setHandler([&] { trace += QLatin1String("second;"); });
        trace += captured + QLatin1Char(';'); // the running handler's state is still alive
    });
    timer.tick();
    timer.tick();
    QCOMPARE(trace, QStringLiteral("first;second;"));
}

void TestNamedTimer::handlerDeletesItsTimer()
{
    auto *timer = new NamedTimer("t", 0);
    QPointer<NamedTimer> guard(timer);
    bool ticked = false;
    connect(timer, &NamedTimer::ticked, this, [&] { ticked = true; });
    timer->setHandler([timer] { delete timer; });
    timer->tick();
    QVERIFY(guard.isNull());
    QVERIFY(!ticked);
}

void TestNamedTimer::registryAddsOnce()
{
    TimerRegistry registry;
    NamedTimer *timer1 = registry.add("Timer1", 500);
    QVERIFY(timer1);
    QCOMPARE(timer1->parent(), &registry);
    QCOMPARE(timer1->interval(), 500);
    QVERIFY(!timer1->isEnabled());
    QCOMPARE(registry.add("Timer1", 900), timer1);
    QCOMPARE(timer1->interval(), 500);
    NamedTimer *rasperd = registry.add("rasperd", 60000);
    QCOMPARE(registry.timer("rasperd"), rasperd);
    QCOMPARE(registry.timer("nothing"), nullptr);
    QCOMPARE(registry.names(), (QStringList{"Timer1", "rasperd"}));
}

void TestNamedTimer::registryAttach()
{
    TimerRegistry registry;
    registry.add("perepodk", 0);
    int first = 0;
    int second = 0;
    QVERIFY(registry.attach("perepodk", [&] { ++first; }));
    QVERIFY(registry.attach("perepodk", [&] { ++second; })); // replaces
    QVERIFY(!registry.attach("missing", [] {}));
    registry.timer("perepodk")->tick();
    QCOMPARE(first, 0);
    QCOMPARE(second, 1);
}

QTEST_GUILESS_MAIN(TestNamedTimer)
#include "tst_namedtimer.moc"
