// The statistics as the windows read them, written by the answer engine's own records
// during the test: counts held back in memory are seen, days are apart, the per-number
// filter cuts by date and time.
#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"
#include "records/statisticsrecords.h"
#include "support/badlinereport.h"
#include "support/incomingmessage.h"
#include "support/programhome.h"

#include <QTest>

#include <functional>
#include <memory>

class tst_StatisticsRecords : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dayAsTheEngineRecordedIt();
    void filterMessages_data();
    void filterMessages();
    void requestsPerDay();
    void countFileForms_data();
    void countFileForms();
    void dayTextsThatLeaveTheFolder_data();
    void dayTextsThatLeaveTheFolder();
    void badLineReportedOncePerVersion_data();
    void badLineReportedOncePerVersion();
    void linesThatAreNoNumberLeftOut();
    void ownAppendsAreNoNews_data();
    void ownAppendsAreNoNews();

private:
    void record(const QString &uin, const QString &text);
    std::unique_ptr<ProgramHome> m_home;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7))};
};

void tst_StatisticsRecords::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
}

void tst_StatisticsRecords::cleanup()
{
    Storage::discard();
    Clock::setInstance(nullptr);
    m_home.reset();
}

void tst_StatisticsRecords::record(const QString &uin, const QString &text)
{
    RecordStatistics(message(uin, text));
}

void tst_StatisticsRecords::dayAsTheEngineRecordedIt()
{
    record("111", "привет");
    m_clock.advanceSecs(60);
    record("222", "как дела");
    record("111", "ещё");
    // The counter is written in batches; the reader sees the current count anyway.
    QCOMPARE(StatisticsRecords::requestCount("10.12.2026"), QStringLiteral("3"));
    QCOMPARE(StatisticsRecords::numbers("10.12.2026"), QStringList({"111", "222"}));
    QCOMPARE(StatisticsRecords::messagesText("10.12.2026", "111"),
             QStringLiteral("10.12.2026 - 9:05:07 - 111 : привет\r\n10.12.2026 - 9:06:07 - 111 : ещё\r\n"));
    QCOMPARE(StatisticsRecords::usersSinceStart(), QStringList({"111", "222"}));
    // A hand-edited list with an empty line lists no empty number.
    QVERIFY(TextFile::writeBytes("\\Статистика\\10.12.2026\\Хинты.txt", "111\r\n\r\n222\r\n"));
    QCOMPARE(StatisticsRecords::numbers("10.12.2026"), QStringList({"111", "222"}));
    // A day without statistics.
    QCOMPARE(StatisticsRecords::requestCount("09.12.2026"), QStringLiteral("0"));
    QVERIFY(StatisticsRecords::numbers("09.12.2026").isEmpty());
    QCOMPARE(StatisticsRecords::messagesText("09.12.2026", "111"), QString());
}

void tst_StatisticsRecords::filterMessages_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("kept");
    const QString first = QStringLiteral("10.12.2026 - 9:05:07 - 111 : утро");
    const QString second = QStringLiteral("10.12.2026 - 21:00:00 - 111 : вечер");
    QTest::newRow("the whole day, first lines of a long message only")
        << "10.12.2026" << "" << QStringList{first, second};
    QTest::newRow("exact time, unpadded hour") << "10.12.2026" << "9:05:07" << QStringList{first};
    QTest::newRow("exact time, padded hour") << "10.12.2026" << "09:05:07" << QStringList{first};
    QTest::newRow("exact time of the evening") << "10.12.2026" << "21:00:00" << QStringList{second};
    QTest::newRow("time without a message") << "10.12.2026" << "9:05:08" << QStringList{};
    QTest::newRow("another date") << "11.12.2026" << "" << QStringList{};
    QTest::newRow("empty date") << "" << "" << QStringList{};
}

void tst_StatisticsRecords::filterMessages()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    record("111", "утро\r\nвторая строка");
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(21, 0)));
    record("111", "вечер");
    QTEST(StatisticsRecords::filterMessages(date, "111", time), "kept");
}

void tst_StatisticsRecords::requestsPerDay()
{
    record("1", "a");
    m_clock.advanceDays(2);
    record("1", "b");
    record("2", "c");
    const QList<StatisticsRecords::DayCount> days =
        StatisticsRecords::requestsPerDay(QDate(2026, 12, 9), QDate(2026, 12, 12));
    QCOMPARE(days.size(), 4);
    QList<qint64> counts;
    for (const auto &day : days)
        counts.append(day.requests);
    QCOMPARE(counts, QList<qint64>({0, 1, 0, 2}));
    QCOMPARE(days.first().date, QDate(2026, 12, 9));
    const QList<StatisticsRecords::DayCount> mine =
        StatisticsRecords::messagesPerDay("2", QDate(2026, 12, 10), QDate(2026, 12, 12));
    QCOMPARE(mine.size(), 3);
    QCOMPARE(mine.last().requests, 1);
    QCOMPARE(mine.first().requests, 0);
    QVERIFY(StatisticsRecords::requestsPerDay(QDate(2026, 12, 12), QDate(2026, 12, 9)).isEmpty());
}

void tst_StatisticsRecords::countFileForms_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shown");
    QTest::newRow("print form") << QByteArray(" 17 \r\n") << "17";
    QTest::newRow("bare digits") << QByteArray("5") << "5";
    QTest::newRow("zero") << QByteArray(" 0 \r\n") << "0";
    QTest::newRow("empty") << QByteArray() << "0";
    QTest::newRow("words") << QByteArray("много") << "0";
}

