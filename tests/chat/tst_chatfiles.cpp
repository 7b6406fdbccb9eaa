// The chat's file owners: layouts, whole-value comparisons, empty lines, room numbers.
#include "chat/chatdelivery.h"
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "support/badlinereport.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

class tst_ChatFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void roomNumbers_data();
    void roomNumbers();
    void switchLine_data();
    void switchLine();
    void memberLines_data();
    void memberLines();
    void memberListSkipsEmptyLinesAndGoesWhenEmpty();
    void roomFileGoesWithItsLastMember();
    void registrationsAndNicks();
    void ignoreListComparesWholeNumbers();
    void invisibleListComparesWholeLines();
    void queueLines_data();
    void queueLines();
    void queueTakenWhole();
    void queueTakenAsTheFileHoldsIt_data();
    void queueTakenAsTheFileHoldsIt();
    void queueLineRefusedByTheDiskIsNotTaken();
    void pathCharactersNeverReachAFileName();
    void statisticsCountPerDayAndInTotal();
    void statisticsKeepAWordAsItIs();
    void chatLogNewestFirst();
    void staffWholeFields();
    void obscenity_data();
    void obscenity();
    void autoMessageEntries_data();
    void autoMessageEntries();
    void badLineReportedOncePerVersion_data();
    void badLineReportedOncePerVersion();
    void badLinesSkipped();
    void ownWritesAreNoNews_data();
    void ownWritesAreNoNews();

private:
    std::unique_ptr<ProgramHome> m_dir;
    FixedClock m_clock;
};

void tst_ChatFiles::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
}

void tst_ChatFiles::cleanup()
{
    Storage::instance().flushAll();
    Clock::setInstance(nullptr);
    m_dir.reset();
}

void tst_ChatFiles::roomNumbers_data()
{
    QTest::addColumn<QString>("room");
    QTest::addColumn<bool>("valid");
    QTest::newRow("common") << "0" << true;
    QTest::newRow("digits") << "12" << true;
    QTest::newRow("signed") << "-3" << true;
    QTest::newRow("plus") << "+3" << true;
    QTest::newRow("fraction dot") << "1.5" << true;
    QTest::newRow("fraction comma") << "1,5" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("parent folder") << "..\\..\\Настройки\\Общие" << false;
    QTest::newRow("slash") << "1/2" << false;
    QTest::newRow("blank") << "1 " << false;
    QTest::newRow("letters") << "Флуд" << false;
    QTest::newRow("dot alone") << "1." << false;
    QTest::newRow("star") << "*" << false;
}

void tst_ChatFiles::roomNumbers()
{
    QFETCH(QString, room);
    QFETCH(bool, valid);
    QCOMPARE(RoomNumber::isValid(room), valid);
    QCOMPARE(RoomMembers::filePath(room).isEmpty(), !valid);
    QCOMPARE(RoomQueue::filePath(room).isEmpty(), !valid);
}

void tst_ChatFiles::switchLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("holdsOne");
    QTest::newRow("number form") << QByteArray(" 1 \r\n5\r\n") << true << true;
    QTest::newRow("plain 1") << QByteArray("1\r\n5\r\n") << false << true;
    QTest::newRow("zero") << QByteArray(" 0 \r\n") << false << false;
    QTest::newRow("missing") << QByteArray() << false << false;
}

void tst_ChatFiles::switchLine()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QFETCH(bool, holdsOne);
    if (!file.isEmpty())
        QVERIFY(TextFile::writeBytes(ChatSwitch::FilePath, file));
    QCOMPARE(ChatSwitch::isOn(), on);
    QCOMPARE(ChatSwitch::holdsOne(), holdsOne);

    QVERIFY(ChatSwitch::write(true, QStringLiteral("abc")));
    QCOMPARE(TextFile::readBytes(ChatSwitch::FilePath), QByteArray(" 1 \r\n20\r\n"));
    QVERIFY(ChatSwitch::write(false, QString()));
    QVERIFY(!TextFile::exists(ChatSwitch::FilePath));
}

