// The storage layer: the read cache against edits on disk, the journal of a newest-first
// file across a kill and a restart, reports of refused and unreadable files, and the
// reading of files written on Linux.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "support/programhome.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <functional>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Log = QStringLiteral("\\Логи\\логи.txt");

// What one whole rewrite per line leaves (the format the journal must keep).
QByteArray rewrittenPerLine(QByteArray file, const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        file = file.isEmpty() ? line : line + file + "\r\n";
    return file;
}

// Runs f inside a running event loop, as the bot's handlers run.
void inLoop(const std::function<void()> &f)
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        f();
        loop.quit();
    });
    loop.exec();
}

QByteArray readInLoop(const QString &programPath)
{
    QByteArray bytes;
    inLoop([&] { bytes = TextFile::exists(programPath) ? TextFile::readBytes(programPath) : "<missing>"; });
    return bytes;
}

void writeOnDisk(const QString &file, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile disk(file);
    QVERIFY(disk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(disk.write(bytes), bytes.size());
}

struct Reported
{
    Storage::Problem problem;
    QString path;
};

} // namespace

class tst_Storage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editOnDiskIsReadNext_data();
    void editOnDiskIsReadNext();
    void journalFoldsNewestFirst_data();
    void journalFoldsNewestFirst();
    void journalSurvivesKill();
    void unfoldedLinesReadWithoutFolding();
    void tornJournalTailDropped();
    void foldedJournalNotFoldedTwice();
    void refusedWriteReportedOnce();
    void unreadableNeverRewritten();
    void linuxFilesRead_data();
    void linuxFilesRead();
    void secretFilesTightened();
    void cachedReadCostsNoSystemCall();
    void changeOnDiskSeenAfterNotification_data();
    void changeOnDiskSeenAfterNotification();
    void withoutNotificationsOneStatPerTurn();
    void badLineReportedOncePerVersion();
    void laterAppendsWrittenAsOne_data();
    void laterAppendsWrittenAsOne();
    void refusedLaterAppendReported();
    void longBatchWrittenWithoutWaiting();

private:
    QString path(const QString &programPath) const { return ProgramFolder::path(programPath); }

    std::unique_ptr<ProgramHome> m_home;
    QList<Reported> m_reports;
};

void tst_Storage::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_reports.clear();
    Storage::setReporter([this](Storage::Problem problem, const QString &file, const QString &) {
        m_reports.append({problem, file});
    });
}

void tst_Storage::cleanup()
{
    Storage::discard();
    Storage::setReporter({});
}

void tst_Storage::editOnDiskIsReadNext_data()
{
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<bool>("inPlace"); // same inode, else replaced by a new file
    QTest::newRow("same size, in place") << QByteArray("B\r\n") << true;
    QTest::newRow("longer, in place") << QByteArray("BBB\r\n") << true;
    QTest::newRow("same size, new file") << QByteArray("C\r\n") << false;
    QTest::newRow("emptied") << QByteArray() << true;
}

void tst_Storage::editOnDiskIsReadNext()
{
    QFETCH(QByteArray, edited);
    QFETCH(bool, inPlace);
    const QString file = QStringLiteral("\\Команды\\Общая.txt");
    QVERIFY(TextFile::writeAll(file, QStringLiteral("A\r\n")));
    QCOMPARE(TextFile::readAll(file), QStringLiteral("A\r\n")); // the window's write, seen at once
    QCOMPARE(TextFile::readAll(file), QStringLiteral("A\r\n")); // from memory

    // An editor outside the program changes the file.
    if (!inPlace)
        QVERIFY(QFile::remove(path(file)));
    QFile disk(path(file));
    QVERIFY(disk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    disk.write(edited);
    disk.close();
    QCOMPARE(TextFile::readBytes(file), edited);
    QCOMPARE(TextFile::readLines(file), TextFile::splitLines(QString::fromLatin1(edited)));
}

void tst_Storage::journalFoldsNewestFirst_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no log yet") << QByteArray();
    QTest::newRow("a log") << QByteArray("old\r\n");
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every.append(char(b));
    QTest::newRow("every byte") << every + "\r\n";
}

