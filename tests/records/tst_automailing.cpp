// The auto-mailing's subscriber file and its paced sequence of messages.
#include "records/automailing.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
constexpr int Timeout = 30000;

struct Sent
{
    QString text;
    QString number;
    qint64 atMs = 0;
};
} // namespace

class tst_AutoMailing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void removeTakesEveryEqualLine_data();
    void removeTakesEveryEqualLine();
    void addAppendsAsTyped();

    void rangeBound_data();
    void rangeBound();
    void rangeSendsEveryNumber_data();
    void rangeSendsEveryNumber();
    void listIsPacedAndCounted();
    void stopDuringAPausePreventsEveryLaterMessage();
    void failedSendEndsTheMailing();
    void secondStartWhileRunningIsRefused();

private:
    QByteArray fileBytes() const { return FileProbe::bytes(m_home->filePath(SubscriberList::FilePath)); }
    AutoMailing::Sender recorder(bool failOnThird = false)
    {
        return [this, failOnThird](const QString &text, const QString &number) {
            if (failOnThird && m_sent.size() == 2)
                return false;
            m_sent.append({text, number, m_clock.elapsed()});
            return true;
        };
    }

    std::unique_ptr<ProgramHome> m_home;
    QList<Sent> m_sent;
    QElapsedTimer m_clock;
};

void tst_AutoMailing::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_sent.clear();
    m_clock.start();
}

void tst_AutoMailing::cleanup()
{
    m_home.reset();
}

void tst_AutoMailing::removeTakesEveryEqualLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("after");
    const QByteArray gone = "<missing>";
    QTest::newRow("duplicates go together")
        << QByteArray("555\r\n111\r\n555\r\n222\r\n") << "555" << QByteArray("111\r\n222\r\n");
    QTest::newRow("exact comparison")
        << QByteArray("555\r\n 555\r\n5555\r\n") << "555" << QByteArray(" 555\r\n5555\r\n");
    QTest::newRow("the last one deletes the file") << QByteArray("555\r\n555\r\n") << "555" << gone;
    QTest::newRow("an absent number changes nothing")
        << QByteArray("111\r\n\r\n222") << "333" << QByteArray("111\r\n\r\n222");
}

void tst_AutoMailing::removeTakesEveryEqualLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, number);
    QFETCH(QByteArray, after);
    QVERIFY(FileProbe::writeBytes(m_home->filePath(SubscriberList::FilePath), before));
    QVERIFY(SubscriberList::remove(number));
    QCOMPARE(fileBytes(), after);
}

void tst_AutoMailing::addAppendsAsTyped()
{
    QVERIFY(SubscriberList::add(QStringLiteral("555")));
    QVERIFY(SubscriberList::add(QStringLiteral(" Вася ")));
    QVERIFY(SubscriberList::add(QStringLiteral("555")));
    QCOMPARE(fileBytes(), QByteArray("555\r\n \xc2\xe0\xf1\xff \r\n555\r\n"));
    QCOMPARE(SubscriberList::load(), QStringList({"555", " Вася ", "555"}));
}

void tst_AutoMailing::rangeBound_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("bound");
    QTest::newRow("digits") << "95" << qint64(95);
    QTest::newRow("blanks around") << " 105 " << qint64(105);
    QTest::newRow("fifteen digits") << "999999999999999" << qint64(999999999999999);
    QTest::newRow("sixteen digits") << "1000000000000000" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
    QTest::newRow("a sign") << "-5" << qint64(-1);
    QTest::newRow("letters") << "12a" << qint64(-1);
    QTest::newRow("a fraction") << "1.5" << qint64(-1);
}

void tst_AutoMailing::rangeBound()
{
    QFETCH(QString, text);
    QFETCH(qint64, bound);
    QCOMPARE(AutoMailing::rangeBound(text), bound);
}

void tst_AutoMailing::rangeSendsEveryNumber_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<QStringList>("numbers");
    QStringList eleven;
    for (int n = 95; n <= 105; ++n)
        eleven.append(QString::number(n));
    QTest::newRow("95 to 105") << qint64(95) << qint64(105) << eleven;
    QTest::newRow("one number") << qint64(777) << qint64(777) << QStringList({"777"});
    QTest::newRow("backwards") << qint64(105) << qint64(95) << QStringList();
}

