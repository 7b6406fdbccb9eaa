// Both blacklists as one list: the rows, the entry window's save, deletes of either
// kind of row, the search, and the change notice after every write.
#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"
#include "records/blacklistbook.h"
#include "support/programhome.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using Row = BlacklistBook::Row;
using Outcome = BlacklistBook::SaveOutcome;
using Mode = BlacklistBook::SaveMode;

namespace {
const QString Gone = QStringLiteral("<gone>");

QString fileText(const QString &path)
{
    return TextFile::readState(path) == TextFile::ReadState::Missing ? Gone : TextFile::readAll(path);
}

void setFile(const QString &path, const QString &text)
{
    if (text != Gone)
        QVERIFY(TextFile::writeAll(path, text));
}
} // namespace

Q_DECLARE_METATYPE(Row)
Q_DECLARE_METATYPE(QList<Row>)

class tst_BlacklistBook : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rows_data();
    void rows();
    void save_data();
    void save();
    void remove_data();
    void remove();
    void find();

private:
    std::unique_ptr<ProgramHome> m_home;
};

void tst_BlacklistBook::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_BlacklistBook::cleanup()
{
    Storage::discard();
    m_home.reset();
}

void tst_BlacklistBook::rows_data()
{
    QTest::addColumn<QString>("users");
    QTest::addColumn<QString>("chat");
    QTest::addColumn<QList<Row>>("rows");
    QTest::newRow("user entry") << "123:^:01.01.2030:^:spam\r\n" << Gone
                                << QList<Row>{{"123", "01.01.2030", "spam", false}};
    QTest::newRow("chat ban") << Gone << "Vasya:^:123:^:01.01.2030 10:00:00:^:flood\r\n"
                              << QList<Row>{{"123", "01.01.2030 10:00:00", "flood", true}};
    QTest::newRow("users first, each in file order")
        << "2:^:02.02.2030:^:b\r\n1:^:01.01.2030:^:a\r\n"
        << "\r\nНик:^:9:^:1.1.2030 1:1:01:^:x\r\n"
        << QList<Row>{{"2", "02.02.2030", "b", false}, {"1", "01.01.2030", "a", false}, {"9", "1.1.2030 1:1:01", "x", true}};
    QTest::newRow("reason with the separator shows whole")
        << "5:^:01.01.2030:^:мат:^:флуд\r\n" << Gone << QList<Row>{{"5", "01.01.2030", "мат:^:флуд", false}};
    QTest::newRow("lines without a number left out") << ":^:01.01.2030:^:x\r\n" << "Ник:^::^:1.1.2030 1:1:01:^:y\r\n"
                                                     << QList<Row>{};
    QTest::newRow("no files") << Gone << Gone << QList<Row>{};
}

void tst_BlacklistBook::rows()
{
    QFETCH(QString, users);
    QFETCH(QString, chat);
    setFile(UserBlacklist::FilePath, users);
    setFile(ChatBanList::FilePath, chat);
    QTEST(BlacklistBook::rows(), "rows");
}

void tst_BlacklistBook::save_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("after");
    const int add = int(Mode::Add);
    const int change = int(Mode::Change);
    const QString listed = QStringLiteral("123456:^:01.01.2030:^:спам\r\n");
    QTest::newRow("add to a missing file") << Gone << add << "123" << "06.03.2008" << "спам" << Outcome::Saved
                                           << "123:^:06.03.2008:^:спам\r\n";
    QTest::newRow("add after a longer number") << listed << add << "12345" << "06.03.2008" << "x" << Outcome::Saved
                                               << listed + "12345:^:06.03.2008:^:x\r\n";
    QTest::newRow("add a listed number") << listed << add << "123456" << "06.03.2008" << "x" << Outcome::NumberListed
                                         << listed;
    QTest::newRow("empty reason") << listed << add << "1" << "06.03.2008" << "" << Outcome::FieldsMissing << listed;
    QTest::newRow("letters in the number") << listed << add << "12a" << "06.03.2008" << "x" << Outcome::FieldsMissing
                                           << listed;
    QTest::newRow("date not a date") << listed << add << "1" << "завтра" << "x" << Outcome::FieldsMissing << listed;
    QTest::newRow("reason out of the code page") << listed << add << "1" << "06.03.2008" << "спам 😀"
                                                 << Outcome::NotEncodable << listed;
    QTest::newRow("change in place") << listed << change << "123456" << "02.02.2031" << "другое" << Outcome::Saved
                                     << "123456:^:02.02.2031:^:другое\r\n";
    // Nothing to change is no success: the window says so.
    QTest::newRow("change of an unlisted number") << listed << change << "7" << "02.02.2031" << "x"
                                                  << Outcome::NotListed << listed;
    QTest::newRow("change with no file") << Gone << change << "7" << "02.02.2031" << "x" << Outcome::NotListed
                                         << Gone;
}

