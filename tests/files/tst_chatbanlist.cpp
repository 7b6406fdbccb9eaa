// The chat ban list: the line as readers cut it, the until moment, and the writers that
// append, remove by number, by nick and by a test, leaving one empty line when nothing
// remains.
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {
const QString Missing = QStringLiteral("<missing>");
} // namespace

class TestChatBanList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void parseLine_data();
    void parseLine();
    void untilMoment_data();
    void untilMoment();
    void add_data();
    void add();
    void isBanned_data();
    void isBanned();
    void fieldsReadBackAsWritten();
    void checksFollowEveryChange();
    void removeNumber_data();
    void removeNumber();
    void removeNickReturnsTheRemovedBans();
    void removeIfKeepsLinesThatDoNotParse();
    void unreadableListIsNeverRewritten();

private:
    QString fileText() const;
    void setFile(const QString &text);
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestChatBanList::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    ProgramFolder::setHome(m_home->path());
}

void TestChatBanList::cleanup()
{
    Storage::discard();
    m_home.reset();
}

QString TestChatBanList::fileText() const
{
    if (TextFile::readState(ChatBanList::FilePath) == TextFile::ReadState::Missing)
        return Missing;
    return TextFile::readAll(ChatBanList::FilePath);
}

void TestChatBanList::setFile(const QString &text)
{
    if (text != Missing)
        QVERIFY(TextFile::writeAll(ChatBanList::FilePath, text));
}

void TestChatBanList::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("reason");
    QTest::newRow("four fields") << "Вася:^:123:^:01.01.2030 10:00:00:^:флуд" << true << "Вася" << "123"
                                 << "01.01.2030 10:00:00" << "флуд";
    QTest::newRow("reason with the separator")
        << "Вася:^:123:^:2.4.2008 15:5:07:^:мат:^:флуд" << true << "Вася" << "123" << "2.4.2008 15:5:07"
        << "мат:^:флуд";
    QTest::newRow("empty reason") << "Ник:^:7:^:1.1.2030 1:1:01:^:" << true << "Ник" << "7"
                                  << "1.1.2030 1:1:01" << "";
    QTest::newRow("no reason field") << "Ник:^:7:^:1.1.2030 1:1:01" << true << "Ник" << "7" << "1.1.2030 1:1:01"
                                     << "";
    QTest::newRow("nick and number only") << "Ник:^:7" << true << "Ник" << "7" << "" << "";
    QTest::newRow("empty line") << "" << false << "" << "" << "" << "";
    QTest::newRow("no separator") << "Ник 7" << false << "" << "" << "" << "";
}

void TestChatBanList::parseLine()
{
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const std::optional<ChatBanList::Entry> entry = ChatBanList::parseLine(line);
    QCOMPARE(entry.has_value(), parsed);
    if (!entry)
        return;
    QTEST(entry->nick, "nick");
    QTEST(entry->number, "number");
    QTEST(entry->until, "until");
    QTEST(entry->reason, "reason");
    if (line.count(QStringLiteral(":^:")) == 3)
        QCOMPARE(ChatBanList::formatLine(*entry), line);
}

void TestChatBanList::untilMoment_data()
{
    QTest::addColumn<QString>("until");
    QTest::addColumn<QDateTime>("moment"); // invalid: not read
    QTest::newRow("zero-padded") << "05.03.2008 09:05:07" << QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7));
    QTest::newRow("unpadded hour") << "05.03.2008 9:05:07" << QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7));
    QTest::newRow("computed parts") << "2.4.2008 15:5:07" << QDateTime(QDate(2008, 4, 2), QTime(15, 5, 7));
    QTest::newRow("minute 60") << "05.03.2008 09:60:07" << QDateTime(QDate(2008, 3, 5), QTime(10, 0, 7));
    QTest::newRow("hour 24") << "31.12.2008 24:10:00" << QDateTime(QDate(2009, 1, 1), QTime(0, 10));
    QTest::newRow("no second") << "1.1.2030 10:00" << QDateTime(QDate(2030, 1, 1), QTime(10, 0));
    QTest::newRow("far ahead") << "5.3.3108 9:5:07" << QDateTime(QDate(3108, 3, 5), QTime(9, 5, 7));
    QTest::newRow("date only") << "05.03.2008" << QDateTime();
    QTest::newRow("impossible day") << "30.02.2008 10:00:00" << QDateTime();
    QTest::newRow("minute 61") << "05.03.2008 09:61:00" << QDateTime();
    QTest::newRow("words") << "навсегда" << QDateTime();
}

