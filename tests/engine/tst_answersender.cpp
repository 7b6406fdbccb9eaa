// The answer timer's side: parts of at most 2000 characters, one per tick, each answer
// bound to its own user and bot slot.
#include "support/enginefixture.h"

#include "engine/answersender.h"

#include <QSignalSpy>

#include <limits>
#include <QTest>

class tst_AnswerSender : public QObject
{
    Q_OBJECT

private slots:
    void parts_data();
    void parts();
    void usersKeepTheirOwnAnswers();
    void oneRecipientsAnswersKeepTheirOrder();
    void timerArmedAndDisarmed();
    void eachAnswerWaitsItsOwnDelay_data();
    void eachAnswerWaitsItsOwnDelay();
    void floodingUserKeepsHisLatestAnswers();
    void destroyedSenderLeavesTheTimerQuiet();
    void sendsOnRealTicks();

private:
    QList<SentMessage> drain(AnswerSender &sender, NamedTimer &timer, QList<SentMessage> &sent)
    {
        for (int i = 0; i < 100 && sender.pendingCount() > 0; ++i)
            timer.tick();
        return sent;
    }
};

void tst_AnswerSender::parts_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QStringList>("messages");

    const QString a = QString(4500, QLatin1Char('a'));
    const QString lead = AnswerSender::FirstPartLead;
    const QString tail = AnswerSender::LastPartTail;
    QTest::newRow("empty answer is an empty message") << 0 << QStringList{QString()};
    QTest::newRow("short") << 5 << QStringList{a.left(5)};
    QTest::newRow("exactly 2000") << 2000 << QStringList{a.left(2000)};
    QTest::newRow("2001") << 2001 << QStringList{lead + a.left(2000), a.left(1) + tail};
    QTest::newRow("4500") << 4500 << QStringList{lead + a.left(2000), a.left(2000), a.left(500) + tail};
}

void tst_AnswerSender::parts()
{
    QFETCH(int, length);
    QFETCH(QStringList, messages);
    NamedTimer timer(QStringLiteral("Timer1"));
    QList<SentMessage> sent;
    AnswerSender sender(timer, [&sent](int slot, const QString &txt, const QString &to) {
        sent.append({slot, txt, to});
        return true;
    });
    sender.queueAnswer(3, QStringLiteral("42"), QString(length, QLatin1Char('a')), 500);
    int ticks = 0;
    while (sender.pendingCount() > 0 && ticks < 10) {
        timer.tick();
        ++ticks;
        QCOMPARE(sent.size(), ticks); // one message per tick
    }
    QCOMPARE(ticks, messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QCOMPARE(sent.at(i), (SentMessage{3, messages.at(i), QStringLiteral("42")}));
}

void tst_AnswerSender::usersKeepTheirOwnAnswers()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    QList<SentMessage> sent;
    AnswerSender sender(timer, [&sent](int slot, const QString &txt, const QString &to) {
        sent.append({slot, txt, to});
        return true;
    });
    const QString longAnswer = QString(2500, QLatin1Char('x'));
    sender.queueAnswer(1, QStringLiteral("100"), longAnswer, 500);
    sender.queueAnswer(2, QStringLiteral("200"), QStringLiteral("второму"), 500);
    timer.tick();
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).toUin, QStringLiteral("100"));
    QCOMPARE(sent.at(0).slot, 1);
    QVERIFY(sent.at(0).txt.startsWith(AnswerSender::FirstPartLead));
    QCOMPARE(sent.at(1), (SentMessage{2, QStringLiteral("второму"), QStringLiteral("200")}));
    timer.tick();
    QCOMPARE(sent.size(), 3);
    QCOMPARE(sent.at(2), (SentMessage{1, QString(500, QLatin1Char('x')) + AnswerSender::LastPartTail,
                                      QStringLiteral("100")}));
    QCOMPARE(sender.pendingCount(), 0);
}

void tst_AnswerSender::oneRecipientsAnswersKeepTheirOrder()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    QList<SentMessage> sent;
    AnswerSender sender(timer, [&sent](int slot, const QString &txt, const QString &to) {
        sent.append({slot, txt, to});
        return true;
    });
    sender.queueAnswer(1, QStringLiteral("100"), QString(2001, QLatin1Char('x')), 500);
    sender.queueAnswer(1, QStringLiteral("100"), QStringLiteral("второй"), 500);
    const QList<SentMessage> all = drain(sender, timer, sent);
    QCOMPARE(all.size(), 3);
    QVERIFY(all.at(0).txt.startsWith(AnswerSender::FirstPartLead));
    QCOMPARE(all.at(1).txt, QStringLiteral("x") + AnswerSender::LastPartTail);
    QCOMPARE(all.at(2).txt, QStringLiteral("второй")); // no stray closing line
}