void tst_Storage::journalFoldsNewestFirst()
{
    QFETCH(QByteArray, before);
    if (!before.isEmpty())
        QVERIFY(TextFile::writeBytes(Log, before));
    const QList<QByteArray> lines = {"1 : a\r\n", "2 : b\r\nc\r\n", "3 : \xb8\r\n"};
    for (const QByteArray &line : lines)
        Storage::instance().prependLine(path(Log), line, true);
    QVERIFY(QFile::exists(Storage::journalPath(path(Log))));
    // A reader sees the lines as if folded, without waiting for the fold: the journal
    // stays; the fold leaves none behind.
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(before, lines));
    QVERIFY(QFile::exists(Storage::journalPath(path(Log))));
    Storage::instance().flushAll();
    QVERIFY(!QFile::exists(Storage::journalPath(path(Log))));
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(before, lines));

    Storage::instance().prependLine(path(Log), "4 : d\r\n", true);
    Storage::instance().flushAll();
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine(before, lines + QList<QByteArray>{"4 : d\r\n"}));
    QCOMPARE(QFile::permissions(path(Log)), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

void tst_Storage::journalSurvivesKill()
{
    QVERIFY(TextFile::writeBytes(Log, "old\r\n"));
    Storage::instance().prependLine(path(Log), "1 : a\r\n", true);
    Storage::instance().prependLine(path(Log), "2 : b\r\n", true);
    Storage::discard(); // killed: nothing folded
    QCOMPARE(QFile(path(Log)).size(), qint64(5));

    // The next run folds what the journal holds before anything else.
    Storage::instance().openNewestFirst(path(Log), true);
    QVERIFY(!QFile::exists(Storage::journalPath(path(Log))));
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine("old\r\n", {"1 : a\r\n", "2 : b\r\n"}));
}

void tst_Storage::unfoldedLinesReadWithoutFolding()
{
    QVERIFY(TextFile::writeBytes(Log, "old\r\n"));
    QVERIFY(Storage::instance().unfoldedLines(path(Log)).isEmpty());
    Storage::instance().prependLine(path(Log), "1 : a\r\n", true);
    Storage::instance().prependLine(path(Log), "2 : b\r\nc\r\n", true);
    QCOMPARE(Storage::instance().unfoldedLines(path(Log)), QList<QByteArray>({"2 : b\r\nc\r\n", "1 : a\r\n"}));
    // Nothing was folded: the log on disk is as it was.
    QVERIFY(QFile::exists(Storage::journalPath(path(Log))));
    QCOMPARE(QFile(path(Log)).size(), qint64(5));
    Storage::instance().flushAll();
    QVERIFY(Storage::instance().unfoldedLines(path(Log)).isEmpty());

    // A journal whose fold is in place already (the run died before removing it) holds
    // nothing beyond the file.
    Storage::instance().prependLine(path(Log), "3 : d\r\n", true);
    const QByteArray journalBytes = [&] {
        QFile journal(Storage::journalPath(path(Log)));
        journal.open(QIODevice::ReadOnly);
        return journal.readAll();
    }();
    Storage::instance().flushAll();
    const qint64 folded = QFile(path(Log)).size();
    Storage::discard();
    QFile journal(Storage::journalPath(path(Log)));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(journalBytes + "=" + QByteArray::number(folded) + "\n");
    journal.close();
    QVERIFY(Storage::instance().unfoldedLines(path(Log)).isEmpty());
}

void tst_Storage::tornJournalTailDropped()
{
    Storage::instance().prependLine(path(Log), "1 : a\r\n", true);
    Storage::instance().prependLine(path(Log), "2 : b\r\n", true);
    Storage::discard();
    // A power loss cut the last record short, or left zeros where it was.
    QFile journal(Storage::journalPath(path(Log)));
    const qint64 whole = journal.size();
    QVERIFY(journal.resize(whole - 3));
    QVERIFY(journal.open(QIODevice::Append));
    journal.write(QByteArray(8, '\0'));
    journal.close();

    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(TextFile::readBytes(Log), QByteArray("1 : a\r\n"));
    // New lines after the recovery are kept.
    Storage::instance().prependLine(path(Log), "3 : c\r\n", true);
    QCOMPARE(TextFile::readBytes(Log), rewrittenPerLine({}, {"1 : a\r\n", "3 : c\r\n"}));
}