void tst_AutoMailing::rangeSendsEveryNumber()
{
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(QStringList, numbers);
    AutoMailing mailing(recorder());
    mailing.setPause(0);
    QSignalSpy finished(&mailing, &AutoMailing::finished);
    QCOMPARE(mailing.startRange(QStringLiteral("Привет"), first, last), !numbers.isEmpty());
    if (numbers.isEmpty()) {
        QVERIFY(!mailing.isRunning());
        QVERIFY(m_sent.isEmpty());
        return;
    }
    // Nothing goes out inside the click that starts it.
    QVERIFY(m_sent.isEmpty());
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(finished.first().first().toBool(), true);
    QStringList got;
    for (const Sent &s : std::as_const(m_sent)) {
        QCOMPARE(s.text, QStringLiteral("Привет"));
        got.append(s.number);
    }
    QCOMPARE(got, numbers);
    QCOMPARE(mailing.sentCount(), qint64(numbers.size()));
}

void tst_AutoMailing::listIsPacedAndCounted()
{
    constexpr int Pause = 60;
    AutoMailing mailing(recorder());
    mailing.setPause(Pause);
    QSignalSpy sent(&mailing, &AutoMailing::sent);
    QSignalSpy finished(&mailing, &AutoMailing::finished);
    QVERIFY(mailing.startList(QStringLiteral("текст"), {"1", "2", "1"}));
    QCOMPARE(mailing.total(), qint64(3));
    QCOMPARE(mailing.msLeft(), qint64(3 * Pause));
    QVERIFY(sent.wait(Timeout));
    QCOMPARE(mailing.sentCount(), qint64(1));
    QCOMPARE(mailing.msLeft(), qint64(2 * Pause));
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(sent.size(), 3);
    QCOMPARE(m_sent.size(), 3);
    QCOMPARE(m_sent.at(2).number, QStringLiteral("1"));
    // The timer may fire up to a few percent early.
    for (int i = 1; i < m_sent.size(); ++i)
        QVERIFY2(m_sent.at(i).atMs - m_sent.at(i - 1).atMs >= Pause * 9 / 10,
                 qPrintable(QString::number(m_sent.at(i).atMs - m_sent.at(i - 1).atMs)));
    QCOMPARE(mailing.msLeft(), qint64(0));
    QVERIFY(!mailing.isRunning());
}

void tst_AutoMailing::stopDuringAPausePreventsEveryLaterMessage()
{
    AutoMailing mailing(recorder());
    mailing.setPause(20);
    QSignalSpy finished(&mailing, &AutoMailing::finished);
    // Stopped by the operator at the second message: the third never goes.
    connect(&mailing, &AutoMailing::sent, &mailing, [&mailing](qint64 index) {
        if (index == 1)
            mailing.stop();
    });
    QVERIFY(mailing.startList(QStringLiteral("x"), {"1", "2", "3", "4"}));
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(m_sent.size(), 2);
    // The next mailing starts afresh.
    QVERIFY(mailing.startList(QStringLiteral("y"), {"9"}));
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(m_sent.size(), 3);
    QCOMPARE(m_sent.last().number, QStringLiteral("9"));
}

void tst_AutoMailing::failedSendEndsTheMailing()
{
    AutoMailing mailing(recorder(true));
    mailing.setPause(0);
    QSignalSpy failed(&mailing, &AutoMailing::sendFailed);
    QSignalSpy finished(&mailing, &AutoMailing::finished);
    QVERIFY(mailing.startRange(QStringLiteral("x"), 10, 20));
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), QStringLiteral("12"));
    QCOMPARE(m_sent.size(), 2);
    QCOMPARE(finished.first().first().toBool(), false);
}

void tst_AutoMailing::secondStartWhileRunningIsRefused()
{
    AutoMailing mailing(recorder());
    mailing.setPause(0);
    QSignalSpy finished(&mailing, &AutoMailing::finished);
    QVERIFY(mailing.startList(QStringLiteral("a"), {"1", "2"}));
    QVERIFY(!mailing.startRange(QStringLiteral("b"), 5, 6));
    QVERIFY(!mailing.startList(QStringLiteral("b"), {"7"}));
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(m_sent.size(), 2);
    QVERIFY(!mailing.startList(QStringLiteral("c"), {}));
}

QTEST_GUILESS_MAIN(tst_AutoMailing)
#include "tst_automailing.moc"
