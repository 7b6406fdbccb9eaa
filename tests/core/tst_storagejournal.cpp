// The newest-first files under traffic: reads that never wait for a rewrite, the fold
// that copies a large file a few MiB per turn while new lines keep arriving, a kill at
// every stage of it, and a write or removal in the middle of one.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "support/programhome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString Log = QStringLiteral("\\Логи\\логи.txt");

// What one whole rewrite per line leaves (the format the fold must keep).
QByteArray rewrittenPerLine(QByteArray file, const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        file = file.isEmpty() ? line : line + file + "\r\n";
    return file;
}

// One journal record as the storage layer frames it.
QByteArray framed(const QByteArray &line)
{
    quint32 hash = 2166136261u;
    for (const char c : line) {
        hash ^= quint8(c);
        hash *= 16777619u;
    }
    return '+' + QByteArray::number(line.size()) + ' ' + QByteArray::number(hash, 16) + '\n' + line;
}

QByteArray framed(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += framed(line);
    return bytes;
}

QByteArray marker(const QByteArray &file)
{
    return '=' + QByteArray::number(file.size()) + '\n';
}

// A log large enough to take several turns to copy.
QByteArray bigLog()
{
    static const QByteArray log = [] {
        QByteArray bytes;
        int n = 0;
        while (bytes.size() < 9 * 1024 * 1024)
            bytes += QByteArray::number(n++) + " : строка журнала\r\n";
        return bytes;
    }();
    return log;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeRaw(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class tst_StorageJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void foldDueWhenGrownOrOld_data();
    void foldDueWhenGrownOrOld();
    void readsDoNotFold_data();
    void readsDoNotFold();
    void readsDuringFoldSeeEveryLineOnce();
    void appendsDuringFoldSurviveKill_data();
    void appendsDuringFoldSurviveKill();
    void crashAtEachStageRecovers_data();
    void crashAtEachStageRecovers();
    void damagedRecordDropped_data();
    void damagedRecordDropped();
    void writeDuringFold_data();
    void writeDuringFold();
    void timerFoldsInBackground();

private:
    QString path(const QString &programPath) const { return ProgramFolder::path(programPath); }
    QString journal() const { return Storage::journalPath(path(Log)); }
    void prepend(const QByteArray &line) { Storage::instance().prependLine(path(Log), line, true); }
    // Lets the fold under way take turns until it has copied `turns` times or ended.
    void runFoldTurns(int turns);

    std::unique_ptr<ProgramHome> m_home;
};

void tst_StorageJournal::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    Storage::setReporter([](Storage::Problem, const QString &file, const QString &error) {
        QFAIL(qPrintable(QStringLiteral("unexpected report on %1: %2").arg(file, error)));
    });
}

void tst_StorageJournal::cleanup()
{
    Storage::discard();
    Storage::setReporter({});
}

void tst_StorageJournal::runFoldTurns(int turns)
{
    for (int i = 0; i < turns && Storage::instance().isFolding(path(Log)); ++i)
        QCoreApplication::processEvents();
}

