#include "core/programfolder.h"
#include "settings/botnumbers.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(BotNumbers::AddOutcome)

using Row = BotNumbers::Row;
using Rows = QList<Row>;

class TestBotNumbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void load_data();
    void load();
    void saveWritesSlotsFromTwoAndZeroCounts();
    void reloadedFileIsWrittenWithZeroCounts();
    void saveCreatesSettingsFolder();
    void saveIsOwnerOnly();
    void emptyListRefusedFileUntouched();
    void failedWriteKeepsOldFileAndRows();
    void add_data();
    void add();
    void listedNumberRefused_data();
    void listedNumberRefused();
    void remove_data();
    void remove();
    void hasChangedFollowsEditsAndSave();

private:
    QString filePath() const { return m_home->path() + "/Настройки/Распределение.txt"; }
    void writeFile(const QByteArray &bytes)
    {
        QVERIFY(QDir(m_home->path()).mkpath("Настройки"));
        QVERIFY(FileProbe::writeBytes(filePath(), bytes));
    }

    std::unique_ptr<ProgramHome> m_home;
};

void TestBotNumbers::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void TestBotNumbers::cleanup()
{
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestBotNumbers::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("no file") << QByteArray("<none>") << Rows{};
    QTest::newRow("empty file") << QByteArray() << Rows{};
    QTest::newRow("one empty line") << QByteArray("\r\n") << Rows{};
    QTest::newRow("counts not zero") << QByteArray("2 111 aaa 5\r\n3 222 bbb 17\r\n")
                                     << Rows{{"111", "aaa"}, {"222", "bbb"}};
    QTest::newRow("no count, no last line end") << QByteArray("2 111 aaa") << Rows{{"111", "aaa"}};
    // A password with a blank was cut at the blank by every reader.
    QTest::newRow("password with a blank") << QByteArray("2 111 my pass 0\r\n") << Rows{{"111", "my"}};
    // The page shows the bots the session reads from the file, by the same rules.
    QTest::newRow("lines that are no bots passed over")
        << QByteArray("2\r\n3 111\r\n4 x pw 0\r\n1 333 ccc 0\r\n5 222 bbb 0\r\n") << Rows{{"222", "bbb"}};
    QTest::newRow("list ends at the first empty line")
        << QByteArray("2 111 aaa 0\r\n\r\n3 222 bbb 0\r\n") << Rows{{"111", "aaa"}};
    QTest::newRow("number beyond 32 bits passed over")
        << QByteArray("2 4294967295 aaa 0\r\n3 222 bbb 0\r\n") << Rows{{"222", "bbb"}};
    QTest::newRow("cyrillic password in 1251")
        << QByteArray("2 111 \xef\xe0\xf0\xee\xeb\xfc 0\r\n") << Rows{{"111", "пароль"}};
}

void TestBotNumbers::load()
{
    QFETCH(QByteArray, file);
    QFETCH(Rows, rows);
    if (file != "<none>")
        writeFile(file);
    BotNumbers numbers;
    QSignalSpy changed(&numbers, &BotNumbers::rowsChanged);
    QCOMPARE(numbers.load(), !rows.isEmpty());
    QCOMPARE(numbers.rows(), rows);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!numbers.hasChanged());
}

void TestBotNumbers::saveWritesSlotsFromTwoAndZeroCounts()
{
    BotNumbers numbers;
    QCOMPARE(numbers.add("111", "aaa"), BotNumbers::AddOutcome::Added);
    QCOMPARE(numbers.add("222", "bbb"), BotNumbers::AddOutcome::Added);
    QCOMPARE(numbers.add("333", "пароль"), BotNumbers::AddOutcome::Added);
    QCOMPARE(numbers.rowTexts(), QStringList({"111 aaa", "222 bbb", "333 пароль"}));
    const auto saved = numbers.save();
    QVERIFY(saved);
    QCOMPARE(saved.outcome, BotNumbers::SaveOutcome::Saved);
    QCOMPARE(FileProbe::bytes(filePath()),
             QByteArray("2 111 aaa 0\r\n3 222 bbb 0\r\n4 333 \xef\xe0\xf0\xee\xeb\xfc 0\r\n"));
}