void TestChatBanList::untilMoment()
{
    QFETCH(QString, until);
    QFETCH(QDateTime, moment);
    const std::optional<QDateTime> read = ChatBanList::untilMoment(until);
    QCOMPARE(read.has_value(), moment.isValid());
    if (read)
        QCOMPARE(*read, moment);
}

void TestChatBanList::add_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("after");
    const QString line = QStringLiteral("Вася:^:123:^:30.1.2009 10:1:00:^:флуд\r\n");
    QTest::newRow("creates the file") << Missing << "Вася" << "123" << "флуд" << true << line;
    QTest::newRow("after the empty line") << "\r\n" << "Вася" << "123" << "флуд" << true << "\r\n" + line;
    QTest::newRow("after an unended line")
        << "Петя:^:7:^:1.1.2030 1:1:01:^:x" << "Вася" << "123" << "флуд" << true
        << "Петя:^:7:^:1.1.2030 1:1:01:^:x\r\n" + line;
    QTest::newRow("same number again") << line << "Вася" << "123" << "флуд" << true << line + line;
    QTest::newRow("nick with the separator") << Missing << "Ва:^:ся" << "123" << "флуд" << false << Missing;
    QTest::newRow("reason with the separator") << Missing << "Вася" << "123" << "a:^:b" << false << Missing;
    // Whatever nick the member took, the ban holds: the checks look for the number.
    QTest::newRow("nick ending in the separator's head")
        << Missing << "Вася:^" << "123" << "флуд" << true << "Вася:^:^:123:^:30.1.2009 10:1:00:^:флуд\r\n";
    QTest::newRow("reason with a line break") << Missing << "Вася" << "123" << "a\r\nb" << false << Missing;
    QTest::newRow("number not digits") << Missing << "Вася" << "12a" << "флуд" << false << Missing;
    QTest::newRow("no number") << Missing << "Вася" << "" << "флуд" << false << Missing;
}

void TestChatBanList::add()
{
    QFETCH(QString, before);
    QFETCH(QString, nick);
    QFETCH(QString, number);
    QFETCH(QString, reason);
    QFETCH(bool, written);
    setFile(before);
    const TextFile::Result result = ChatBanList::add({nick, number, QStringLiteral("30.1.2009 10:1:00"), reason});
    QCOMPARE(bool(result), written);
    QCOMPARE(result.error.isEmpty(), written);
    QTEST(fileText(), "after");
    if (written)
        QVERIFY(ChatBanList::isBanned(number));
}

void TestChatBanList::isBanned_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("banned");
    const QString list = QStringLiteral("\r\nВася:^:123:^:1.1.2030 1:1:01:^:x\r\n");
    QTest::newRow("listed") << list << "123" << true;
    QTest::newRow("longer number") << list << "1234" << false;
    QTest::newRow("shorter number") << list << "12" << false;
    QTest::newRow("expired until is still a ban") << "Вася:^:5:^:1.1.2000 1:1:01:^:x\r\n" << "5" << true;
    QTest::newRow("empty number") << list << "" << false;
    QTest::newRow("missing file") << Missing << "123" << false;
    // The whole text counts, as a search of ":^:<number>:^:" in it.
    QTest::newRow("overlapping separators") << ":^:^:5:^:\r\n" << "5" << true;
    QTest::newRow("in the reason") << "Вася:^:1:^:1.1.2030 1:1:01:^:x:^:77:^:y\r\n" << "77" << true;
    QTest::newRow("across a line end") << "a:^:1\r\nb:^:2:^:\r\n" << "1\r\nb" << true;
    QTest::newRow("the date field") << list << "1.1.2030 1:1:01" << true;
    QTest::newRow("a number with separators") << ":^:1:^:2:^:\r\n" << "1:^:2" << true;
    QTest::newRow("first field alone") << list << "Вася" << false;
}

