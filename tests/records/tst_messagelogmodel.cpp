// The message log as the log window shows it: every non-empty line newest first, or one
// day's lines; lines written by the engine a moment ago (still in the storage layer's
// journal) are there; a log of many chunks is read across event-loop turns.
#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"
#include "records/messagelogmodel.h"
#include "support/incomingmessage.h"
#include "support/programhome.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
QStringList rowsOf(const MessageLogModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.append(model.index(row).data().toString());
    return rows;
}
} // namespace

class tst_MessageLogModel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void showsWhatTheEngineLogged_data();
    void showsWhatTheEngineLogged();
    void missingLogShowsNothing();
    void journalIsReadWithoutRewritingTheLog();
    void largeLogIsReadAcrossTurns();

private:
    void load(MessageLogModel &model, const QString &day, bool all);
    std::unique_ptr<ProgramHome> m_home;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 9), QTime(23, 59, 0))};
};

void tst_MessageLogModel::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_clock.set(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 0)));
    Clock::setInstance(&m_clock);
}

void tst_MessageLogModel::cleanup()
{
    Storage::discard();
    Clock::setInstance(nullptr);
    m_home.reset();
}

void tst_MessageLogModel::load(MessageLogModel &model, const QString &day, bool all)
{
    QSignalSpy loaded(&model, &MessageLogModel::loaded);
    if (all)
        model.loadAll();
    else
        model.loadDay(day);
    if (loaded.isEmpty())
        QVERIFY(loaded.wait(30000));
    QVERIFY(!model.isLoading());
}

void tst_MessageLogModel::showsWhatTheEngineLogged_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QStringList>("rows");
    const QString late = QStringLiteral("09.12.2026 - 23:59:00 - 111 : поздно");
    const QString early = QStringLiteral("10.12.2026 - 0:00:30 - 222 : рано");
    const QString two = QStringLiteral("10.12.2026 - 0:01:30 - 111 : две");
    QTest::newRow("everything, newest first") << true << "" << QStringList{two, "строки", early, late};
    QTest::newRow("one day, only dated lines") << false << "10.12.2026" << QStringList{two, early};
    QTest::newRow("the other day") << false << "09.12.2026" << QStringList{late};
    QTest::newRow("a day without lines") << false << "11.12.2026" << QStringList{};
    QTest::newRow("another date form") << false << "10.12.26" << QStringList{};
    QTest::newRow("empty date") << false << "" << QStringList{};
}

void tst_MessageLogModel::showsWhatTheEngineLogged()
{
    QFETCH(bool, all);
    QFETCH(QString, day);
    LogMessage(message("111", "поздно"));
    m_clock.advanceSecs(90);
    LogMessage(message("222", "рано"));
    m_clock.advanceSecs(60);
    LogMessage(message("111", "две\r\nстроки"));
    // The last lines are still in the journal, not yet in the log itself.
    QVERIFY(QFile::exists(Storage::journalPath(TextFile::filePath(Records::MessageLogPath))));

    MessageLogModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    load(model, day, all);
    QTEST(rowsOf(model), "rows");
    QFETCH(QStringList, rows);
    QCOMPARE(model.text(), rows.join("\r\n"));
}

void tst_MessageLogModel::missingLogShowsNothing()
{
    MessageLogModel model;
    load(model, QString(), true);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(TextFile::writeBytes(Records::MessageLogPath, "\r\n\r\n"));
    load(model, QString(), true);
    QCOMPARE(model.rowCount(), 0);
}

void tst_MessageLogModel::journalIsReadWithoutRewritingTheLog()
{
    const QByteArray old = "09.12.2026 - 1:00:00 - 7 : старое\r\n";
    QVERIFY(TextFile::writeBytes(Records::MessageLogPath, old));
    LogMessage(message("111", "новое"));
    const QString journal = Storage::journalPath(TextFile::filePath(Records::MessageLogPath));
    QVERIFY(QFile::exists(journal));

    MessageLogModel model;
    model.loadDay(QStringLiteral("09.12.2026"));
    // The log itself is as it was: the new line was read from the journal.
    QVERIFY(QFile::exists(journal));
    QFile log(TextFile::filePath(Records::MessageLogPath));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), old);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("09.12.2026 - 23:59:00 - 111 : новое"));
    QSignalSpy loaded(&model, &MessageLogModel::loaded);
    QVERIFY(loaded.wait(30000));
    QCOMPARE(model.text(), QStringLiteral("09.12.2026 - 23:59:00 - 111 : новое\r\n09.12.2026 - 1:00:00 - 7 : старое"));
}

void tst_MessageLogModel::largeLogIsReadAcrossTurns()
{
    // Lines of varying length, so that chunk ends fall inside lines and dates.
    QByteArray log;
    int lines = 0;
    int ofDay = 0;
    while (log.size() < 3 * MessageLogModel::ChunkBytes + 1000) {
        const bool day = lines % 3 == 0;
        const QByteArray date = day ? "10.12.2026" : "09.12.2026";
        log += date + " - 9:05:07 - " + QByteArray::number(lines) + " : " + QByteArray(lines % 97, 'x') + "\r\n";
        ofDay += day ? 1 : 0;
        ++lines;
    }
    log += "10.12.2026 - 9:05:07 - last : unended";
    ++lines;
    ++ofDay;
    QVERIFY(TextFile::writeBytes(Records::MessageLogPath, log));

    MessageLogModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy loaded(&model, &MessageLogModel::loaded);
    model.loadAll();
    // The first turn has not read the whole log: the window stays responsive.
    QVERIFY(model.isLoading());
    QVERIFY(model.scannedBytes() < model.snapshotBytes());
    QVERIFY(loaded.wait(30000));
    QCOMPARE(model.rowCount(), lines);
    QCOMPARE(model.index(lines - 1).data().toString(), QStringLiteral("10.12.2026 - 9:05:07 - last : unended"));
    QCOMPARE(model.index(1).data().toString(), QStringLiteral("09.12.2026 - 9:05:07 - 1 : x"));

    load(model, QStringLiteral("10.12.2026"), false);
    QCOMPARE(model.rowCount(), ofDay);
    for (int row = 0; row < model.rowCount(); row += 101)
        QVERIFY(model.index(row).data().toString().startsWith(QStringLiteral("10.12.2026 ")));
}

QTEST_GUILESS_MAIN(tst_MessageLogModel)
#include "tst_messagelogmodel.moc"