void tst_ChatFiles::memberLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("room");
    QTest::newRow("common room") << "123 - Вася - 0" << true << "123"
                                 << "Вася"
                                 << "0";
    QTest::newRow("room 2") << "123 - Вася - 2" << true << "123"
                            << "Вася"
                            << "2";
    QTest::newRow("empty nick") << "123 -  - 0" << true << "123"
                                << ""
                                << "0";
    QTest::newRow("no blank") << "123" << false << ""
                              << ""
                              << "";
    QTest::newRow("empty") << "" << false << ""
                           << ""
                           << "";
}

void tst_ChatFiles::memberLines()
{
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const std::optional<ChatMember> member = ChatMember::parse(line);
    QCOMPARE(member.has_value(), parsed);
    if (!parsed)
        return;
    QTEST(member->uin, "uin");
    QTEST(member->nick, "nick");
    QTEST(member->room, "room");
    QCOMPARE(member->line(), line);
}

void tst_ChatFiles::memberListSkipsEmptyLinesAndGoesWhenEmpty()
{
    QVERIFY(TextFile::writeAll(ChatMemberList::FilePath,
                               QStringLiteral("\r\n1234 - Петя - 0\r\n\r\n123 - Вася - 2\r\n")));
    // An empty line ends nothing; a UIN that starts with another is another.
    QCOMPARE(ChatMemberList::find(QStringLiteral("123"))->nick, QStringLiteral("Вася"));
    QVERIFY(!ChatMemberList::find(QStringLiteral("12")));
    QCOMPARE(ChatMemberList::findByNick(QStringLiteral("Петя"))->uin, QStringLiteral("1234"));
    QVERIFY(!ChatMemberList::findByNick(QStringLiteral("петя")));

    QVERIFY(ChatMemberList::setRoom(QStringLiteral("1234"), QStringLiteral("5")));
    QVERIFY(ChatMemberList::remove(QStringLiteral("123")));
    QCOMPARE(TextFile::readBytes(ChatMemberList::FilePath), QByteArray("1234 - \xcf\xe5\xf2\xff - 5\r\n"));
    QVERIFY(!ChatMemberList::remove(QStringLiteral("123")));
    QVERIFY(ChatMemberList::remove(QStringLiteral("1234")));
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
}

void tst_ChatFiles::roomFileGoesWithItsLastMember()
{
    QVERIFY(RoomMembers::add(QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("a")));
    QVERIFY(RoomMembers::add(QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("a")));
    QCOMPARE(RoomMembers::count(QStringLiteral("0")), 1);
    QVERIFY(RoomMembers::remove(QStringLiteral("0"), QStringLiteral("1")));
    QVERIFY(!TextFile::exists(RoomMembers::filePath(QStringLiteral("0"))));
    // The common room works again after it emptied.
    QVERIFY(RoomMembers::add(QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("b")));
    QCOMPARE(RoomMembers::entries(QStringLiteral("0")).size(), 1);
    QCOMPARE(TextFile::readBytes(QStringLiteral("\\Подпрограммы\\Комнаты\\0.txt")), QByteArray("2 b\r\n"));
}

void tst_ChatFiles::registrationsAndNicks()
{
    QVERIFY(TextFile::writeBytes(RegistrationList::FilePath, "\r\n111 - A\r\n\r\n"));
    QVERIFY(RegistrationList::add(Registration{QStringLiteral("222"), QStringLiteral("Вася")}));
    QCOMPARE(TextFile::readBytes(RegistrationList::FilePath),
             QByteArray("111 - A\r\n222 - \xc2\xe0\xf1\xff\r\n"));
    QCOMPARE(RegistrationList::findByNick(QStringLiteral("Вася"))->uin, QStringLiteral("222"));
    QVERIFY(!RegistrationList::find(QStringLiteral("22")));
}

void tst_ChatFiles::ignoreListComparesWholeNumbers()
{
    const QString owner = QStringLiteral("777");
    QVERIFY(IgnoreList::add(owner, QStringLiteral("1234")));
    QCOMPARE(TextFile::readBytes(IgnoreList::filePath(owner)), QByteArray("\r\n1234\r\n"));
    QVERIFY(IgnoreList::ignores(owner, QStringLiteral("1234")));
    QVERIFY(!IgnoreList::ignores(owner, QStringLiteral("123")));
    QVERIFY(IgnoreList::add(owner, QStringLiteral("1234")));
    QVERIFY(IgnoreList::remove(owner, QStringLiteral("1234")));
    QVERIFY(!IgnoreList::ignores(owner, QStringLiteral("1234")));
    QVERIFY(!IgnoreList::remove(QStringLiteral("888"), QStringLiteral("1")));
}