void tst_Storage::foldedJournalNotFoldedTwice()
{
    // A run that died after the folded log was in place but before its journal went.
    Storage::instance().prependLine(path(Log), "1 : a\r\n", true);
    const QByteArray journalBytes = [&] {
        QFile journal(Storage::journalPath(path(Log)));
        journal.open(QIODevice::ReadOnly);
        return journal.readAll();
    }();
    Storage::instance().flushAll();
    const QByteArray folded = TextFile::readBytes(Log);
    Storage::discard();
    QFile journal(Storage::journalPath(path(Log)));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(journalBytes + "=" + QByteArray::number(folded.size()) + "\n");
    journal.close();

    Storage::instance().openNewestFirst(path(Log), true);
    QCOMPARE(TextFile::readBytes(Log), folded);
    QVERIFY(!QFile::exists(Storage::journalPath(path(Log))));
}

void tst_Storage::refusedWriteReportedOnce()
{
    // A file where a folder should be: every write below it is refused, root or not.
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Статистика"), QStringLiteral("x")));
    const QString counter = QStringLiteral("\\Статистика\\05.03.2008\\Обращения.txt");
    QVERIFY(!TextFile::writeAll(counter, QStringLiteral(" 1 \r\n")));
    QVERIFY(!TextFile::writeAll(counter, QStringLiteral(" 2 \r\n")));
    QVERIFY(!TextFile::appendLine(counter, QStringLiteral("3")));
    QVERIFY(!TextFile::appendLine(counter, QStringLiteral("4")));
    QCOMPARE(m_reports.size(), 2); // once per file and kind
    QCOMPARE(m_reports.at(0).problem, Storage::Problem::Write);
    QCOMPARE(m_reports.at(1).problem, Storage::Problem::Append);
    QCOMPARE(m_reports.at(0).path, path(counter));

    // Once the disk takes it again, a later refusal is news again.
    QVERIFY(TextFile::remove(QStringLiteral("\\Статистика")));
    QVERIFY(TextFile::writeAll(counter, QStringLiteral(" 5 \r\n")));
    QCOMPARE(TextFile::readAll(counter), QStringLiteral(" 5 \r\n"));
    QVERIFY(QFile::remove(path(counter)));
    QVERIFY(QDir(path(QStringLiteral("\\Статистика"))).removeRecursively());
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Статистика"), QStringLiteral("x")));
    QVERIFY(!TextFile::writeAll(counter, QStringLiteral(" 6 \r\n")));
    QCOMPARE(m_reports.size(), 3);
}

