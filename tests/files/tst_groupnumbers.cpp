// The numbers file of the user groups: the engine's look-up, the group manager's list,
// adding and deleting numbers, checked byte for byte.
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/groupnumbers.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {
const QString Missing = QStringLiteral("<missing>");

QByteArray cp(const QString &text)
{
    return Cp1251::encode(text);
}
} // namespace

class TestGroupNumbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void groupOf_data();
    void groupOf();
    void groupOfFollowsEveryChange();
    void numbersOf_data();
    void numbersOf();
    void normalizedNumber_data();
    void normalizedNumber();
    void add_data();
    void add();
    void removeNumber_data();
    void removeNumber();
    void unreadableFileIsNeverRewritten();

private:
    void setFile(const QString &content);
    QString fileContent() const;
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestGroupNumbers::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    ProgramFolder::setHome(m_home->path());
}

void TestGroupNumbers::cleanup()
{
    m_home.reset();
}

void TestGroupNumbers::setFile(const QString &content)
{
    if (content == Missing)
        return;
    QVERIFY(TextFile::writeBytes(GroupNumbers::FilePath, cp(content)));
}

QString TestGroupNumbers::fileContent() const
{
    QFile file(TextFile::filePath(GroupNumbers::FilePath));
    if (!file.open(QIODevice::ReadOnly))
        return Missing;
    return Cp1251::decode(file.readAll());
}

void TestGroupNumbers::groupOf_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QString>("group");
    QTest::newRow("missing file") << Missing << "123" << "";
    QTest::newRow("last line wins") << "123:А\r\n5:Б\r\n123:В\r\n" << "123" << "В";
    QTest::newRow("split at the first colon") << "123:Вторая:с:двоеточиями\r\n" << "123" << "Вторая:с:двоеточиями";
    QTest::newRow("exact number only") << "123:А\r\n" << "12" << "";
    QTest::newRow("stored blank never matches") << " 123:А\r\n" << "123" << "";
    QTest::newRow("empty group part") << "123:А\r\n123:\r\n" << "123" << "";
    QTest::newRow("line without colon assigns nothing") << "123:А\r\n123\r\n" << "123" << "А";
    QTest::newRow("unended last line") << "123:Друзья" << "123" << "Друзья";
}

void TestGroupNumbers::groupOf()
{
    QFETCH(QString, content);
    QFETCH(QString, uin);
    QFETCH(QString, group);
    setFile(content);
    QCOMPARE(GroupNumbers::groupOf(uin), group);
}

void TestGroupNumbers::groupOfFollowsEveryChange()
{
    // Asked for every message over what it gathered from the file: each change, by the
    // program or by hand, is seen at the next question.
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("123")), QString());
    QVERIFY(GroupNumbers::add(QStringLiteral("123"), QStringLiteral("Друзья")));
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("123")), QStringLiteral("Друзья"));
    QVERIFY(GroupNumbers::add(QStringLiteral("123"), QStringLiteral("Враги")));
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("123")), QStringLiteral("Враги"));
    setFile(QStringLiteral("5:Свои\r\n"));
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("123")), QString());
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("5")), QStringLiteral("Свои"));
    QVERIFY(TextFile::remove(GroupNumbers::FilePath));
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("5")), QString());
}

void TestGroupNumbers::numbersOf_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("missing file") << Missing << "А" << QStringList();
    QTest::newRow("file order, exact group")
        << "1:А\r\n2:а\r\n3:А\r\n3:А\r\n4:А Б\r\n" << "А" << QStringList{"1", "3", "3"};
    QTest::newRow("blanks inside the group") << "4:А Б\r\n" << "А Б" << QStringList{"4"};
    QTest::newRow("colon in the group") << "7:x:y\r\n" << "x:y" << QStringList{"7"};
    QTest::newRow("empty group") << "8:\r\n9:А\r\n" << "" << QStringList{"8"};
}

void TestGroupNumbers::numbersOf()
{
    QFETCH(QString, content);
    QFETCH(QString, group);
    QFETCH(QStringList, numbers);
    setFile(content);
    QCOMPARE(GroupNumbers::numbersOf(group), numbers);
}