void tst_BlacklistBook::save()
{
    QFETCH(QString, before);
    QFETCH(int, mode);
    QFETCH(QString, number);
    QFETCH(QString, until);
    QFETCH(QString, reason);
    QFETCH(Outcome, outcome);
    setFile(UserBlacklist::FilePath, before);
    BlacklistBook book;
    QSignalSpy changed(&book, &BlacklistBook::changed);
    QCOMPARE(book.save(Mode(mode), number, until, reason), outcome);
    QTEST(fileText(UserBlacklist::FilePath), "after");
    QCOMPARE(changed.size(), outcome == Outcome::Saved ? 1 : 0);
    QVERIFY(TextFile::folderExists(QStringLiteral("\\Списки пользователей")));
}

void tst_BlacklistBook::remove_data()
{
    QTest::addColumn<QString>("users");
    QTest::addColumn<QString>("chat");
    QTest::addColumn<Row>("row");
    QTest::addColumn<QString>("usersAfter");
    QTest::addColumn<QString>("chatAfter");
    const QString users = QStringLiteral("123:^:01.01.2030:^:a\r\n7:^:01.01.2030:^:b\r\n");
    const QString chat = QStringLiteral("Вася:^:123:^:1.1.2030 1:1:01:^:x\r\nПетя:^:8:^:1.1.2030 1:1:01:^:y\r\n"
                                        "Василий:^:123:^:2.2.2030 2:2:02:^:z\r\n");
    QTest::newRow("user row: only the user blacklist") << users << chat << Row{"123", "01.01.2030", "a", false}
                                                       << "7:^:01.01.2030:^:b\r\n" << chat;
    QTest::newRow("chat row: every chat line of the number")
        << users << chat << Row{"123", "1.1.2030 1:1:01", "x", true} << users << "Петя:^:8:^:1.1.2030 1:1:01:^:y\r\n";
    QTest::newRow("last user row: the file goes") << "7:^:01.01.2030:^:b\r\n" << Gone << Row{"7", "01.01.2030", "b", false}
                                                  << Gone << Gone;
    QTest::newRow("user file gone meanwhile") << Gone << Gone << Row{"7", "01.01.2030", "b", false} << Gone << Gone;
    QTest::newRow("last chat ban: one empty line stays")
        << Gone << "Петя:^:8:^:1.1.2030 1:1:01:^:y\r\n" << Row{"8", "1.1.2030 1:1:01", "y", true} << Gone << "\r\n";
}

void tst_BlacklistBook::remove()
{
    QFETCH(QString, users);
    QFETCH(QString, chat);
    QFETCH(Row, row);
    setFile(UserBlacklist::FilePath, users);
    setFile(ChatBanList::FilePath, chat);
    BlacklistBook book;
    QSignalSpy changed(&book, &BlacklistBook::changed);
    QVERIFY(book.remove(row));
    QCOMPARE(changed.size(), 1);
    QTEST(fileText(UserBlacklist::FilePath), "usersAfter");
    QTEST(fileText(ChatBanList::FilePath), "chatAfter");
    // The emptied chat ban list adds no row.
    for (const Row &left : BlacklistBook::rows())
        QVERIFY(left.number != row.number || left.chatBan != row.chatBan);
}

void tst_BlacklistBook::find()
{
    const QList<Row> rows{{"1", "", "", false}, {"12", "", "", false}, {"1", "", "", true}};
    QCOMPARE(BlacklistBook::find(rows, "1", 0), std::optional<int>(0));
    QCOMPARE(BlacklistBook::find(rows, "1", 1), std::optional<int>(2));
    QCOMPARE(BlacklistBook::find(rows, "1", 3), std::nullopt);
    QCOMPARE(BlacklistBook::find(rows, "2", 0), std::nullopt);
}

QTEST_GUILESS_MAIN(tst_BlacklistBook)
#include "tst_blacklistbook.moc"