void tst_StorageJournal::foldDueWhenGrownOrOld_data()
{
    QTest::addColumn<qint64>("unfolded");
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<qint64>("ageMs");
    QTest::addColumn<bool>("due");
    const qint64 big = 100 * 1024 * 1024;
    QTest::newRow("small file, interval passed") << qint64(50) << qint64(4000) << qint64(2000) << true;
    QTest::newRow("small file, interval not passed") << qint64(50) << qint64(4000) << qint64(500) << false;
    QTest::newRow("small file, one line") << qint64(20) << qint64(512 * 1024) << qint64(2000) << true;
    QTest::newRow("large file, few lines") << qint64(4000) << big << qint64(2000) << false;
    QTest::newRow("large file, a sixteenth grown") << big / 16 << big << qint64(2000) << true;
    QTest::newRow("large file, lines waited ten minutes") << qint64(80) << big << qint64(600'000) << true;
}

void tst_StorageJournal::foldDueWhenGrownOrOld()
{
    QFETCH(qint64, unfolded);
    QFETCH(qint64, fileSize);
    QFETCH(qint64, ageMs);
    QFETCH(bool, due);
    QCOMPARE(Storage::foldDue(unfolded, fileSize, ageMs, 1000), due);
}

void tst_StorageJournal::readsDoNotFold_data()
{
    QTest::addColumn<std::function<void(const QByteArray &)>>("read");
    using Check = std::function<void(const QByteArray &)>;
    QTest::newRow("bytes") << Check([](const QByteArray &expected) {
        QCOMPARE(TextFile::readBytes(Log), expected);
    });
    QTest::newRow("text") << Check([](const QByteArray &expected) {
        QCOMPARE(TextFile::readAll(Log), Storage::decode(expected));
    });
    QTest::newRow("lines") << Check([](const QByteArray &expected) {
        QCOMPARE(TextFile::readLines(Log), TextFile::splitLines(Storage::decode(expected)));
        QCOMPARE(TextFile::readLines(Log), TextFile::splitLines(Storage::decode(expected))); // kept
    });
    QTest::newRow("exists") << Check([](const QByteArray &) {
        QVERIFY(TextFile::exists(Log));
        QCOMPARE(TextFile::readState(Log), TextFile::ReadState::Readable);
    });
}

void tst_StorageJournal::readsDoNotFold()
{
    QFETCH(std::function<void(const QByteArray &)>, read);
    for (const QByteArray &before : {QByteArray(), QByteArray("old\r\n")}) {
        Storage::discard();
        QFile::remove(path(Log));
        if (!before.isEmpty())
            QVERIFY(writeRaw(path(Log), before));
        QList<QByteArray> lines = {"1 : a\r\n", "2 : b\r\n"};
        for (const QByteArray &line : lines)
            prepend(line);
        read(rewrittenPerLine(before, lines));
        // A line after a read is seen by the next read.
        prepend("3 : c\r\n");
        lines.append("3 : c\r\n");
        read(rewrittenPerLine(before, lines));
        // Nothing was rewritten for the reads.
        QCOMPARE(fileBytes(path(Log)), before);
        QVERIFY(QFile::exists(journal()));
        Storage::instance().flushAll();
        QCOMPARE(fileBytes(path(Log)), rewrittenPerLine(before, lines));
        read(rewrittenPerLine(before, lines));
    }
}

void tst_StorageJournal::readsDuringFoldSeeEveryLineOnce()
{
    const QByteArray old = bigLog();
    QVERIFY(writeRaw(path(Log), old));
    QList<QByteArray> lines = {"1 : a\r\n", "2 : b\r\nc\r\n"};
    for (const QByteArray &line : lines)
        prepend(line);
    Storage::instance().foldInBackground(path(Log));
    QVERIFY(Storage::instance().isFolding(path(Log)));
    int turns = 0;
    while (Storage::instance().isFolding(path(Log))) {
        QVERIFY(++turns < 100);
        const QByteArray late = "late " + QByteArray::number(turns) + "\r\n";
        prepend(late);
        lines.append(late);
        QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(old, lines));
        QCOMPARE(Storage::instance().unfoldedLines(path(Log)).size(), lines.size());
        runFoldTurns(1);
    }
    QVERIFY(turns >= 2); // it did take several turns
    // The fold took in the lines it started with, byte for byte as a rewrite per line
    // would have left them; the late ones wait in the journal.
    QCOMPARE(fileBytes(path(Log)), rewrittenPerLine(old, lines.mid(0, 2)));
    QCOMPARE(Storage::instance().unfoldedLines(path(Log)).size(), lines.size() - 2);
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(old, lines));
    // A turn later the journal holds just the late lines.
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(journal()), framed(lines.mid(2)), 30000);
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(old, lines));
    Storage::instance().flushAll();
    QCOMPARE(fileBytes(path(Log)), rewrittenPerLine(old, lines));
    QVERIFY(!QFile::exists(journal()));
    QCOMPARE(QFile::permissions(path(Log)), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

void tst_StorageJournal::appendsDuringFoldSurviveKill_data()
{
    QTest::addColumn<int>("turns"); // the fold's turns before the kill
    QTest::addColumn<bool>("lateLines");
    QTest::newRow("marker written, nothing copied") << 0 << true;
    QTest::newRow("copy under way") << 1 << true;
    QTest::newRow("copy under way, no late lines") << 1 << false;
    QTest::newRow("fold done, late lines waiting") << 100 << true;
}

void tst_StorageJournal::appendsDuringFoldSurviveKill()
{
    QFETCH(int, turns);
    QFETCH(bool, lateLines);
    const QByteArray old = bigLog();
    QVERIFY(writeRaw(path(Log), old));
    QList<QByteArray> lines = {"1 : a\r\n", "2 : b\r\n"};
    for (const QByteArray &line : lines)
        prepend(line);
    Storage::instance().foldInBackground(path(Log));
    QVERIFY(Storage::instance().isFolding(path(Log)));
    if (lateLines) {
        prepend("3 : c\r\n");
        lines.append("3 : c\r\n");
    }
    runFoldTurns(turns);
    if (lateLines) {
        prepend("4 : d\r\n");
        lines.append("4 : d\r\n");
    }
    Storage::discard(); // killed

    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(fileBytes(path(Log)), rewrittenPerLine(old, lines));
    QVERIFY(!QFile::exists(journal()));
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(old, lines));
}

