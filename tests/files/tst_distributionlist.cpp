// The distribution list: the one line format, the one number rule, its states on disk,
// the count rewrite and the page's write.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/distributionlist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

Q_DECLARE_METATYPE(std::optional<qint32>)
Q_DECLARE_METATYPE(DistributionList::State)

class TestDistributionList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void loginNumber_data();
    void loginNumber();
    void parseLine_data();
    void parseLine();
    void state_data();
    void state();
    void slotForNumber_data();
    void slotForNumber();
    void changeCountKeepsOtherLines();
    void writeNumbersSlotsFromTwo();
    void writeRefusesEmptyAndUnreadable_data();
    void writeRefusesEmptyAndUnreadable();

private:
    QString filePath() const { return TextFile::filePath(DistributionList::FilePath); }
    std::unique_ptr<QTemporaryDir> m_home;
    QStringList m_reports; // the storage layer's reports, by path
};

void TestDistributionList::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    ProgramFolder::setHome(m_home->path());
    m_reports.clear();
    Storage::setReporter([this](Storage::Problem, const QString &path, const QString &) { m_reports << path; });
}

void TestDistributionList::cleanup()
{
    Storage::setReporter({});
    m_home.reset();
}

void TestDistributionList::loginNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint32>>("number");
    QTest::newRow("nine digits") << "123456789" << std::optional<qint32>(123456789);
    QTest::newRow("one") << "1" << std::optional<qint32>(1);
    QTest::newRow("largest") << "2147483647" << std::optional<qint32>(2147483647);
    QTest::newRow("leading zero") << "0123" << std::optional<qint32>(123);
    QTest::newRow("beyond 32 bits") << "2147483648" << std::optional<qint32>();
    QTest::newRow("eleven digits") << "12345678901" << std::optional<qint32>();
    QTest::newRow("zero") << "0" << std::optional<qint32>();
    QTest::newRow("empty") << "" << std::optional<qint32>();
    QTest::newRow("sign") << "-5" << std::optional<qint32>();
    QTest::newRow("blank") << "12 3" << std::optional<qint32>();
    QTest::newRow("non-ASCII digits") << "١٢٣" << std::optional<qint32>();
}

void TestDistributionList::loginNumber()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint32>, number);
    QCOMPARE(DistributionList::loginNumber(text), number);
    QCOMPARE(DistributionList::isLoginNumber(text), number.has_value());
}

void TestDistributionList::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("count");
    QTest::newRow("whole") << "2 111 aaa 5" << true << 2 << "111" << "aaa" << 5;
    QTest::newRow("no count") << "3 111 aaa" << true << 3 << "111" << "aaa" << 0;
    QTest::newRow("count not a number") << "3 111 aaa x" << true << 3 << "111" << "aaa" << 0;
    QTest::newRow("negative count") << "3 111 aaa -4" << true << 3 << "111" << "aaa" << 0;
    QTest::newRow("double blanks") << "2  111  aaa  1" << true << 2 << "111" << "aaa" << 1;
    QTest::newRow("password cut at a blank") << "2 111 my pass 0" << true << 2 << "111" << "my" << 0;
    QTest::newRow("highest slot") << "32400 111 aaa 0" << true << 32400 << "111" << "aaa" << 0;
    QTest::newRow("slot of the main bot") << "1 111 aaa 0" << false << 0 << "" << "" << 0;
    QTest::newRow("slot too high") << "32401 111 aaa 0" << false << 0 << "" << "" << 0;
    QTest::newRow("number beyond 32 bits") << "2 4294967295 aaa 0" << false << 0 << "" << "" << 0;
    QTest::newRow("no password") << "2 111" << false << 0 << "" << "" << 0;
    QTest::newRow("letters for a number") << "2 abc aaa 0" << false << 0 << "" << "" << 0;
}

void TestDistributionList::parseLine()
{
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const std::optional<DistributionList::Entry> entry = DistributionList::parseLine(line);
    QCOMPARE(entry.has_value(), parsed);
    if (!entry)
        return;
    QTEST(entry->index, "index");
    QTEST(entry->number, "number");
    QTEST(entry->password, "password");
    QTEST(entry->count, "count");
}