void tst_ChatFiles::invisibleListComparesWholeLines()
{
    QVERIFY(TextFile::writeBytes(InvisibleList::FilePath, "\r\n12345\r\n"));
    QVERIFY(InvisibleList::contains(QStringLiteral("12345")));
    QVERIFY(!InvisibleList::contains(QStringLiteral("123")));
}

void tst_ChatFiles::queueLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::newRow("data") << "123:^:9:05:07 Вася: привет" << false << "123"
                          << "9:05:07 Вася: привет";
    QTest::newRow("breaks") << "123:^:Вася: a^&^&b" << false << "123"
                            << "Вася: a\r\nb";
    QTest::newRow("notice") << "  К нам присоединился: Вася" << true << ""
                            << "К нам присоединился: Вася";
    // Two leading blanks make a notice even when its text holds the separator.
    QTest::newRow("notice with separator") << "  Автоматическое сообщение: a:^:b" << true << ""
                                           << "Автоматическое сообщение: a:^:b";
}

void tst_ChatFiles::queueLines()
{
    QFETCH(QString, line);
    const std::optional<RoomQueue::Line> parsed = RoomQueue::parse(line);
    QVERIFY(parsed);
    QTEST(parsed->notice, "notice");
    QTEST(parsed->senderUin, "sender");
    QTEST(parsed->text, "text");
}

void tst_ChatFiles::queueTakenWhole()
{
    QVERIFY(RoomQueue::appendDataLine(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("a: x")));
    QVERIFY(RoomQueue::appendNotice(QStringLiteral("3"), QStringLiteral("n")));
    QCOMPARE(TextFile::readBytes(QStringLiteral("\\Подпрограммы\\Сообщения_в_группе3.txt")),
             QByteArray("1:^:a: x\r\n  n\r\n"));
    QCOMPARE(RoomQueue::take(QStringLiteral("3")), (QStringList{"1:^:a: x", "  n"}));
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("3"))));
    QVERIFY(RoomQueue::take(QStringLiteral("3")).isEmpty());
}

// What take() hands back is what the file holds, whoever wrote to it and whatever the
// queued lines held.
void tst_ChatFiles::queueTakenAsTheFileHoldsIt_data()
{
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QByteArray>("handWritten"); // appended past the program
    QTest::addColumn<QStringList>("taken");

    QTest::newRow("plain") << "n" << QByteArray() << QStringList{"1:^:a: x", "  n"};
    QTest::newRow("line breaks") << "n\r\nm\rk" << QByteArray() << QStringList{"1:^:a: x", "  n", "m", "k"};
    QTest::newRow("outside 1251") << QStringLiteral("ж\u4e2d\U0001F600") << QByteArray()
                                  << QStringList{"1:^:a: x", "  ж??"};
    QTest::newRow("separators") << "a:^:b^&^&c====d" << QByteArray() << QStringList{"1:^:a: x", "  a:^:b^&^&c====d"};
    QTest::newRow("hand edit") << "n" << QByteArray("2:^:hand\r\n") << QStringList{"1:^:a: x", "  n", "2:^:hand"};
    QTest::newRow("hand edit, no line end")
        << "n" << QByteArray("2:^:hand") << QStringList{"1:^:a: x", "  n", "2:^:hand"};
}

void tst_ChatFiles::queueTakenAsTheFileHoldsIt()
{
    QFETCH(QString, notice);
    QFETCH(QByteArray, handWritten);
    const QString room = QStringLiteral("3");
    QVERIFY(RoomQueue::appendDataLine(room, QStringLiteral("1"), QStringLiteral("a: x")));
    QVERIFY(RoomQueue::appendNotice(room, notice));
    if (!handWritten.isEmpty()) {
        const QString path = TextFile::filePath(RoomQueue::filePath(room));
        QVERIFY(FileProbe::writeBytes(path, FileProbe::bytes(path) + handWritten));
    }
    QTEST(RoomQueue::take(room), "taken");
    QVERIFY(!TextFile::exists(RoomQueue::filePath(room)));
    // A new queue starts afresh.
    QVERIFY(RoomQueue::appendNotice(room, QStringLiteral("z")));
    QCOMPARE(RoomQueue::take(room), QStringList{"  z"});
}

