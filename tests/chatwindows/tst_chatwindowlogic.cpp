// The chat windows' logic over the chat files, without widgets: staff numbers, rooms,
// obscenity lists, auto-messages, the options example and the member list model.
#include "chat/automessagesedit.h"
#include "chat/chatfiles.h"
#include "chat/chatmembersmodel.h"
#include "chat/chatoptionsedit.h"
#include "chat/chatreference.h"
#include "chat/chatroomsedit.h"
#include "chat/chatservice.h"
#include "chat/chatstaffedit.h"
#include "chat/obscenityedit.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "support/programhome.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
const QString CRLF = QStringLiteral("\r\n");
QString lines(const QStringList &list)
{
    return list.join(CRLF) + CRLF;
}
} // namespace

class tst_ChatWindowLogic : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void staffNumber_data();
    void staffNumber();
    void staffAddAndDuplicates();
    void staffRemoveDropsEveryRoleOfTheNumber();

    void roomAdd_data();
    void roomAdd();
    void roomRemoveLeavesTheCommonRoom();

    void obscenitySaveIsStable_data();
    void obscenitySaveIsStable();

    void autoMessagesApplyKeepsEntriesBeforeAGap();
    void autoMessagesAdd_data();
    void autoMessagesAdd();
    void autoMessagesRemoveOnlyTheShownLine();

    void optionsExample_data();
    void optionsExample();

    void memberModelFollowsTheService();

private:
    std::unique_ptr<ProgramHome> m_home;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<ChatService> m_chat;
};

void tst_ChatWindowLogic::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_timers = std::make_unique<TimerRegistry>();
    m_chat =
        std::make_unique<ChatService>(*m_timers, [](int, const QString &, const QString &) { return true; });
}

void tst_ChatWindowLogic::cleanup()
{
    m_chat.reset();
    m_timers.reset();
    Storage::instance().flushAll();
    m_home.reset();
}

void tst_ChatWindowLogic::staffNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("plain") << "123456"
                           << "123456";
    QTest::newRow("blanks around") << " 77 "
                                   << "77";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("largest") << "2147483647"
                             << "2147483647";
    QTest::newRow("too large") << "2147483648"
                               << "";
    QTest::newRow("zero") << "0"
                          << "";
    QTest::newRow("negative") << "-5"
                              << "";
    QTest::newRow("fraction") << "12.5"
                              << "";
    QTest::newRow("letters") << "12a"
                             << "";
    QTest::newRow("blank inside") << "12 34"
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_ChatWindowLogic::staffNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const std::optional<QString> accepted = ChatStaffEditor::acceptedNumber(typed);
    QCOMPARE(accepted.value_or(QString()), stored);
    using R = ChatStaffEditor::AddResult;
    QCOMPARE(ChatStaffEditor::add(ChatStaffEditor::Role::Moderator, typed),
             stored.isEmpty() ? R::NotAccepted : R::Added);
    QCOMPARE(ChatStaffEditor::numbers(ChatStaffEditor::Role::Moderator),
             stored.isEmpty() ? QStringList() : QStringList{stored});
    QCOMPARE(TextFile::exists(ChatStaff::FilePath), !stored.isEmpty());
}

void tst_ChatWindowLogic::staffAddAndDuplicates()
{
    using Role = ChatStaffEditor::Role;
    using R = ChatStaffEditor::AddResult;
    QCOMPARE(ChatStaffEditor::add(Role::Administrator, QStringLiteral("123456")), R::Added);
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath), lines({QStringLiteral("Администратор:123456")}));
    // The same number in any role is refused; a number that only holds it is not.
    QCOMPARE(ChatStaffEditor::add(Role::Moderator, QStringLiteral("123456")), R::Duplicate);
    QCOMPARE(ChatStaffEditor::add(Role::Premoderator, QStringLiteral(" 0123456")), R::Duplicate);
    QCOMPARE(ChatStaffEditor::add(Role::Premoderator, QStringLiteral("1234")), R::Added);
    QCOMPARE(ChatStaffEditor::add(Role::Moderator, QStringLiteral("23456")), R::Added);
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath),
             lines({QStringLiteral("Администратор:123456"), QStringLiteral("Премодератор:1234"),
                    QStringLiteral("Модератор:23456")}));
    QCOMPARE(ChatStaffEditor::numbers(Role::Administrator), QStringList{QStringLiteral("123456")});
    QCOMPARE(ChatStaffEditor::numbers(Role::Moderator), QStringList{QStringLiteral("23456")});
    QCOMPARE(ChatStaffEditor::numbers(Role::Premoderator), QStringList{QStringLiteral("1234")});
    QVERIFY(ChatStaff::holds(QStringLiteral("1234"), ChatStaff::Premoderator));
}

