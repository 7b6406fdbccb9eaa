#include "core/softassert.h"

#include <QRegularExpression>
#include <QTest>

namespace {

int g_actions = 0;

bool checkedSlot(int slot)
{
    KORVANE_ASSERT(slot >= 1, return false);
    return true;
}

int countPositives(const QList<int> &values)
{
    int count = 0;
    for (int value : values) {
        KORVANE_ASSERT(value > 0, ++g_actions; continue);
        ++count;
    }
    return count;
}

} // namespace

class TestSoftAssert : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void passingCheckIsSilent();
    void failingCheckLogsAndRunsAction();
    void actionCanContinueALoop();
    void usableInIfWithoutBraces();
};

void TestSoftAssert::passingCheckIsSilent()
{
    QTest::failOnWarning(QRegularExpression(".*"));
    QVERIFY(checkedSlot(1));
}

void TestSoftAssert::failingCheckLogsAndRunsAction()
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^SOFT ASSERT: \"slot >= 1\" in .*tst_softassert\\.cpp:\\d+$"));
    QVERIFY(!checkedSlot(0));
}

void TestSoftAssert::actionCanContinueALoop()
{
    g_actions = 0;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SOFT ASSERT: \"value > 0\""));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SOFT ASSERT: \"value > 0\""));
    QCOMPARE(countPositives({1, -1, 2, 0, 3}), 3);
    QCOMPARE(g_actions, 2);
}

void TestSoftAssert::usableInIfWithoutBraces()
{
    bool ran = false;
    const bool condition = true;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SOFT ASSERT: \"false\""));
    if (condition)
        KORVANE_ASSERT(false, ran = true);
    QVERIFY(ran);
}

QTEST_GUILESS_MAIN(TestSoftAssert)
#include "tst_softassert.moc"