void tst_ChatFiles::queueLineRefusedByTheDiskIsNotTaken()
{
    const QString room = QStringLiteral("3");
    QVERIFY(RoomQueue::appendNotice(room, QStringLiteral("a")));
    {
        FileProbe::FileSizeLimit limit{rlim_t(FileProbe::bytes(TextFile::filePath(RoomQueue::filePath(room))).size() + 4)};
        QVERIFY(limit.ok());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot append to")));
        QVERIFY(!RoomQueue::appendNotice(room, QString(64, QChar(0x0436))));
    }
    QVERIFY(RoomQueue::appendNotice(room, QStringLiteral("c")));
    QCOMPARE(RoomQueue::take(room), (QStringList{"  a", "  c"}));
}

void tst_ChatFiles::pathCharactersNeverReachAFileName()
{
    const QString bad = QStringLiteral("..\\..\\Настройки\\Общие");
    QVERIFY(!RoomMembers::add(bad, QStringLiteral("1"), QStringLiteral("a")));
    QVERIFY(!RoomQueue::appendNotice(bad, QStringLiteral("x")));
    QVERIFY(!RoomList::add(Room{bad, QStringLiteral("name")}));
    QVERIFY(!RoomList::add(Room{QStringLiteral("0"), QStringLiteral("name")}));
    QVERIFY(RoomList::add(Room{QStringLiteral("2"), QStringLiteral("Игры")}));
    QVERIFY(!RoomList::add(Room{QStringLiteral("2"), QStringLiteral("Другие")}));
    QVERIFY(!TextFile::exists(QStringLiteral("\\Настройки\\Общие.txt")));
}

void tst_ChatFiles::statisticsCountPerDayAndInTotal()
{
    QVERIFY(TextFile::writeBytes(ChatStatistics::TotalsPath, " 5 \r\n 6 \r\n 7 \r\n 8 \r\n"));
    ChatStatistics::AddChatStatistic(ChatStatistics::Lines, 1);
    ChatStatistics::AddChatStatistic(ChatStatistics::Lines, 1);
    ChatStatistics::AddChatStatistic(ChatStatistics::Bans, -1);
    // Readers see the counts before the batch is written.
    QCOMPARE(ChatStatistics::totalValues(), (QStringList{" 5 ", " 6 ", " 6 ", " 10 "}));
    QCOMPARE(TextFile::readBytes(QStringLiteral("\\Подпрограммы\\Статистика_чата11.12.2026.txt")),
             QByteArray(" 0 \r\n 0 \r\n-1 \r\n 2 \r\n"));
}

void tst_ChatFiles::statisticsKeepAWordAsItIs()
{
    QVERIFY(TextFile::writeAll(ChatStatistics::TotalsPath, QStringLiteral("много\r\n")));
    ChatStatistics::AddChatStatistic(ChatStatistics::Registrations, 1);
    ChatStatistics::AddChatStatistic(ChatStatistics::Joins, 1);
    Storage::instance().flushAll();
    QCOMPARE(ChatStatistics::totalValues(), (QStringList{"много", " 1 ", " 0 ", " 0 "}));
}

void tst_ChatFiles::chatLogNewestFirst()
{
    ChatLog::AddChatLogEntry(QStringLiteral("one"), true);
    ChatLog::AddChatLogEntry(QStringLiteral("two"), false);
    ChatLog::AddChatLogEntry(QStringLiteral("three"), true);
    QCOMPARE(ChatLog::lines(), (QStringList{"three", "two", "one"}));
    QStringList history = TextFile::readLines(ChatLog::HistoryPath);
    history.removeAll(QString());
    QCOMPARE(history, (QStringList{"three", "one"}));
    // Each event puts its line in front and one line end at the back, as the log always had.
    Storage::instance().flushAll();
    QCOMPARE(FileProbe::bytes(m_dir->filePath(ChatLog::FilePath)),
             QByteArray("three\r\ntwo\r\none\r\n\r\n\r\n"));
    QVERIFY(ChatLog::clear());
    QVERIFY(ChatLog::lines().isEmpty());
    QCOMPARE(ChatLog::stamp(), QStringLiteral("11.12.2026 9:05:07"));
}