void tst_Storage::unreadableNeverRewritten()
{
    // A named pipe stands for a file that exists but cannot be read: unlike a file
    // without read permission it stops root too (the tests may run as root), and
    // opening it to read would block the bot.
    const QString list = QStringLiteral("\\Настройки\\Распределение.txt");
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Настройки")));
    QCOMPARE(::mkfifo(QFile::encodeName(path(list)).constData(), 0600), 0);
    QCOMPARE(TextFile::readState(list), TextFile::ReadState::Unreadable);
    QCOMPARE(TextFile::readAll(list), QString());
    QCOMPARE(TextFile::readState(QStringLiteral("\\Настройки\\нет.txt")), TextFile::ReadState::Missing);

    QVERIFY(!TextFile::writeLines(list, {QStringLiteral("1 2")}));
    QVERIFY(!TextFile::writeLines(list, {QStringLiteral("1 2")}));
    QVERIFY(!TextFile::appendLine(list, QStringLiteral("3 4")));
    struct stat st{};
    QCOMPARE(::stat(QFile::encodeName(path(list)).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode)); // still there, untouched

    int kept = 0;
    int read = 0;
    for (const Reported &report : std::as_const(m_reports)) {
        kept += report.problem == Storage::Problem::KeptUnreadable;
        read += report.problem == Storage::Problem::Read;
    }
    QCOMPARE(kept, 1);
    QCOMPARE(read, 1);

    if (::geteuid() != 0) {
        // Without root, a file without read permission is the everyday case.
        const QString secret = QStringLiteral("\\Настройки\\Админ.txt");
        QVERIFY(TextFile::writeAll(secret, QStringLiteral("123\r\n")));
        QVERIFY(QFile::setPermissions(path(secret), QFile::WriteOwner));
        QCOMPARE(TextFile::readState(secret), TextFile::ReadState::Unreadable);
        QVERIFY(!TextFile::writeAll(secret, QString()));
        QVERIFY(QFile::setPermissions(path(secret), QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(TextFile::readAll(secret), QStringLiteral("123\r\n"));
    }
}

void tst_Storage::linuxFilesRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("1251, CR LF") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\n") << QStringLiteral("Привет\r\n");
    QTest::newRow("1251, LF only") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\na\n") << QStringLiteral("Привет\r\na\r\n");
    QTest::newRow("ASCII, LF only") << QByteArray("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("UTF-8") << QStringLiteral("Привет\r\n").toUtf8() << QStringLiteral("Привет\r\n");
    QTest::newRow("UTF-8, LF only") << QStringLiteral("Команда: привет\nДействие: да\n====\n").toUtf8()
                                    << QStringLiteral("Команда: привет\r\nДействие: да\r\n====\r\n");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbfok\r\n") << QStringLiteral("ok\r\n");
    QTest::newRow("1251 that is nearly UTF-8") << QByteArray("\xd0\xb8\xd0") << QStringLiteral("РёР");
    QTest::newRow("mixed line ends kept") << QByteArray("a\r\nb\nc") << QStringLiteral("a\r\nb\nc");
}

void tst_Storage::linuxFilesRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString file = QStringLiteral("\\Команды\\Общая.txt");
    QVERIFY(TextFile::writeBytes(file, bytes));
    QCOMPARE(TextFile::readAll(file), text);
    QCOMPARE(TextFile::readBytes(file), bytes); // the bytes themselves are never changed
    // What the program writes stays 1251 with CR LF.
    QVERIFY(TextFile::writeLines(file, TextFile::readLines(file)));
    QVERIFY(!TextFile::readBytes(file).contains("\xd0\x9f")); // no UTF-8 "П"
}

void tst_Storage::secretFilesTightened()
{
    QVERIFY(TextFile::writeAll(Log, QStringLiteral("x\r\n")));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Статистика\\05.03.2008\\1.txt"), QStringLiteral("x\r\n")));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"), QStringLiteral("x\r\n")));
    const auto wide = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup |
                      QFile::ReadOther;
    for (const QString &file : {Log, QStringLiteral("\\Статистика\\05.03.2008\\1.txt"), QStringLiteral("\\Команды\\Общая.txt")})
        QVERIFY(QFile::setPermissions(path(file), wide));

    QCOMPARE(Storage::tighten({path(Log), path(QStringLiteral("\\Статистика"))}), 2);
    QVERIFY(!(QFile::permissions(path(Log)) & QFile::ReadOther));
    QVERIFY(!(QFile::permissions(path(QStringLiteral("\\Статистика\\05.03.2008\\1.txt"))) & QFile::ReadGroup));
    QVERIFY(QFile::permissions(path(QStringLiteral("\\Команды\\Общая.txt"))) & QFile::ReadOther); // not secret
}

void tst_Storage::cachedReadCostsNoSystemCall()
{
    const QString commands = QStringLiteral("\\Команды\\Общая.txt");
    const QString missing = QStringLiteral("\\Команды\\Друзья.txt");
    const QString missingFolder = QStringLiteral("\\Чат\\Комнаты.txt");
    const QString log = QStringLiteral("\\Логи\\неизвестные.txt");
    QVERIFY(TextFile::writeAll(commands, QStringLiteral("Команда: привет\r\n")));
    QVERIFY(TextFile::appendLine(log, QStringLiteral("первая")));
    inLoop([&] {
        // The first look at each file.
        TextFile::readLines(commands);
        TextFile::readAll(missing);
        TextFile::exists(missingFolder);
        TextFile::readAll(log);
        const quint64 before = Storage::instance().readSystemCalls();
        for (int i = 0; i < 100; ++i) {
            QCOMPARE(TextFile::readLines(commands), QStringList{QStringLiteral("Команда: привет")});
            QCOMPARE(TextFile::readState(missing), TextFile::ReadState::Missing);
            QVERIFY(!TextFile::exists(missingFolder));
            QVERIFY(TextFile::exists(commands));
        }
        // The bot's own append is read from memory too.
        QVERIFY(TextFile::appendLine(log, QStringLiteral("вторая")));
        QCOMPARE(TextFile::readLines(log), QStringList({QStringLiteral("первая"), QStringLiteral("вторая")}));
        QCOMPARE(Storage::instance().readSystemCalls(), before);
    });
}