void tst_ChatWindowLogic::staffRemoveDropsEveryRoleOfTheNumber()
{
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath,
                                 {QStringLiteral("Администратор:123456"), QStringLiteral("Модератор:5"),
                                  QStringLiteral("Модератор:123456")}));
    QVERIFY(!ChatStaffEditor::remove(QString()));
    QVERIFY(!ChatStaffEditor::remove(QStringLiteral("12345")));
    QVERIFY(ChatStaffEditor::remove(QStringLiteral("123456")));
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath), lines({QStringLiteral("Модератор:5")}));
    QVERIFY(ChatStaffEditor::remove(QStringLiteral("5")));
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath), CRLF);
    // Adding after the last removal puts the entry after the empty line, which no reader
    // minds.
    QCOMPARE(ChatStaffEditor::add(ChatStaffEditor::Role::Moderator, QStringLiteral("9")),
             ChatStaffEditor::AddResult::Added);
    QCOMPARE(ChatStaffEditor::numbers(ChatStaffEditor::Role::Moderator), QStringList{QStringLiteral("9")});
}

void tst_ChatWindowLogic::roomAdd_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    using R = ChatRoomsEditor::AddResult;
    QTest::newRow("room") << "5"
                          << "Флуд" << int(R::Added);
    QTest::newRow("zero") << "0"
                          << "Ноль" << int(R::BadInput);
    QTest::newRow("zero spelt otherwise") << "00"
                                          << "Ноль" << int(R::BadInput);
    QTest::newRow("letters") << "a"
                             << "Буквы" << int(R::BadInput);
    QTest::newRow("empty number") << ""
                                  << "Пусто" << int(R::BadInput);
    QTest::newRow("empty name") << "6"
                                << "" << int(R::BadInput);
    QTest::newRow("blank name") << "6"
                                << "  " << int(R::BadInput);
    QTest::newRow("path in the number") << "../1"
                                        << "Путь" << int(R::BadInput);
    QTest::newRow("in use") << "2"
                            << "Другая" << int(R::InUse);
    QTest::newRow("same number spelt otherwise") << "02"
                                                 << "Другая" << int(R::Added);
}

void tst_ChatWindowLogic::roomAdd()
{
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(int, result);
    QVERIFY(m_chat->addRoom(Room{QStringLiteral("2"), QStringLiteral("Вторая")}));
    QSignalSpy rooms(m_chat.get(), &ChatService::roomsChanged);
    QCOMPARE(int(ChatRoomsEditor::add(*m_chat, number, name)), result);
    const bool added = result == int(ChatRoomsEditor::AddResult::Added);
    QCOMPARE(rooms.size(), added ? 1 : 0);
    QStringList expected = {QStringLiteral("2 Вторая")};
    if (added)
        expected.append(number + QLatin1Char(' ') + name);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines(expected));
}

void tst_ChatWindowLogic::roomRemoveLeavesTheCommonRoom()
{
    QCOMPARE(ChatRoomsEditor::add(*m_chat, QStringLiteral("3"), QStringLiteral("Третья")),
             ChatRoomsEditor::AddResult::Added);
    QVERIFY(RoomMembers::add(QStringLiteral("3"), QStringLiteral("100"), QStringLiteral("Вася")));
    const QList<ChatRoomsEditor::Row> rows = ChatRoomsEditor::rows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).number, QStringLiteral("0"));
    QCOMPARE(rows.at(0).name, QStringLiteral("Общая"));
    QCOMPARE(rows.at(1).members, 1);
    QVERIFY(!ChatRoomsEditor::remove(*m_chat, QStringLiteral("0")));
    QVERIFY(!ChatRoomsEditor::remove(*m_chat, QString()));
    QVERIFY(ChatRoomsEditor::remove(*m_chat, QStringLiteral("3")));
    QCOMPARE(ChatRoomsEditor::rows().size(), 1);
    // The room's member file stays; only the room list changed.
    QCOMPARE(RoomMembers::count(QStringLiteral("3")), 1);
}