void TestChatBanList::isBanned()
{
    QFETCH(QString, file);
    QFETCH(QString, number);
    setFile(file);
    QTEST(ChatBanList::isBanned(number), "banned");
}

void TestChatBanList::fieldsReadBackAsWritten()
{
    // Whatever add() takes reads back as it was given (a nick holds no ':' when read);
    // an until ending in the head of the separator after it is refused.
    const QList<ChatBanList::Entry> entries = {
        {QStringLiteral("Вася"), QStringLiteral("123"), QStringLiteral("30.1.2009 10:1:00:^"), QStringLiteral("x")},
        {QStringLiteral("Вася"), QStringLiteral("123"), QStringLiteral("30.1.2009 10:1:00:"), QStringLiteral("x:^")},
        {QStringLiteral("Вася"), QStringLiteral("123"), QStringLiteral("30.1.2009 10:1:00"), QStringLiteral(":^")},
    };
    for (const ChatBanList::Entry &entry : entries) {
        if (ChatBanList::refusal(entry).isEmpty())
            QCOMPARE(ChatBanList::parseLine(ChatBanList::formatLine(entry)), entry);
    }
    QVERIFY(!ChatBanList::refusal(entries.at(0)).isEmpty());
    QVERIFY(ChatBanList::refusal(entries.at(1)).isEmpty());
    QVERIFY(ChatBanList::refusal(entries.at(2)).isEmpty());
}

void TestChatBanList::checksFollowEveryChange()
{
    // Both ban checks run for every message over what they gathered from the file; each
    // change of the file, by the program or by hand, is seen at the next check.
    QVERIFY(!ChatBanList::isBanned(QStringLiteral("123")));
    QVERIFY(!UserBlacklist::banOf(QStringLiteral("123")));
    for (int round = 0; round < 3; ++round) {
        const QString number = QString::number(123 + round);
        QVERIFY(ChatBanList::add({QStringLiteral("Вася"), number, QStringLiteral("1.1.2030 1:01:01"),
                                  QStringLiteral("флуд")}));
        QVERIFY(TextFile::appendLine(UserBlacklist::FilePath, number + QStringLiteral(":^:01.01.2030:^:спам")));
        for (int asked = 0; asked < 2; ++asked) {
            QVERIFY(ChatBanList::isBanned(number));
            QCOMPARE(UserBlacklist::banOf(number)->reason, QStringLiteral("спам"));
        }
        QVERIFY(!ChatBanList::isBanned(QString::number(124 + round)));
        QVERIFY(!UserBlacklist::banOf(QString::number(124 + round)));
    }
    QVERIFY(TextFile::writeAll(ChatBanList::FilePath, QStringLiteral("Петя:^:9:^:1.1.2030 1:01:01:^:x\r\n")));
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, QStringLiteral("9:^:01.01.2030:^:y\r\n")));
    QVERIFY(!ChatBanList::isBanned(QStringLiteral("123")));
    QVERIFY(!UserBlacklist::banOf(QStringLiteral("123")));
    QVERIFY(ChatBanList::isBanned(QStringLiteral("9")));
    QCOMPARE(UserBlacklist::banOf(QStringLiteral("9"))->reason, QStringLiteral("y"));
    QVERIFY(TextFile::remove(ChatBanList::FilePath));
    QVERIFY(TextFile::remove(UserBlacklist::FilePath));
    QVERIFY(!ChatBanList::isBanned(QStringLiteral("9")));
    QVERIFY(!UserBlacklist::banOf(QStringLiteral("9")));
}