void tst_Storage::changeOnDiskSeenAfterNotification_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("before"); // there before the change
    QTest::addColumn<QByteArray>("after"); // empty: deleted
    QTest::addColumn<bool>("replace"); // a new file renamed over it, as editors save
    const QString commands = QStringLiteral("\\Команды\\Общая.txt");
    QTest::newRow("edited in place") << commands << true << QByteArray("B\r\n") << false;
    QTest::newRow("same size in place") << commands << true << QByteArray("C\r\n") << false;
    QTest::newRow("replaced") << commands << true << QByteArray("D\r\n") << true;
    QTest::newRow("deleted") << commands << true << QByteArray() << false;
    QTest::newRow("created") << commands << false << QByteArray("E\r\n") << false;
    QTest::newRow("created with its folder") << QStringLiteral("\\Чат\\Комнаты\\Лес.txt") << false
                                             << QByteArray("F\r\n") << false;
}

void tst_Storage::changeOnDiskSeenAfterNotification()
{
    QFETCH(QString, file);
    QFETCH(bool, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, replace);
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Команды")));
    if (before)
        QVERIFY(TextFile::writeBytes(file, "A\r\n"));
    QCOMPARE(readInLoop(file), before ? QByteArray("A\r\n") : QByteArray("<missing>"));

    // Another program changes it.
    if (after.isEmpty()) {
        QVERIFY(QFile::remove(path(file)));
    } else if (replace) {
        writeOnDisk(path(file) + QStringLiteral(".new"), after);
        QVERIFY(::rename(QFile::encodeName(path(file) + QStringLiteral(".new")).constData(),
                         QFile::encodeName(path(file)).constData()) == 0);
    } else {
        writeOnDisk(path(file), after);
    }
    QTRY_COMPARE_WITH_TIMEOUT(readInLoop(file), after.isEmpty() ? QByteArray("<missing>") : after, 20000);
}

void tst_Storage::withoutNotificationsOneStatPerTurn()
{
    Storage::discard();
    Storage::setNotificationsForTest(false);
    const QString file = QStringLiteral("\\Команды\\Общая.txt");
    QVERIFY(TextFile::writeBytes(file, "A\r\n"));
    inLoop([&] {
        const quint64 before = Storage::instance().readSystemCalls();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(TextFile::readBytes(file), QByteArray("A\r\n"));
        QVERIFY(Storage::instance().readSystemCalls() - before <= 1);
    });
    writeOnDisk(path(file), "BB\r\n");
    // The next turn looks again.
    QCOMPARE(readInLoop(file), QByteArray("BB\r\n"));
    Storage::setNotificationsForTest(true);
}

void tst_Storage::badLineReportedOncePerVersion()
{
    const QString file = QStringLiteral("\\Чат\\Комнаты.txt");
    QList<QString> errors;
    Storage::setReporter([&errors](Storage::Problem problem, const QString &, const QString &error) {
        QCOMPARE(problem, Storage::Problem::BadLine);
        errors.append(error);
    });
    QVERIFY(TextFile::writeBytes(file, "Лес\r\n\x01\x02\r\n"));
    QCOMPARE(TextFile::lineTrouble(TextFile::readLines(file).at(1)), QStringLiteral("в строке двоичные данные"));
    TextFile::reportBadLine(file, 2, TextFile::lineTrouble(TextFile::readLines(file).at(1)));
    TextFile::reportBadLine(file, 2, QStringLiteral("again"));
    TextFile::reportBadLine(file, 7, QStringLiteral("another line of the same version"));
    QCOMPARE(errors, QList<QString>{QStringLiteral("строка 2: в строке двоичные данные")});
    // The program's own append, and a rewrite that keeps the lines, leave the told line as it was.
    QVERIFY(TextFile::appendLine(file, QStringLiteral("Поле")));
    TextFile::reportBadLine(file, 2, QStringLiteral("после добавления"));
    QVERIFY(TextFile::writeLines(file, TextFile::readLines(file) << QStringLiteral("Луг"), TextFile::Option::KeepsLines));
    TextFile::reportBadLine(file, 2, QStringLiteral("после переписи"));
    QCOMPARE(errors.size(), 1);
    // Another program's edit is news, and so is a rewrite that does not say it keeps the lines.
    writeOnDisk(path(file), "\x01\r\n");
    QCOMPARE(TextFile::readLines(file).size(), 1);
    TextFile::reportBadLine(file, 1, QStringLiteral("после правки"));
    QCOMPARE(errors.size(), 2);
    QVERIFY(TextFile::writeBytes(file, "\x01\x01\r\n"));
    TextFile::reportBadLine(file, 1, QStringLiteral("после записи"));
    QCOMPARE(errors.size(), 3);
    // A line told of before an edit someone else made is not carried by a later append.
    writeOnDisk(path(file), "\x02\r\n");
    QCOMPARE(TextFile::readLines(file).size(), 1);
    QVERIFY(TextFile::appendLine(file, QStringLiteral("Поле")));
    TextFile::reportBadLine(file, 1, QStringLiteral("правка, потом добавление"));
    QCOMPARE(errors.size(), 4);
    QVERIFY(Storage::problemMessage(Storage::Problem::BadLine, path(file), errors.at(0)).contains(QStringLiteral("строка 2")));
    QCOMPARE(TextFile::lineTrouble(QString(5000, QLatin1Char('a'))), QStringLiteral("строка длиннее 4096 знаков"));
    QCOMPARE(TextFile::lineTrouble(QStringLiteral("a\tb")), QString());
}