void TestBotNumbers::reloadedFileIsWrittenWithZeroCounts()
{
    writeFile("2 111 aaa 5\r\n3 222 bbb 17\r\n");
    BotNumbers numbers;
    numbers.load();
    QVERIFY(numbers.save());
    QCOMPARE(FileProbe::bytes(filePath()), QByteArray("2 111 aaa 0\r\n3 222 bbb 0\r\n"));
}

void TestBotNumbers::saveCreatesSettingsFolder()
{
    QVERIFY(!QFileInfo::exists(m_home->path() + "/Настройки"));
    BotNumbers numbers;
    numbers.add("111", "aaa");
    QVERIFY(numbers.save());
    QCOMPARE(FileProbe::bytes(filePath()), QByteArray("2 111 aaa 0\r\n"));
}

void TestBotNumbers::saveIsOwnerOnly()
{
    // An older file readable by everyone is tightened too.
    writeFile("2 111 aaa 0\r\n");
    QVERIFY(QFile::setPermissions(filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                  QFile::ReadOther));
    QCOMPARE(FileProbe::unixMode(filePath()), 0644);
    BotNumbers numbers;
    numbers.load();
    QVERIFY(numbers.save());
    QCOMPARE(FileProbe::unixMode(filePath()), 0600);
}

void TestBotNumbers::emptyListRefusedFileUntouched()
{
    const QByteArray old = "2 111 aaa 4\r\n";
    writeFile(old);
    BotNumbers numbers;
    numbers.load();
    QVERIFY(numbers.remove(0));
    const auto saved = numbers.save();
    QVERIFY(!saved);
    QCOMPARE(saved.outcome, BotNumbers::SaveOutcome::EmptyList);
    QCOMPARE(FileProbe::bytes(filePath()), old);
    QVERIFY(numbers.hasChanged());
}

void TestBotNumbers::failedWriteKeepsOldFileAndRows()
{
    const QByteArray old = "2 111 aaa 4\r\n";
    writeFile(old);
    BotNumbers numbers;
    numbers.load();
    numbers.add("222222222", "longer-password1");
    BotNumbers::SaveResult saved;
    {
        FileProbe::NoNewFiles noFiles;
        QVERIFY(noFiles.active());
        saved = numbers.save();
    }
    QCOMPARE(saved.outcome, BotNumbers::SaveOutcome::WriteFailed);
    QVERIFY(!saved.error.isEmpty());
    QCOMPARE(FileProbe::bytes(filePath()), old);
    // Nothing is lost: the rows stay for another try.
    QCOMPARE(numbers.rowTexts(), QStringList({"111 aaa", "222222222 longer-password1"}));
    QVERIFY(numbers.hasChanged());
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_home->path() + "/Настройки").entryList(QDir::Files), QStringList({"Распределение.txt"}));
}

void TestBotNumbers::add_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<BotNumbers::AddOutcome>("outcome");
    using O = BotNumbers::AddOutcome;
    QTest::newRow("number and password") << "123456"
                                         << "secret" << O::Added;
    QTest::newRow("largest login number") << "2147483647"
                                          << "p" << O::Added;
    QTest::newRow("beyond 32 bits") << "2147483648"
                                    << "p" << O::BadNumber;
    QTest::newRow("fifteen digits") << "123456789012345"
                                    << "p" << O::BadNumber;
    QTest::newRow("zero") << "0"
                          << "p" << O::BadNumber;
    QTest::newRow("both cancelled") << ""
                                    << "" << O::NothingEntered;
    QTest::newRow("number cancelled") << ""
                                      << "secret" << O::BadNumber;
    QTest::newRow("sixteen digits") << "1234567890123456"
                                    << "p" << O::BadNumber;
    QTest::newRow("letter in number") << "12a4"
                                      << "secret" << O::BadNumber;
    QTest::newRow("fraction") << "12.5"
                              << "secret" << O::BadNumber;
    QTest::newRow("sign") << "-125"
                          << "secret" << O::BadNumber;
    QTest::newRow("blank in number") << "12 5"
                                     << "secret" << O::BadNumber;
    QTest::newRow("non-ASCII digits") << "١٢٣"
                                      << "secret" << O::BadNumber;
    QTest::newRow("password cancelled") << "123456"
                                        << "" << O::EmptyPassword;
    QTest::newRow("blank in password") << "123456"
                                       << "my pass" << O::PasswordWithBlank;
    QTest::newRow("tab in password") << "123456"
                                     << "my\tpass" << O::PasswordWithBlank;
    QTest::newRow("password outside the code page") << "123456"
                                                    << "日本" << O::PasswordNotStorable;
    QTest::newRow("cyrillic password") << "123456"
                                       << "пароль" << O::Added;
    QTest::newRow("sixteen-byte password") << "123456"
                                           << "0123456789abcdef" << O::Added;
    QTest::newRow("password longer than sixteen bytes") << "123456"
                                                        << "0123456789abcdefg" << O::Added;
}