void TestChatBanList::removeNumber_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("after");
    const QString a = QStringLiteral("Вася:^:123:^:1.1.2030 1:1:01:^:x\r\n");
    const QString b = QStringLiteral("Петя:^:456:^:1.1.2030 1:1:01:^:y\r\n");
    const QString a2 = QStringLiteral("Василий:^:123:^:2.2.2030 2:2:02:^:z\r\n");
    QTest::newRow("one of two") << a + b << "123" << 1 << b;
    QTest::newRow("every line of the number") << a + b + a2 << "123" << 2 << b;
    QTest::newRow("last ban leaves one empty line") << a << "123" << 1 << "\r\n";
    QTest::newRow("leading empty line dropped") << "\r\n" + a + b << "456" << 1 << a;
    QTest::newRow("not listed: untouched") << "\r\n" + a << "999" << 0 << "\r\n" + a;
    QTest::newRow("whole number only") << a << "12" << 0 << a;
    QTest::newRow("missing file stays missing") << Missing << "123" << 0 << Missing;
}

void TestChatBanList::removeNumber()
{
    QFETCH(QString, before);
    QFETCH(QString, number);
    setFile(before);
    int removed = -1;
    QVERIFY(ChatBanList::removeNumber(number, &removed));
    QTEST(removed, "removed");
    QTEST(fileText(), "after");
}

void TestChatBanList::removeNickReturnsTheRemovedBans()
{
    setFile(QStringLiteral("Вася:^:1:^:1.1.2030 1:1:01:^:x\r\nвася:^:2:^:1.1.2030 1:1:01:^:y\r\n"
                           "Вася:^:3:^:2.2.2030 2:2:02:^:z\r\n"));
    QList<ChatBanList::Entry> removed;
    QVERIFY(ChatBanList::removeNick(QStringLiteral("Вася"), &removed));
    QCOMPARE(removed.size(), 2);
    QCOMPARE(removed.last().number, QStringLiteral("3"));
    QCOMPARE(fileText(), QStringLiteral("вася:^:2:^:1.1.2030 1:1:01:^:y\r\n"));
    QCOMPARE(ChatBanList::entries().size(), 1);
}

void TestChatBanList::removeIfKeepsLinesThatDoNotParse()
{
    setFile(QStringLiteral("мусор\r\nВася:^:1:^:1.1.2000 1:1:01:^:x\r\nПетя:^:2:^:1.1.2030 1:1:01:^:y\r\n"));
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    QList<ChatBanList::Entry> removed;
    QVERIFY(ChatBanList::removeIf(
        [&](const ChatBanList::Entry &entry) {
            const std::optional<QDateTime> until = ChatBanList::untilMoment(entry.until);
            return until && *until < now;
        },
        &removed));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().nick, QStringLiteral("Вася"));
    QCOMPARE(fileText(), QStringLiteral("мусор\r\nПетя:^:2:^:1.1.2030 1:1:01:^:y\r\n"));
}

void TestChatBanList::unreadableListIsNeverRewritten()
{
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Подпрограммы")));
    const QString path = TextFile::filePath(ChatBanList::FilePath);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    QVERIFY(!ChatBanList::add({QStringLiteral("Вася"), QStringLiteral("1"), QStringLiteral("1.1.2030 1:1:01"),
                               QStringLiteral("x")}));
    QVERIFY(!ChatBanList::removeNumber(QStringLiteral("1")));
    QVERIFY(QFileInfo(path).isFile() == false); // still the FIFO, not a rewritten file
}

QTEST_GUILESS_MAIN(TestChatBanList)
#include "tst_chatbanlist.moc"