void tst_StorageJournal::crashAtEachStageRecovers_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("journalBytes");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray old = "old\r\n";
    const QList<QByteArray> first = {"1 : a\r\n", "2 : b\r\n"};
    const QByteArray folded = rewrittenPerLine(old, first);
    const QByteArray all3 = rewrittenPerLine(old, first + QList<QByteArray>{"3 : c\r\n"});
    const QByteArray all4 = rewrittenPerLine(old, first + QList<QByteArray>{"3 : c\r\n", "4 : d\r\n"});

    QTest::newRow("lines only") << old << framed(first) << folded;
    QTest::newRow("marker written, copy under way")
        << old << framed(first) + marker(folded) + framed("3 : c\r\n") << all3;
    QTest::newRow("committed, journal not yet replaced")
        << folded << framed(first) + marker(folded) + framed("3 : c\r\n") << all3;
    QTest::newRow("journal replaced") << folded << framed("3 : c\r\n") << all3;
    QTest::newRow("committed, nothing came after") << folded << framed(first) + marker(folded) << folded;
    // The journal could not be replaced after the first fold; a second one started.
    const QByteArray twice =
        framed(first) + marker(folded) + framed("3 : c\r\n") + marker(all3) + framed("4 : d\r\n");
    QTest::newRow("second fold under way") << folded << twice << all4;
    QTest::newRow("second fold committed") << all3 << twice << all4;
    QTest::newRow("first fold into no file") << QByteArray() << framed(first) + marker(rewrittenPerLine({}, first))
                                             << rewrittenPerLine({}, first);
}

void tst_StorageJournal::crashAtEachStageRecovers()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, journalBytes);
    QFETCH(QByteArray, expected);
    if (!file.isEmpty())
        QVERIFY(writeRaw(path(Log), file));
    QVERIFY(writeRaw(journal(), journalBytes));

    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(fileBytes(path(Log)), expected);
    QVERIFY(!QFile::exists(journal()));
    // And once more: nothing is taken in twice.
    Storage::discard();
    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(TextFile::readBytes(Log), expected);
}

void tst_StorageJournal::damagedRecordDropped_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::newRow("length near the 64-bit maximum") << QByteArray("+9223372036854775800 0\nxyz");
    QTest::newRow("length at the 64-bit maximum") << QByteArray("+9223372036854775807 1a\nxyz");
    QTest::newRow("length past the end") << QByteArray("+4000 1a\nxyz");
    QTest::newRow("negative length") << QByteArray("+-3 1a\nxyz");
    QTest::newRow("length not a number") << QByteArray("+3x 1a\nxyz");
    QTest::newRow("no checksum") << QByteArray("+3\nxyz");
    QTest::newRow("wrong checksum") << QByteArray("+3 1a\nxyz");
    QTest::newRow("marker not a number") << QByteArray("=99999999999999999999999\n");
    QTest::newRow("binary") << QByteArray("\x00\xff\x01\n\n\n", 6);
}

void tst_StorageJournal::damagedRecordDropped()
{
    QFETCH(QByteArray, damaged);
    QList<QString> reports;
    Storage::setReporter([&reports](Storage::Problem problem, const QString &file, const QString &) {
        QCOMPARE(problem, Storage::Problem::Damaged);
        reports.append(file);
    });
    QVERIFY(writeRaw(path(Log), "old\r\n"));
    // The good record before the damage is folded; the one after it cannot be trusted.
    QVERIFY(writeRaw(journal(), framed("1 : a\r\n") + damaged + framed("2 : b\r\n")));

    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(fileBytes(path(Log)), rewrittenPerLine("old\r\n", {"1 : a\r\n"}));
    QVERIFY(!QFile::exists(journal()));
    QCOMPARE(reports, QList<QString>{journal()});

    // New lines go on as usual, and a restart finds nothing more to report.
    prepend("3 : c\r\n");
    Storage::discard();
    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine("old\r\n", {"1 : a\r\n", "3 : c\r\n"}));
    QCOMPARE(reports.size(), 1);
}

void tst_StorageJournal::writeDuringFold_data()
{
    QTest::addColumn<bool>("removal");
    QTest::newRow("rewrite") << false;
    QTest::newRow("removal") << true;
}

void tst_StorageJournal::writeDuringFold()
{
    QFETCH(bool, removal);
    QVERIFY(writeRaw(path(Log), bigLog()));
    prepend("1 : a\r\n");
    Storage::instance().foldInBackground(path(Log));
    runFoldTurns(1);
    QVERIFY(Storage::instance().isFolding(path(Log)));
    prepend("2 : b\r\n");

    if (removal) {
        QVERIFY(TextFile::remove(Log));
        QVERIFY(!TextFile::exists(Log));
    } else {
        QVERIFY(TextFile::writeBytes(Log, "new\r\n"));
        QCOMPARE(TextFile::readBytes(Log), QByteArray("new\r\n"));
    }
    QVERIFY(!Storage::instance().isFolding(path(Log)));
    QVERIFY(!QFile::exists(journal()));
    const QByteArray after = removal ? QByteArray() : QByteArray("new\r\n");
    QCOMPARE(fileBytes(path(Log)), after);

    // Later lines go on top of what was written, and a restart adds nothing.
    prepend("3 : c\r\n");
    Storage::discard();
    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(after, {"3 : c\r\n"}));
}

void tst_StorageJournal::timerFoldsInBackground()
{
    QVERIFY(writeRaw(path(Log), "old\r\n"));
    Storage::instance().setTickInterval(10);
    prepend("1 : a\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(journal()), 30000);
    QCOMPARE(fileBytes(path(Log)), rewrittenPerLine("old\r\n", {"1 : a\r\n"}));
}

QTEST_GUILESS_MAIN(tst_StorageJournal)
#include "tst_storagejournal.moc"