void tst_ChatWindowLogic::obscenitySaveIsStable_data()
{
    QTest::addColumn<bool>("exceptions");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    QTest::newRow("words") << false << "хрень\nблин"
                           << "хрень\r\nблин\r\n"
                           << "хрень\nблин";
    QTest::newRow("words with a gap") << false << "хрень\n\nблин\n"
                                      << "хрень\r\nблин\r\n"
                                      << "хрень\nблин";
    QTest::newRow("empty words") << false << ""
                                 << "\r\n"
                                 << "";
    QTest::newRow("exceptions") << true << "оскорблять\nблинчик"
                                << "\r\nоскорблять\r\nблинчик\r\n"
                                << "оскорблять\nблинчик";
    QTest::newRow("empty exceptions") << true << ""
                                      << "\r\n"
                                      << "";
}

void tst_ChatWindowLogic::obscenitySaveIsStable()
{
    QFETCH(bool, exceptions);
    QFETCH(QString, box);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    const auto list = exceptions ? ObscenityEditor::List::Exceptions : ObscenityEditor::List::Words;
    const auto other = exceptions ? ObscenityEditor::List::Words : ObscenityEditor::List::Exceptions;
    QVERIFY(ObscenityEditor::save(list, box));
    QCOMPARE(TextFile::readAll(ObscenityEditor::filePath(list)), file);
    QCOMPARE(ObscenityEditor::text(list), shown);
    // Saved again as shown, the file stays the same.
    QVERIFY(ObscenityEditor::save(list, ObscenityEditor::text(list)));
    QCOMPARE(TextFile::readAll(ObscenityEditor::filePath(list)), file);
    QVERIFY(!TextFile::exists(ObscenityEditor::filePath(other)));
    if (!exceptions) {
        // Every saved word is tested by the chat, the one after a gap included.
        QCOMPARE(ObscenityLists::words(),
                 TextFile::splitLines(file).filter(QRegularExpression(QStringLiteral("."))));
    }
}

void tst_ChatWindowLogic::autoMessagesApplyKeepsEntriesBeforeAGap()
{
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath,
                                 {QStringLiteral("30"), QStringLiteral(" 0 "), QStringLiteral("x&^+&&^="),
                                  QString(), QStringLiteral("y&^+&&^=")}));
    AutoMessagesEditor editor;
    QSignalSpy changed(&editor, &AutoMessagesEditor::changed);
    QVERIFY(editor.apply(QStringLiteral("45"), true));
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("45"), QStringLiteral(" 1 "), QStringLiteral("x&^+&&^=")}));
    QCOMPARE(changed.size(), 1);
    // An interval the tick cannot use keeps the file's own.
    QVERIFY(editor.apply(QStringLiteral("0"), false));
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("45"), QStringLiteral(" 0 "), QStringLiteral("x&^+&&^=")}));
    QVERIFY(TextFile::remove(AutoMessages::FilePath));
    QVERIFY(editor.apply(QStringLiteral("abc"), false));
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("600"), QStringLiteral(" 0 ")}));
    const AutoMessagesEditor::Page page = AutoMessagesEditor::read();
    QVERIFY(page.hasText);
    QVERIFY(page.rows.isEmpty());
}

void tst_ChatWindowLogic::autoMessagesAdd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("result");
    using R = AutoMessagesEditor::AddResult;
    QTest::newRow("endless") << "Привет всем"
                             << "+&"
                             << "=" << int(R::Added);
    QTest::newRow("counted") << "Реклама"
                             << "3"
                             << "<" << int(R::Added);
    QTest::newRow("empty") << ""
                           << "+&"
                           << "=" << int(R::Empty);
    QTest::newRow("separator in the text") << "a&^b"
                                           << "+&"
                                           << "=" << int(R::Forbidden);
    QTest::newRow("separator in the count") << "a"
                                            << "1&^2"
                                            << "=" << int(R::Forbidden);
    QTest::newRow("separator in the direction") << "a"
                                                << "1"
                                                << "&^" << int(R::Forbidden);
}

void tst_ChatWindowLogic::autoMessagesAdd()
{
    QFETCH(QString, text);
    QFETCH(QString, count);
    QFETCH(QString, direction);
    QFETCH(int, result);
    // What the tick leaves after removing the only entry.
    const QStringList before = {QStringLiteral("20"), QStringLiteral(" 0 "), QString()};
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath, before));
    AutoMessagesEditor editor;
    QCOMPARE(int(editor.add(text, count, direction)), result);
    if (result == int(AutoMessagesEditor::AddResult::Added)) {
        QCOMPARE(
            TextFile::readAll(AutoMessages::FilePath),
            lines({QStringLiteral("20"), QStringLiteral(" 0 "), text + "&^" + count + "&^" + direction}));
        const AutoMessagesEditor::Page page = AutoMessagesEditor::read();
        QCOMPARE(page.rows.size(), 1);
        QCOMPARE(page.rows.first().entry.text, text);
        QCOMPARE(page.rows.first().entry.count, count);
        QCOMPARE(page.rows.first().entry.direction, direction);
    } else {
        QCOMPARE(TextFile::readAll(AutoMessages::FilePath), lines(before));
    }
}