void tst_ChatFiles::staffWholeFields()
{
    QVERIFY(TextFile::writeBytes(ChatStaff::FilePath,
                                 "\xc0\xe4\xec\xe8\xed\xe8\xf1\xf2\xf0\xe0\xf2\xee\xf0:123456\r\n"
                                 "garbage\r\n"));
    QVERIFY(ChatStaff::holds(QStringLiteral("123456"), ChatStaff::Administrator));
    QVERIFY(!ChatStaff::holds(QStringLiteral("12345"), ChatStaff::Administrator));
    QVERIFY(!ChatStaff::isStaff(QStringLiteral("1234567")));
    QCOMPARE(ChatStaff::entries().size(), 1);
}

void tst_ChatFiles::obscenity_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("exceptions");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::newRow("small letters inside a word")
        << QStringList{"ХРЕН"} << QStringList{} << "ну хренотень" << true;
    QTest::newRow("clean") << QStringList{"ХРЕН"} << QStringList{} << "привет" << false;
    QTest::newRow("forgiven inside the exception")
        << QStringList{"СКОРБ"} << QStringList{"оскорблять"} << "не надо оскорблять" << false;
    QTest::newRow("bare word beside the exception")
        << QStringList{"СКОРБ"} << QStringList{"оскорблять"} << "оскорблять скорб" << true;
    QTest::newRow("exception without the word")
        << QStringList{"СКОРБ"} << QStringList{"привет"} << "скорб привет" << true;
}

void tst_ChatFiles::obscenity()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, exceptions);
    QFETCH(QString, text);
    QFETCH(bool, found);
    QCOMPARE(ObscenityLists::findObscenity(text, words, exceptions).has_value(), found);
}

void tst_ChatFiles::autoMessageEntries_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("after"); // "<gone>" when removed
    QTest::newRow("down") << "a&^2&^<"
                          << "a&^1&^<";
    QTest::newRow("down last time") << "a&^0&^<"
                                    << "<gone>";
    QTest::newRow("up") << "a&^0&^>"
                        << "a&^1&^>";
    QTest::newRow("endless") << "a&^+&&^<"
                             << "a&^+&&^<";
    QTest::newRow("equals keeps") << "a&^3&^="
                                  << "a&^3&^=";
    QTest::newRow("no number") << "a&^x&^<"
                               << "<gone>";
    QTest::newRow("empty line") << ""
                                << "";
}

void tst_ChatFiles::autoMessageEntries()
{
    QFETCH(QString, line);
    QFETCH(QString, after);
    const std::optional<QString> result = AutoMessages::afterSending(line);
    QCOMPARE(result.value_or(QStringLiteral("<gone>")), after);
}

