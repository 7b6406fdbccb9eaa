#include "core/datetexts.h"

#include <QLocale>
#include <QTest>

using namespace DateTexts;

class TestDateTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void dateText_data();
    void dateText();
    void timeText_data();
    void timeText();
    void dateTimeText();
    void parseDate_data();
    void parseDate();
    void parseTime_data();
    void parseTime();
    void parseDateTime();
};

void TestDateTexts::initTestCase()
{
    // Whatever the machine prints, the texts stay Russian.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestDateTexts::dateText_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded") << QDate(2008, 3, 5) << "05.03.2008";
    QTest::newRow("two digits") << QDate(2011, 12, 31) << "31.12.2011";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << "29.02.2024";
    QTest::newRow("invalid") << QDate() << "";
}

void TestDateTexts::dateText()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(DateTexts::dateText(date), text);
}

void TestDateTexts::timeText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("one-digit hour") << QTime(9, 5, 7) << "9:05:07";
    QTest::newRow("midnight") << QTime(0, 0, 0) << "0:00:00";
    QTest::newRow("two-digit hour") << QTime(23, 59, 59) << "23:59:59";
    QTest::newRow("milliseconds dropped") << QTime(12, 0, 1, 999) << "12:00:01";
    QTest::newRow("invalid") << QTime() << "";
}

void TestDateTexts::timeText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(DateTexts::timeText(time), text);
}

void TestDateTexts::dateTimeText()
{
    QCOMPARE(DateTexts::dateTimeText(QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))),
             QStringLiteral("05.03.2008 9:05:07"));
    // The texts follow the moment asked for, across a second, a day and back again.
    const QList<QPair<QDateTime, QString>> moments = {
        {QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7, 999)), "05.03.2008 9:05:07"},
        {QDateTime(QDate(2008, 3, 5), QTime(9, 5, 8, 0)), "05.03.2008 9:05:08"},
        {QDateTime(QDate(2008, 3, 6), QTime(9, 5, 8, 0)), "06.03.2008 9:05:08"},
        {QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7, 0)), "05.03.2008 9:05:07"},
        {QDateTime(QDate(10, 1, 2), QTime(0, 0, 0)), "02.01.0010 0:00:00"},
    };
    for (const auto &[moment, text] : moments)
        QCOMPARE(DateTexts::dateTimeText(moment), text);
}

void TestDateTexts::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: no date
    QTest::newRow("padded") << "05.03.2008" << QDate(2008, 3, 5);
    QTest::newRow("unpadded") << "5.3.2008" << QDate(2008, 3, 5);
    QTest::newRow("leap day") << "29.02.2024" << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "29.02.2023" << QDate();
    QTest::newRow("month 13") << "01.13.2008" << QDate();
    QTest::newRow("day 0") << "00.01.2008" << QDate();
    QTest::newRow("two-digit year") << "05.03.08" << QDate();
    QTest::newRow("slashes") << "05/03/2008" << QDate();
    QTest::newRow("blank after") << "05.03.2008 " << QDate();
    QTest::newRow("blank before") << " 05.03.2008" << QDate();
    QTest::newRow("three-digit day") << "005.03.2008" << QDate();
    QTest::newRow("iso") << "2008-03-05" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("garbage") << "вчера" << QDate();
}

void TestDateTexts::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const auto parsed = DateTexts::parseDate(text);
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, date);
}

void TestDateTexts::parseTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("time"); // invalid: no time
    QTest::newRow("one-digit hour") << "9:05:07" << QTime(9, 5, 7);
    QTest::newRow("zero-padded hour") << "09:05:07" << QTime(9, 5, 7);
    QTest::newRow("midnight") << "0:00:00" << QTime(0, 0, 0);
    QTest::newRow("late") << "23:59:59" << QTime(23, 59, 59);
    QTest::newRow("hour 24") << "24:00:00" << QTime();
    QTest::newRow("minute 60") << "12:60:00" << QTime();
    QTest::newRow("one-digit minute") << "9:5:07" << QTime();
    QTest::newRow("no seconds") << "9:05" << QTime();
    QTest::newRow("am/pm") << "9:05:07 AM" << QTime();
    QTest::newRow("three-digit hour") << "009:05:07" << QTime();
    QTest::newRow("dots") << "9.05.07" << QTime();
    QTest::newRow("empty") << "" << QTime();
    QTest::newRow("garbage") << "полдень" << QTime();
}

void TestDateTexts::parseTime()
{
    QFETCH(QString, text);
    QFETCH(QTime, time);
    const auto parsed = DateTexts::parseTime(text);
    QCOMPARE(parsed.has_value(), time.isValid());
    if (parsed)
        QCOMPARE(*parsed, time);
}

void TestDateTexts::parseDateTime()
{
    QCOMPARE(DateTexts::parseDateTime("05.03.2008 9:05:07"),
             std::optional<QDateTime>(QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))));
    QCOMPARE(DateTexts::parseDateTime("05.03.2008 09:05:07").value(),
             QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));
    QVERIFY(!DateTexts::parseDateTime("05.03.2008"));
    QVERIFY(!DateTexts::parseDateTime("05.03.2008  9:05:07"));
}

QTEST_GUILESS_MAIN(TestDateTexts)
#include "tst_datetexts.moc"