void TestGroupNumbers::normalizedNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("number");
    QTest::newRow("digits") << "123456" << "123456";
    QTest::newRow("blanks around") << "  123 " << "123";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blank only") << "   " << "";
    QTest::newRow("colon") << "12:3" << "";
    QTest::newRow("letter") << "12a" << "";
    QTest::newRow("blank inside") << "12 3" << "";
    QTest::newRow("sign") << "-12" << "";
    QTest::newRow("non-ASCII digit") << QStringLiteral("١٢") << "";
}

void TestGroupNumbers::normalizedNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, number);
    QCOMPARE(GroupNumbers::normalizedNumber(typed), number);
}

void TestGroupNumbers::add_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("after");
    QTest::newRow("creates the file") << Missing << "123" << "Друзья" << true << "123:Друзья\r\n";
    QTest::newRow("empty file") << "" << "123" << "А" << true << "123:А\r\n";
    QTest::newRow("old content kept byte for byte")
        << "5:Б\r\n\r\nhand written\r\n" << "123" << "А" << true << "5:Б\r\n\r\nhand written\r\n123:А\r\n";
    QTest::newRow("unended last line gets its end")
        << "5:Б" << "123" << "А" << true << "5:Б\r\n123:А\r\n";
    QTest::newRow("same number again") << "123:А\r\n" << "123" << "А" << true << "123:А\r\n123:А\r\n";
    QTest::newRow("empty group") << Missing << "123" << "" << true << "123:\r\n";
    QTest::newRow("group with colon and blanks") << Missing << "1" << "a b:c" << true << "1:a b:c\r\n";
    QTest::newRow("not digits refused") << "5:Б\r\n" << "12a" << "А" << false << "5:Б\r\n";
    QTest::newRow("blank refused") << Missing << " 12" << "А" << false << Missing;
    QTest::newRow("empty refused") << Missing << "" << "А" << false << Missing;
}

void TestGroupNumbers::add()
{
    QFETCH(QString, before);
    QFETCH(QString, number);
    QFETCH(QString, group);
    QFETCH(bool, ok);
    QFETCH(QString, after);
    setFile(before);
    QCOMPARE(bool(GroupNumbers::add(number, group)), ok);
    QCOMPARE(fileContent(), after);
}

void TestGroupNumbers::removeNumber_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("after");
    QTest::newRow("every group of the number")
        << "123:А\r\n5:Б\r\n123:Б\r\n6:А\r\n" << "123" << "5:Б\r\n6:А\r\n";
    QTest::newRow("only number deletes the file") << "123:А\r\n123:Б\r\n" << "123" << Missing;
    QTest::newRow("empty file deleted") << "" << "123" << Missing;
    QTest::newRow("missing stays missing") << Missing << "123" << Missing;
    QTest::newRow("no such number keeps the lines") << "5:Б\r\n6:А" << "123" << "5:Б\r\n6:А\r\n";
    QTest::newRow("exact number part") << "12:А\r\n123:А\r\n 12:А\r\n" << "12" << "123:А\r\n 12:А\r\n";
    QTest::newRow("hand-written lines without colon kept") << "123\r\n123:А\r\n" << "123" << "123\r\n";
}

void TestGroupNumbers::removeNumber()
{
    QFETCH(QString, before);
    QFETCH(QString, number);
    QFETCH(QString, after);
    setFile(before);
    QVERIFY(GroupNumbers::removeNumber(number));
    QCOMPARE(fileContent(), after);
}

void TestGroupNumbers::unreadableFileIsNeverRewritten()
{
    // A FIFO where the file should be: something is there that cannot be read.
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Группы")));
    const QString path = TextFile::filePath(GroupNumbers::FilePath);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QVERIFY(!GroupNumbers::add(QStringLiteral("123"), QStringLiteral("А")));
    QVERIFY(!GroupNumbers::removeNumber(QStringLiteral("123")));
    QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
}

QTEST_GUILESS_MAIN(TestGroupNumbers)
#include "tst_groupnumbers.moc"
