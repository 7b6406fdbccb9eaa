#include "core/random.h"

#include <QTest>

class TestRandom : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Random::setInstance(nullptr); }
    void systemRandomStaysInRange();
    void scriptedValuesInOrder();
    void scriptedValuesAreClamped();
    void pick();
    void instanceReplaced();
};

void TestRandom::systemRandomStaysInRange()
{
    SystemRandom random;
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = random.bounded(5);
        QVERIFY(value >= 0 && value < 5);
        seen.insert(value);
        const double unit = random.unit();
        QVERIFY(unit >= 0.0 && unit < 1.0);
    }
    QCOMPARE(seen.size(), 5);
    QCOMPARE(random.bounded(0), 0);
    QCOMPARE(random.bounded(-3), 0);
    QCOMPARE(random.bounded(1), 0);
}

void TestRandom::scriptedValuesInOrder()
{
    ScriptedRandom random;
    random.queue({2, 0, 1});
    random.queueUnit(0.25);
    QCOMPARE(random.pending(), 3);
    QCOMPARE(random.bounded(3), 2);
    QCOMPARE(random.bounded(3), 0);
    QCOMPARE(random.bounded(10), 1);
    QCOMPARE(random.bounded(10), 0); // empty queue
    QCOMPARE(random.unit(), 0.25);
    QCOMPARE(random.unit(), 0.0);
    QCOMPARE(random.requests(), (QList<int>{3, 3, 10, 10}));
}

void TestRandom::scriptedValuesAreClamped()
{
    ScriptedRandom random;
    random.queue({7, -2});
    QCOMPARE(random.bounded(3), 2);
    QCOMPARE(random.bounded(3), 0);
}

void TestRandom::pick()
{
    ScriptedRandom random;
    random.queue({1, 0});
    const QStringList answers{"Привет", "Здравствуй"};
    QCOMPARE(random.pick(answers), QStringLiteral("Здравствуй"));
    QCOMPARE(random.pick(answers), QStringLiteral("Привет"));
    QCOMPARE(random.pick({}), QString());
    QCOMPARE(random.requests(), (QList<int>{2, 2}));
}

void TestRandom::instanceReplaced()
{
    QVERIFY(dynamic_cast<SystemRandom *>(&Random::instance()));
    ScriptedRandom scripted;
    scripted.queue(4);
    Random::setInstance(&scripted);
    QCOMPARE(Random::instance().bounded(9), 4);
    Random::setInstance(nullptr);
    QVERIFY(dynamic_cast<SystemRandom *>(&Random::instance()));
}

QTEST_GUILESS_MAIN(TestRandom)
#include "tst_random.moc"