void tst_Storage::laterAppendsWrittenAsOne_data()
{
    QTest::addColumn<QByteArray>("before"); // on disk; "<missing>": no file
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("byRead"); // a read writes them, else the flush at exit
    const QStringList lines{QStringLiteral("один"), QStringLiteral("two :^: ==== ^&^&")};
    const QByteArray cp1251 = "\xee\xe4\xe8\xed\r\ntwo :^: ==== ^&^&\r\n";
    QTest::newRow("new file, read") << QByteArray("<missing>") << lines << cp1251 << true;
    QTest::newRow("new file, exit") << QByteArray("<missing>") << lines << cp1251 << false;
    QTest::newRow("unended last line") << QByteArray("A") << lines << "A\r\n" + cp1251 << true;
    QTest::newRow("UTF-8 stays UTF-8")
        << QByteArray("\xd0\xb0\r\n") << QStringList{QStringLiteral("б"), QStringLiteral("€")}
        << QByteArray("\xd0\xb0\r\n\xd0\xb1\r\n\xe2\x82\xac\r\n") << false;
}

void tst_Storage::laterAppendsWrittenAsOne()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, after);
    QFETCH(bool, byRead);
    const QString file = QStringLiteral("\\Статистика\\05.03.2008\\123.txt");
    if (before != "<missing>")
        writeOnDisk(path(file), before);
    for (const QString &line : lines)
        Storage::instance().appendLater(path(file), line + QStringLiteral("\r\n"), true);
    // Nothing written yet: one write takes them all later.
    QCOMPARE(QFileInfo::exists(path(file)), before != "<missing>");
    if (QFileInfo::exists(path(file))) {
        QFile disk(path(file));
        QVERIFY(disk.open(QIODevice::ReadOnly));
        QCOMPARE(disk.readAll(), before);
    }
    if (byRead)
        QCOMPARE(TextFile::readBytes(file), after);
    else
        Storage::instance().flushAll();
    QFile disk(path(file));
    QVERIFY(disk.open(QIODevice::ReadOnly));
    QCOMPARE(disk.readAll(), after);
    if (before == "<missing>")
        QCOMPARE(QFileInfo(path(file)).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
    QVERIFY(m_reports.isEmpty());
}

void tst_Storage::refusedLaterAppendReported()
{
    // A file where the folder should be refuses the write when it comes.
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Статистика"), QStringLiteral("x")));
    const QString file = QStringLiteral("\\Статистика\\05.03.2008\\123.txt");
    Storage::instance().appendLater(path(file), QStringLiteral("1\r\n"), true);
    QVERIFY(m_reports.isEmpty());
    Storage::instance().flushAll();
    QCOMPARE(m_reports.size(), 1);
    QCOMPARE(m_reports.at(0).problem, Storage::Problem::Append);
    QCOMPARE(m_reports.at(0).path, path(file));
    QCOMPARE(TextFile::readState(file), TextFile::ReadState::Missing);
}

void tst_Storage::longBatchWrittenWithoutWaiting()
{
    // A long burst does not pile up in memory until the next tick.
    const QString file = path(QStringLiteral("WORK.log"));
    const QString line = QString(998, QLatin1Char('x')) + QStringLiteral("\r\n");
    for (int i = 0; i < 300; ++i)
        Storage::instance().appendLater(file, line, true);
    QVERIFY(QFileInfo(file).size() >= 256 * 1000);
    QCOMPARE(TextFile::readBytes(QStringLiteral("WORK.log")).size(), 300 * 1000);
}

QTEST_GUILESS_MAIN(tst_Storage)
#include "tst_storage.moc"