void tst_ChatFiles::badLineReportedOncePerVersion_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<std::function<void()>>("read");
    using Read = std::function<void()>;
    QTest::newRow("members: no blank")
        << ChatMemberList::FilePath << QByteArray("111 - Вася - 0\r\n\r\n")
        << QByteArray("111 - Вася - 0\r\n\r\nмусор\r\n") << 3 << Read([] { ChatMemberList::members(); });
    QTest::newRow("registrations: no blank")
        << RegistrationList::FilePath << QByteArray("111 - Вася\r\n") << QByteArray("111 - Вася\r\nбезпробела\r\n")
        << 2 << Read([] { RegistrationList::registrations(); });
    QTest::newRow("registrations: a huge line")
        << RegistrationList::FilePath << QByteArray("111 - Вася\r\n") << QByteArray(100000, 'x') + "\r\n"
        << 1 << Read([] { RegistrationList::find(QStringLiteral("111")); });
    QTest::newRow("rooms: no blank") << RoomList::FilePath << QByteArray("5 Кухня\r\n")
                                     << QByteArray("5 Кухня\r\nшесть\r\n") << 2 << Read([] { RoomList::rooms(); });
    QTest::newRow("rooms: binary") << RoomList::FilePath << QByteArray("5 Кухня\r\n")
                                   << QByteArray("\x01\x02\x03\r\n5 Кухня\r\n") << 1
                                   << Read([] { RoomList::rooms(); });
    QTest::newRow("staff: no colon") << ChatStaff::FilePath << QByteArray("Администратор:111\r\n")
                                     << QByteArray("Администратор:111\r\n\r\nМодератор 222\r\n") << 3
                                     << Read([] { ChatStaff::entries(); });
    QTest::newRow("options: not a number") << ChatOptions::FilePath << QByteArray("1\r\n 0 \r\n")
                                           << QByteArray("1\r\nда\r\n") << 2 << Read([] { ChatOptions::readAll(); });
    QTest::newRow("switch: interval not a number")
        << ChatSwitch::FilePath << QByteArray(" 1 \r\n20\r\n") << QByteArray(" 1 \r\nбыстро\r\n") << 2
        << Read([] { ChatDelivery::deliveryInterval(); });

    const QString dayFile = QStringLiteral("\\Подпрограммы\\Статистика_чата11.12.2026.txt");
    QTest::newRow("statistics totals: a word")
        << ChatStatistics::TotalsPath << QByteArray(" 5 \r\n 6 \r\n\r\n-1 \r\n")
        << QByteArray(" 5 \r\nмного\r\n 7 \r\n 8 \r\n") << 2 << Read([] { ChatStatistics::totalValues(); });
    QTest::newRow("statistics of the day: binary")
        << dayFile << QByteArray(" 1 \r\n") << QByteArray(" 1 \r\n 2 \r\n\x01\x02\r\n") << 3
        << Read([] { ChatStatistics::dayValues(); });
    QTest::newRow("statistics: the update meets it")
        << ChatStatistics::TotalsPath << QByteArray(" 5 \r\n") << QByteArray(" 5 \r\n 6 \r\n 7 \r\nсемь\r\n") << 4
        << Read([] {
               ChatStatistics::AddChatStatistic(ChatStatistics::Lines, 1);
               Storage::instance().flushAll();
           });
    const QString room = RoomMembers::filePath(QStringLiteral("5"));
    QTest::newRow("room members: no number") << room << QByteArray("111 Вася\r\n222\r\n")
                                             << QByteArray("111 Вася\r\nВася 222\r\n") << 2
                                             << Read([] { RoomMembers::entries(QStringLiteral("5")); });
    QTest::newRow("room members: binary")
        << room << QByteArray("111 Вася\r\n") << QByteArray("111 Вася\r\n\r\n\x02\x03\r\n") << 3
        << Read([] { RoomMembers::count(QStringLiteral("5")); });
    QTest::newRow("room members: a huge line")
        << room << QByteArray("111 Вася\r\n") << QByteArray("111 ") + QByteArray(100000, 'x') + "\r\n" << 1
        << Read([] { RoomMembers::contains(QStringLiteral("5"), QStringLiteral("222")); });
    QTest::newRow("ignore list: no number")
        << IgnoreList::filePath(QStringLiteral("777")) << QByteArray("\r\n111\r\n222\r\n")
        << QByteArray("\r\n111\r\nВася\r\n") << 3 << Read([] { IgnoreList::ignored(QStringLiteral("777")); });
    QTest::newRow("ignore list: a number too long")
        << IgnoreList::filePath(QStringLiteral("777")) << QByteArray("\r\n111\r\n")
        << QByteArray("\r\n1234567890123456\r\n") << 2
        << Read([] { IgnoreList::ignores(QStringLiteral("777"), QStringLiteral("111")); });
    QTest::newRow("invisible list: no number")
        << InvisibleList::FilePath << QByteArray("\r\n12345\r\n") << QByteArray("\r\n12345 \r\n") << 2
        << Read([] { InvisibleList::contains(QStringLiteral("1")); });
}

void tst_ChatFiles::badLineReportedOncePerVersion()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, good);
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(std::function<void()>, read);
    checkBadLineReportedOncePerVersion(file, bytes, line, read, good);
}