void tst_StatisticsRecords::countFileForms()
{
    QFETCH(QByteArray, file);
    QVERIFY(TextFile::writeBytes("\\Статистика\\01.01.2026\\Обращения.txt", file));
    QTEST(StatisticsRecords::requestCount("01.01.2026"), "shown");
}

void tst_StatisticsRecords::dayTextsThatLeaveTheFolder_data()
{
    QTest::addColumn<QString>("day");
    QTest::newRow("parent") << "..";
    QTest::newRow("path") << "../Логи";
    QTest::newRow("backslash") << "..\\Логи";
}

void tst_StatisticsRecords::dayTextsThatLeaveTheFolder()
{
    QFETCH(QString, day);
    QVERIFY(TextFile::writeBytes("\\Логи\\Хинты.txt", "999\r\n"));
    QVERIFY(TextFile::writeBytes("\\Логи\\Обращения.txt", " 3 \r\n"));
    QVERIFY(!StatisticsRecords::isDayText(day));
    QVERIFY(StatisticsRecords::numbers(day).isEmpty());
    QCOMPARE(StatisticsRecords::requestCount(day), QStringLiteral("0"));
}

void tst_StatisticsRecords::badLineReportedOncePerVersion_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<std::function<void()>>("read");
    using Read = std::function<void()>;
    const QString counter = QStringLiteral("\\Статистика\\01.01.2026\\Обращения.txt");
    const Read readCount = [] { StatisticsRecords::requestCount(QStringLiteral("01.01.2026")); };
    QTest::newRow("counter: a word") << counter << QByteArray(" 17 \r\n") << QByteArray("много\r\n") << 1 << readCount;
    QTest::newRow("counter: two numbers")
        << counter << QByteArray("\r\n5\r\n\r\n") << QByteArray(" 5 \r\n\r\n 6 \r\n") << 3 << readCount;
    QTest::newRow("counter: binary") << counter << QByteArray(" 0 ") << QByteArray(" 5\x01 \r\n") << 1 << readCount;
    QTest::newRow("counter: the chart meets it")
        << counter << QByteArray(" 3 \r\n") << QByteArray("три\r\n") << 1
        << Read([] { StatisticsRecords::requestsPerDay(QDate(2025, 12, 31), QDate(2026, 1, 2)); });
    QTest::newRow("counter: the next message meets it")
        << QStringLiteral("\\Статистика\\10.12.2026\\Обращения.txt") << QByteArray(" 3 \r\n")
        << QByteArray("\r\nмного\r\n") << 2 << Read([] {
               RecordStatistics(message(QStringLiteral("111"), QStringLiteral("x")));
               Storage::instance().flushAll();
           });
    QTest::newRow("numbers of the day: a name")
        << QStringLiteral("\\Статистика\\01.01.2026\\Хинты.txt") << QByteArray("111\r\n\r\n222\r\n")
        << QByteArray("111\r\nВася\r\n") << 2
        << Read([] { StatisticsRecords::numbers(QStringLiteral("01.01.2026")); });
    QTest::newRow("users since start: a huge line")
        << Records::UsersPath << QByteArray("111\r\n") << QByteArray("111\r\n\r\n") + QByteArray(100000, '1') + "\r\n"
        << 3 << Read([] { StatisticsRecords::usersSinceStart(); });
}

void tst_StatisticsRecords::badLineReportedOncePerVersion()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, good);
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(std::function<void()>, read);
    checkBadLineReportedOncePerVersion(file, bytes, line, read, good);
}

void tst_StatisticsRecords::linesThatAreNoNumberLeftOut()
{
    QVERIFY(TextFile::writeBytes("\\Статистика\\01.01.2026\\Хинты.txt", "111\r\nВася\r\n\x01\r\n222\r\n"));
    QCOMPARE(StatisticsRecords::numbers(QStringLiteral("01.01.2026")), (QStringList{"111", "222"}));
    // A message typed with line breaks goes on over lines without a date: they are part of it.
    record(QStringLiteral("111"), QStringLiteral("раз\r\nдва"));
    int reports = 0;
    Storage::setReporter([&reports](Storage::Problem, const QString &, const QString &) { ++reports; });
    QCOMPARE(StatisticsRecords::filterMessages(QStringLiteral("10.12.2026"), QStringLiteral("111"), QString()).size(), 1);
    QVERIFY(StatisticsRecords::messagesText(QStringLiteral("10.12.2026"), QStringLiteral("111")).contains(QStringLiteral("два")));
    Storage::setReporter({});
    QCOMPARE(reports, 0);
}

void tst_StatisticsRecords::ownAppendsAreNoNews_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<std::function<void()>>("read");
    QTest::newRow("users since start") << Records::UsersPath
                                       << std::function<void()>([] { StatisticsRecords::usersSinceStart(); });
    QTest::newRow("numbers of the day")
        << QStringLiteral("\\Статистика\\10.12.2026\\Хинты.txt")
        << std::function<void()>([] { StatisticsRecords::numbers(QStringLiteral("10.12.2026")); });
}

void tst_StatisticsRecords::ownAppendsAreNoNews()
{
    QFETCH(QString, file);
    QFETCH(std::function<void()>, read);
    checkOwnWriteIsNoNews(file, "111\r\nВася\r\n", read, [this] { record(QStringLiteral("222"), QStringLiteral("x")); });
}

QTEST_GUILESS_MAIN(tst_StatisticsRecords)
#include "tst_statisticsrecords.moc"