void TestBotNumbers::add()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(BotNumbers::AddOutcome, outcome);
    BotNumbers numbers;
    QSignalSpy changed(&numbers, &BotNumbers::rowsChanged);
    QCOMPARE(numbers.add(number, password), outcome);
    const bool added = outcome == BotNumbers::AddOutcome::Added;
    QCOMPARE(numbers.rows(), (added ? Rows{{number, password}} : Rows{}));
    QCOMPARE(changed.count(), added ? 1 : 0);
}

void TestBotNumbers::listedNumberRefused_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<BotNumbers::AddOutcome>("outcome");
    QTest::newRow("same number") << "111" << BotNumbers::AddOutcome::AlreadyListed;
    QTest::newRow("leading zero") << "0111" << BotNumbers::AddOutcome::AlreadyListed;
    QTest::newRow("another number") << "1111" << BotNumbers::AddOutcome::Added;
}

void TestBotNumbers::listedNumberRefused()
{
    QFETCH(QString, number);
    QFETCH(BotNumbers::AddOutcome, outcome);
    BotNumbers numbers;
    QCOMPARE(numbers.add("111", "aaa"), BotNumbers::AddOutcome::Added);
    QCOMPARE(numbers.add(number, "bbb"), outcome);
    QCOMPARE(numbers.rows().size(), outcome == BotNumbers::AddOutcome::Added ? 2 : 1);
}

void TestBotNumbers::remove_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first") << 0 << QStringList{"2 b", "3 c"};
    QTest::newRow("middle") << 1 << QStringList{"1 a", "3 c"};
    QTest::newRow("last") << 2 << QStringList{"1 a", "2 b"};
    QTest::newRow("nothing selected") << -1 << QStringList{"1 a", "2 b", "3 c"};
    QTest::newRow("past the end") << 3 << QStringList{"1 a", "2 b", "3 c"};
}

void TestBotNumbers::remove()
{
    QFETCH(int, index);
    QFETCH(QStringList, left);
    BotNumbers numbers;
    numbers.add("1", "a");
    numbers.add("2", "b");
    numbers.add("3", "c");
    QSignalSpy changed(&numbers, &BotNumbers::rowsChanged);
    const bool removed = left.size() == 2;
    QCOMPARE(numbers.remove(index), removed);
    QCOMPARE(numbers.rowTexts(), left);
    QCOMPARE(changed.count(), removed ? 1 : 0);
}

void TestBotNumbers::hasChangedFollowsEditsAndSave()
{
    writeFile("2 111 aaa 0\r\n");
    BotNumbers numbers;
    numbers.load();
    QVERIFY(!numbers.hasChanged());
    numbers.add("222", "bbb");
    QVERIFY(numbers.hasChanged());
    numbers.remove(1);
    QVERIFY(!numbers.hasChanged());
    numbers.add("333", "ccc");
    QVERIFY(numbers.save());
    QVERIFY(!numbers.hasChanged());
    numbers.defaults();
    QVERIFY(numbers.rows().isEmpty());
    QVERIFY(numbers.hasChanged());
}

QTEST_GUILESS_MAIN(TestBotNumbers)
#include "tst_botnumbers.moc"