void tst_ChatFiles::badLinesSkipped()
{
    QVERIFY(TextFile::writeBytes(RoomMembers::filePath(QStringLiteral("5")),
                                 "111 Вася\r\nВася 222\r\n\x01\r\n333\r\n"));
    QCOMPARE(RoomMembers::count(QStringLiteral("5")), 2);
    QVERIFY(!RoomMembers::contains(QStringLiteral("5"), QStringLiteral("Вася")));
    QVERIFY(RoomMembers::contains(QStringLiteral("5"), QStringLiteral("333")));
    QVERIFY(TextFile::writeBytes(InvisibleList::FilePath, "\r\n12345\r\nник\r\n"));
    QCOMPARE(InvisibleList::uins(), QSet<QString>{QStringLiteral("12345")});
    QVERIFY(TextFile::writeBytes(IgnoreList::filePath(QStringLiteral("7")), "\r\n1\r\n\x01\x02\r\n"));
    QCOMPARE(IgnoreList::ignored(QStringLiteral("7")), QSet<QString>{QStringLiteral("1")});
}

void tst_ChatFiles::ownWritesAreNoNews_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::function<void()>>("read");
    QTest::addColumn<std::function<void()>>("write");
    using Call = std::function<void()>;
    const Call readTotals = [] { ChatStatistics::totalValues(); };
    QTest::newRow("statistics: an update") << ChatStatistics::TotalsPath << QByteArray("много\r\n 1 \r\n")
                                           << readTotals << Call([] {
                                                  ChatStatistics::AddChatStatistic(ChatStatistics::Joins, 1);
                                                  Storage::instance().flushAll();
                                              });
    const QString room = RoomMembers::filePath(QStringLiteral("5"));
    const Call readRoom = [] { RoomMembers::entries(QStringLiteral("5")); };
    const QByteArray roomBytes("111 Вася\r\nВася\r\n222 Петя\r\n");
    QTest::newRow("room members: a join")
        << room << roomBytes << readRoom
        << Call([] { RoomMembers::add(QStringLiteral("5"), QStringLiteral("333"), QStringLiteral("Коля")); });
    QTest::newRow("room members: a leave")
        << room << roomBytes << readRoom << Call([] { RoomMembers::remove(QStringLiteral("5"), QStringLiteral("111")); });
    QTest::newRow("room members: a new nick")
        << room << roomBytes << readRoom
        << Call([] { RoomMembers::rename(QStringLiteral("5"), QStringLiteral("222"), QStringLiteral("Пётр")); });
    const QString ignore = IgnoreList::filePath(QStringLiteral("777"));
    const Call readIgnore = [] { IgnoreList::ignored(QStringLiteral("777")); };
    QTest::newRow("ignore list: an ignore") << ignore << QByteArray("\r\nВася\r\n111\r\n") << readIgnore
                                            << Call([] { IgnoreList::add(QStringLiteral("777"), QStringLiteral("222")); });
    QTest::newRow("ignore list: an unignore")
        << ignore << QByteArray("\r\nВася\r\n111\r\n") << readIgnore
        << Call([] { IgnoreList::remove(QStringLiteral("777"), QStringLiteral("111")); });
    const Call readInvisible = [] { InvisibleList::uins(); };
    QTest::newRow("invisible list: on") << InvisibleList::FilePath << QByteArray("\r\nник\r\n") << readInvisible
                                        << Call([] { InvisibleList::add(QStringLiteral("5")); });
    QTest::newRow("invisible list: off") << InvisibleList::FilePath << QByteArray("\r\nник\r\n5\r\n") << readInvisible
                                         << Call([] { InvisibleList::remove(QStringLiteral("5")); });
    QTest::newRow("registrations: a registration")
        << RegistrationList::FilePath << QByteArray("мусор\r\n\r\n111 - Вася\r\n")
        << Call([] { RegistrationList::registrations(); }) << Call([] {
               RegistrationList::add(Registration{QStringLiteral("222"), QStringLiteral("Петя")});
           });
    QTest::newRow("rooms: a room removed") << RoomList::FilePath << QByteArray("шесть\r\n5 Кухня\r\n")
                                           << Call([] { RoomList::rooms(); })
                                           << Call([] { RoomList::remove(QStringLiteral("5")); });
}

void tst_ChatFiles::ownWritesAreNoNews()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(std::function<void()>, read);
    QFETCH(std::function<void()>, write);
    checkOwnWriteIsNoNews(file, bytes, read, write);
}

QTEST_GUILESS_MAIN(tst_ChatFiles)
#include "tst_chatfiles.moc"