void TestDistributionList::state_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<DistributionList::State>("state");
    QTest::addColumn<bool>("empty");
    QTest::newRow("missing") << "missing" << DistributionList::State::Missing << true;
    QTest::newRow("empty") << "empty" << DistributionList::State::Empty << true;
    QTest::newRow("listed") << "listed" << DistributionList::State::Listed << false;
    QTest::newRow("a FIFO") << "fifo" << DistributionList::State::Unreadable << false;
}

void TestDistributionList::state()
{
    QFETCH(QString, kind);
    QFETCH(DistributionList::State, state);
    QFETCH(bool, empty);
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Настройки")));
    if (kind == "empty")
        QVERIFY(TextFile::writeBytes(DistributionList::FilePath, QByteArray()));
    else if (kind == "listed")
        QVERIFY(TextFile::writeBytes(DistributionList::FilePath, "2 111 aaa 0\r\n"));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(filePath()).constData(), 0600), 0);
    QCOMPARE(DistributionList::state(), state);
    QCOMPARE(DistributionList::isEmpty(), empty);
    QCOMPARE(DistributionList::load().fileState(), state);
    // An unreadable list is reported, the others are not.
    QCOMPARE(m_reports.contains(filePath()), state == DistributionList::State::Unreadable);
}

void TestDistributionList::slotForNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("slot");
    QTest::newRow("listed") << "222" << 3;
    QTest::newRow("leading zero") << "0222" << 3;
    QTest::newRow("first of two") << "111" << 2;
    QTest::newRow("not listed") << "999" << 1;
    QTest::newRow("after the empty line") << "444" << 1;
    QTest::newRow("not a number") << "abc" << 1;
}

void TestDistributionList::slotForNumber()
{
    QFETCH(QString, number);
    QFETCH(int, slot);
    QVERIFY(TextFile::writeBytes(DistributionList::FilePath,
                                 "2 111 a 0\r\n3 222 b 0\r\n4 111 c 0\r\n\r\n5 444 d 0\r\n"));
    QCOMPARE(DistributionList::load().slotForNumber(number), slot);
}

void TestDistributionList::changeCountKeepsOtherLines()
{
    QVERIFY(TextFile::writeBytes(DistributionList::FilePath, "2 111 a 0\r\nnot a bot\r\n3  222  b  4\r\n"));
    DistributionList list = DistributionList::load();
    QCOMPARE(list.skipped(), QStringList{"not a bot"});
    QVERIFY(list.changeCount(3, 1));
    QCOMPARE(TextFile::readBytes(DistributionList::FilePath), QByteArray("2 111 a 0\r\nnot a bot\r\n3 222 b 5\r\n"));
    QVERIFY(list.changeCount(2, -1)); // never below 0
    QCOMPARE(TextFile::readBytes(DistributionList::FilePath), QByteArray("2 111 a 0\r\nnot a bot\r\n3 222 b 5\r\n"));
    QVERIFY(!list.changeCount(7, 1));
}

void TestDistributionList::writeNumbersSlotsFromTwo()
{
    QVERIFY(DistributionList::write({{"111", "aaa"}, {"222", "пароль"}}));
    QCOMPARE(TextFile::readBytes(DistributionList::FilePath),
             QByteArray("2 111 aaa 0\r\n3 222 \xef\xe0\xf0\xee\xeb\xfc 0\r\n"));
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(filePath()).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0600);
    const QList<DistributionList::Account> accounts = DistributionList::load().accounts();
    QCOMPARE(accounts, (QList<DistributionList::Account>{{"111", "aaa"}, {"222", "пароль"}}));
}

void TestDistributionList::writeRefusesEmptyAndUnreadable_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("no accounts") << false;
    QTest::newRow("unreadable file") << true;
}

void TestDistributionList::writeRefusesEmptyAndUnreadable()
{
    QFETCH(bool, fifo);
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Настройки")));
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(filePath()).constData(), 0600), 0);
        QVERIFY(!DistributionList::write({{"111", "aaa"}}));
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(filePath()).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
    } else {
        QVERIFY(TextFile::writeBytes(DistributionList::FilePath, "2 111 aaa 0\r\n"));
        QVERIFY(!DistributionList::write({}));
        QCOMPARE(TextFile::readBytes(DistributionList::FilePath), QByteArray("2 111 aaa 0\r\n"));
    }
}

QTEST_GUILESS_MAIN(TestDistributionList)
#include "tst_distributionlist.moc"