void tst_AnswerSender::floodingUserKeepsHisLatestAnswers()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    QList<SentMessage> sent;
    AnswerSender sender(timer, [&sent](int slot, const QString &txt, const QString &to) {
        sent.append({slot, txt, to});
        return true;
    });
    sender.queueAnswer(1, QStringLiteral("200"), QStringLiteral("другой"), 500);
    const int flood = AnswerSender::MaxWaitingPerUser + 3;
    for (int k = 1; k <= flood; ++k)
        sender.queueAnswer(1, QStringLiteral("100"), QString::number(k), 500);
    QList<SentMessage> expected{{1, QStringLiteral("другой"), QStringLiteral("200")}};
    for (int k = flood - AnswerSender::MaxWaitingPerUser + 1; k <= flood; ++k)
        expected.append({1, QString::number(k), QStringLiteral("100")});
    QCOMPARE(drain(sender, timer, sent), expected);
}

void tst_AnswerSender::destroyedSenderLeavesTheTimerQuiet()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    {
        AnswerSender sender(timer, [](int, const QString &, const QString &) { return true; });
        sender.queueAnswer(1, QStringLiteral("100"), QStringLiteral("a"), 500);
    }
    QVERIFY(!timer.isEnabled());
    timer.tick(); // no handler left: nothing runs
}

void tst_AnswerSender::timerArmedAndDisarmed()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    qint64 now = 0;
    QStringList sent;
    AnswerSender sender(timer, [&sent](int, const QString &txt, const QString &) {
        sent.append(txt);
        return true;
    });
    sender.setClock([&now] { return now; });
    QVERIFY(!timer.isEnabled());
    sender.queueAnswer(1, QStringLiteral("1"), QStringLiteral("a"), 2000);
    QVERIFY(timer.isRunning());
    QCOMPARE(timer.interval(), 2000);
    // A later answer due sooner re-arms the timer for itself.
    sender.queueAnswer(1, QStringLiteral("2"), QStringLiteral("b"), 0);
    QCOMPARE(timer.interval(), AnswerSender::DefaultIntervalMs);
    now = 500;
    timer.tick();
    QCOMPARE(sent, QStringList{"b"});
    QVERIFY(timer.isRunning());
    QCOMPARE(timer.interval(), 1500);
    now = 2000;
    timer.tick();
    QCOMPARE(sent, (QStringList{"b", "a"}));
    QVERIFY(!timer.isEnabled());
}

void tst_AnswerSender::eachAnswerWaitsItsOwnDelay_data()
{
    QTest::addColumn<QList<int>>("writtenAt");  // when each user's message came, ms
    QTest::addColumn<QList<int>>("answeredAt"); // when his answer must leave, ms
    QTest::addColumn<int>("delay");
    QTest::newRow("second user 400 ms later") << QList<int>{0, 400} << QList<int>{500, 900} << 500;
    QTest::newRow("same moment, one tick") << QList<int>{0, 0} << QList<int>{500, 500} << 500;
    QTest::newRow("short delay") << QList<int>{0, 3, 7} << QList<int>{1, 4, 8} << 1;
    QTest::newRow("long delay") << QList<int>{0, 1000} << QList<int>{3000, 4000} << 3000;
}

void tst_AnswerSender::eachAnswerWaitsItsOwnDelay()
{
    QFETCH(QList<int>, writtenAt);
    QFETCH(QList<int>, answeredAt);
    QFETCH(int, delay);
    NamedTimer timer(QStringLiteral("Timer1"));
    qint64 now = 0;
    QList<QPair<QString, qint64>> sent;
    AnswerSender sender(timer, [&](int, const QString &, const QString &to) {
        sent.append({to, now});
        return true;
    });
    sender.setClock([&now] { return now; });
    // Time moves from event to event: the messages, and the timer's ticks when armed.
    qsizetype next = 0;
    for (int step = 0; step < 100 && (next < writtenAt.size() || timer.isEnabled()); ++step) {
        const qint64 tickAt = timer.isEnabled() ? sender.armedForMs() : std::numeric_limits<qint64>::max();
        if (next < writtenAt.size() && writtenAt.at(next) < tickAt) {
            now = writtenAt.at(next);
            sender.queueAnswer(1, QString::number(next + 1), QStringLiteral("ответ"), delay);
            ++next;
        } else {
            now = tickAt;
            timer.tick();
        }
    }
    QList<QPair<QString, qint64>> expected;
    for (qsizetype i = 0; i < answeredAt.size(); ++i)
        expected.append({QString::number(i + 1), answeredAt.at(i)});
    QCOMPARE(sent, expected);
}

void tst_AnswerSender::sendsOnRealTicks()
{
    NamedTimer timer(QStringLiteral("Timer1"));
    QList<SentMessage> sent;
    AnswerSender sender(timer, [&sent](int slot, const QString &txt, const QString &to) {
        sent.append({slot, txt, to});
        return true;
    });
    QSignalSpy spy(&sender, &AnswerSender::partSent);
    sender.queueAnswer(1, QStringLiteral("1"), QString(2500, QLatin1Char('z')), 10);
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 2, 10000);
    QCOMPARE(spy.size(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(!timer.isEnabled(), 10000);
}

QTEST_GUILESS_MAIN(tst_AnswerSender)
#include "tst_answersender.moc"