void tst_ChatWindowLogic::autoMessagesRemoveOnlyTheShownLine()
{
    const QString a = QStringLiteral("a&^+&&^="), b = QStringLiteral("b&^2&^<"),
                  c = QStringLiteral("c&^1&^>");
    QVERIFY(
        TextFile::writeLines(AutoMessages::FilePath, {QStringLiteral("20"), QStringLiteral(" 1 "), a, b, c}));
    AutoMessagesEditor editor;
    QSignalSpy changed(&editor, &AutoMessagesEditor::changed);
    // The tick took "a" meanwhile: row 2 as shown ("b") now stands at position 1.
    QVERIFY(
        TextFile::writeLines(AutoMessages::FilePath, {QStringLiteral("20"), QStringLiteral(" 1 "), b, c}));
    QCOMPARE(editor.remove(2, b), AutoMessagesEditor::RemoveResult::Stale);
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("20"), QStringLiteral(" 1 "), b, c}));
    QCOMPARE(changed.size(), 1); // the page refills
    QCOMPARE(editor.remove(9, c), AutoMessagesEditor::RemoveResult::Stale);
    QCOMPARE(editor.remove(2, c), AutoMessagesEditor::RemoveResult::Removed);
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("20"), QStringLiteral(" 1 "), b}));
    QCOMPARE(editor.remove(1, b), AutoMessagesEditor::RemoveResult::Removed);
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath), lines({QStringLiteral("20"), QStringLiteral(" 1 ")}));
}

void tst_ChatWindowLogic::optionsExample_data()
{
    QTest::addColumn<bool>("date");
    QTest::addColumn<bool>("time");
    QTest::addColumn<bool>("uin");
    QTest::addColumn<bool>("nick");
    QTest::addColumn<QString>("example");
    QTest::newRow("none") << false << false << false << false << "Все параметры выключены";
    QTest::newRow("nick") << false << false << false << true << "ник";
    QTest::newRow("time and nick") << false << true << false << true << "9:05:07 ник";
    QTest::newRow("all") << true << true << true << true << "11.12.2026 9:05:07 ICQ-номер ник";
    QTest::newRow("date and number") << true << false << true << false << "11.12.2026 ICQ-номер";
}

void tst_ChatWindowLogic::optionsExample()
{
    QFETCH(bool, date);
    QFETCH(bool, time);
    QFETCH(bool, uin);
    QFETCH(bool, nick);
    const QDateTime now(QDate(2026, 12, 11), QTime(9, 5, 7));
    QTEST(ChatOptionsExample::text(date, time, uin, nick, now), "example");
}

void tst_ChatWindowLogic::memberModelFollowsTheService()
{
    QVERIFY(
        ChatMemberList::add(ChatMember{QStringLiteral("100"), QStringLiteral("Вася"), QStringLiteral("0")}));
    QVERIFY(
        ChatMemberList::add(ChatMember{QStringLiteral("200"), QStringLiteral("Петя"), QStringLiteral("0")}));
    ChatMembersModel model(*m_chat);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1).data().toString(), QStringLiteral("200 - Петя - 0"));
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(m_chat->removeMember(QStringLiteral("100")));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(
        ChatMemberList::add(ChatMember{QStringLiteral("300"), QStringLiteral("Коля"), QStringLiteral("0")}));
    QVERIFY(m_chat->moveMember(QStringLiteral("200"), QStringLiteral("0")));
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(model.index(1).data().toString(), QStringLiteral("300 - Коля - 0"));
    QVERIFY(m_chat->addRoom(Room{QStringLiteral("4"), QStringLiteral("Четвёртая")}));
    QVERIFY(m_chat->moveMember(QStringLiteral("200"), QStringLiteral("4")));
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("200 - Петя - 4"));
    QCOMPARE(reset.size(), 0);
    QCOMPARE(model.members(), ChatMemberList::members());
}

QTEST_GUILESS_MAIN(tst_ChatWindowLogic)
#include "tst_chatwindowlogic.moc"
