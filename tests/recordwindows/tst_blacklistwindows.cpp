// The blacklist window, the entry window and the calendar, driven through their controls
// inside the main window: both lists in one, saves that refill the list, deletes of
// either kind of row, the search, and dates picked in the calendar.
#include "chat/chatfiles.h"
#include "chatwindows/chat_window.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"
#include "recordwindows/blacklist_windows.h"
#include "recordwindows/calendar_window.h"
#include "recordwindows/log_windows.h"
#include "recordwindowsfixture.h"
#include "support/filemode.h"
#include "support/typing.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>

namespace {
const QString Users = QStringLiteral("123:^:01.01.2030:^:spam\r\n456:^:02.02.2030:^:мат:^:флуд\r\n");
const QString Chat = QStringLiteral("Vasya:^:123:^:01.01.2030 10:00:00:^:flood\r\n"
                                    "Петя:^:789:^:1.1.2030 1:1:01:^:x\r\n");
} // namespace

class tst_BlacklistWindows : public RecordWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void listsBothFiles();
    void addThroughTheEntryWindow();
    void chatMemberBarredWithTheChatReason();
    void chatHandOverOverAnotherEntry();
    void saveThatWritesNothingSaysSo_data();
    void saveThatWritesNothingSaysSo();
    void addAfterAPurgeThatKeptNothing();
    void refusedEntries_data();
    void refusedEntries();
    void changeKeepsThePlaceAndRefillsBothLists();
    void chatBanRowsAreNotChanged();
    void longReasonShownCutChangedWhole();
    void deleteRows_data();
    void deleteRows();
    void search_data();
    void search();
    void calendarAnswersTheLastAsker();

private:
    Form5 *openBlacklist();
    void writeLists();
    void pickDate(const QDate &date);
};

Form5 *tst_BlacklistWindows::openBlacklist()
{
    main().action(QStringLiteral("cher_m"))->trigger();
    return window<Form5>("Form5");
}

void tst_BlacklistWindows::writeLists()
{
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, Users));
    QVERIFY(TextFile::writeAll(ChatBanList::FilePath, Chat));
}

void tst_BlacklistWindows::pickDate(const QDate &date)
{
    auto *calendar = window<Form30>("Form30");
    QVERIFY(calendar);
    QVERIFY(calendar->isVisible());
    calendar->Calendar1->setSelectedDate(date);
    auto *view = calendar->Calendar1->findChild<QTableView *>();
    QVERIFY(view);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
}

void tst_BlacklistWindows::listsBothFiles()
{
    writeLists();
    Form5 *list = openBlacklist();
    QVERIFY(list);
    QCOMPARE(list->windowTitle(), QStringLiteral("Чёрный список"));
    QCOMPARE(list->ListView1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Номер ICQ"));
    QCOMPARE(list->ListView1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Забанён до"));
    QCOMPARE(list->ListView1->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Причина"));
    QCOMPARE(rows(list->ListView1), QStringList({"123 | 01.01.2030 | spam", "456 | 02.02.2030 | мат:^:флуд",
                                                 "123 | 01.01.2030 10:00:00 | flood", "789 | 1.1.2030 1:1:01 | x"}));
    QVERIFY(!list->Command2->isEnabled());
    QVERIFY(!list->Command3->isEnabled());
}

void tst_BlacklistWindows::addThroughTheEntryWindow()
{
    QVERIFY(TextFile::writeAll(ChatBanList::FilePath, Chat));
    Form5 *list = openBlacklist();
    click(list->Command1);
    auto *entry = window<Form6>("Form6");
    QVERIFY(entry);
    QCOMPARE(entry->windowTitle(), QStringLiteral("Добавление в чёрный список"));
    QCOMPARE(entry->Text2->text(), QStringLiteral("11.12.2026")); // tomorrow
    QCOMPARE(entry->Command1->text(), QStringLiteral("Добавить"));
    typeInto(entry->Text1, QStringLiteral("555"));
    typeInto(entry->Text3, QStringLiteral("реклама"));
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("555:^:11.12.2026:^:реклама\r\n"));
    // The list refilled from both files at once.
    QCOMPARE(rows(list->ListView1), QStringList({"555 | 11.12.2026 | реклама", "123 | 01.01.2030 10:00:00 | flood",
                                                 "789 | 1.1.2030 1:1:01 | x"}));
    // The window stays open as it was; the same number again is refused.
    click(entry->Command1);
    expectBox(QStringLiteral("Чёрный список"), QStringLiteral("Такой UIN уже есть."));
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("555:^:11.12.2026:^:реклама\r\n"));
}

void tst_BlacklistWindows::chatMemberBarredWithTheChatReason()
{
    // What the chat window's "Перенести в чёрный список" does: the member's number
    // locked, the chat reason, tomorrow's date; the operator saves.
    auto *entry = show<Form6>("Form6");
    QVERIFY(entry);
    QVERIFY(ChatWindows::handToBlacklistWindow(entry, QStringLiteral("777")));
    QVERIFY(!entry->Text1->isEnabled());
    QCOMPARE(entry->Command1->text(), QStringLiteral("Добавить"));
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath),
             QStringLiteral("777:^:11.12.2026:^:Забанён(а) в чате, администратором.\r\n"));
}

void tst_BlacklistWindows::chatHandOverOverAnotherEntry()
{
    // The entry window shows another entry in change mode, with a date of its own.
    writeLists();
    Form5 *list = openBlacklist();
    QVERIFY(pickRow(list->ListView1, 0));
    click(list->Command2);
    auto *entry = window<Form6>("Form6");
    QVERIFY(entry);
    QCOMPARE(entry->Command1->text(), QStringLiteral("Изменить"));
    // The chat window hands its member over through its own button.
    QVERIFY(TextFile::writeAll(ChatMemberList::FilePath, QStringLiteral("777 - Вася - 0\r\n")));
    main().action(QStringLiteral("chat_menu"))->trigger();
    auto *chat = window<Form33>("Form33");
    QVERIFY(chat);
    const QModelIndex member = chat->List1->model()->index(0, 0);
    QTest::mouseClick(chat->List1->viewport(), Qt::LeftButton, {}, chat->List1->visualRect(member).center());
    click(chat->Command1);
    QCOMPARE(entry->Command1->text(), QStringLiteral("Добавить"));
    QCOMPARE(entry->Text1->text(), QStringLiteral("777"));
    QVERIFY(!entry->Text1->isEnabled());
    QCOMPARE(entry->Text2->text(), QStringLiteral("11.12.2026"));
    QCOMPARE(entry->Text3->text(), Form6::ChatReason);
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath),
             Users + QStringLiteral("777:^:11.12.2026:^:Забанён(а) в чате, администратором.\r\n"));
    QVERIFY(UserBlacklist::banOf(QStringLiteral("777")));
}

void tst_BlacklistWindows::saveThatWritesNothingSaysSo_data()
{
    QTest::addColumn<QString>("usersMeanwhile"); // the file when the operator saves
    QTest::addColumn<bool>("refuseWrites");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("entry deleted meanwhile") << "456:^:02.02.2030:^:мат\r\n" << false << "Чёрный список"
                                             << BlacklistBook::NotListedText;
    QTest::newRow("file deleted meanwhile") << "<gone>" << false << "Чёрный список" << BlacklistBook::NotListedText;
    QTest::newRow("disk refuses the rewrite") << Users << true << "Ошибка" << BlacklistBook::NotWrittenText;
}

void tst_BlacklistWindows::saveThatWritesNothingSaysSo()
{
    QFETCH(QString, usersMeanwhile);
    writeLists();
    Form5 *list = openBlacklist();
    QVERIFY(pickRow(list->ListView1, 0));
    click(list->Command2);
    auto *entry = window<Form6>("Form6");
    QVERIFY(entry);
    if (usersMeanwhile == QStringLiteral("<gone>"))
        QVERIFY(TextFile::remove(UserBlacklist::FilePath));
    else
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, usersMeanwhile));
    entry->Text3->clear();
    typeInto(entry->Text3, QStringLiteral("новая причина"));
    {
        std::optional<FileProbe::NoNewFiles> refused;
        if (QTest::currentDataTag() == QByteArray("disk refuses the rewrite")) {
            refused.emplace();
            QVERIFY(refused->active());
        }
        click(entry->Command1);
    }
    QFETCH(QString, title);
    QFETCH(QString, text);
    const auto box = std::find_if(m_dialogs.shown.cbegin(), m_dialogs.shown.cend(), [](const auto &shown) {
        return shown.kind == RecordingDialogs::Kind::Message;
    });
    QVERIFY(box != m_dialogs.shown.cend());
    QCOMPARE(box->title, title);
    QCOMPARE(box->text, text);
    QCOMPARE(fileText(UserBlacklist::FilePath), usersMeanwhile);
}

void tst_BlacklistWindows::addAfterAPurgeThatKeptNothing()
{
    // The start-up purge found only ended bans: no empty line stays for the ban check
    // to stop at, so a ban added afterwards holds at once.
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, QStringLiteral("1:^:01.01.2000:^:old\r\n")));
    UserBlacklist::purgeExpired(Start.date());
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("<gone>"));
    auto *entry = show<Form6>("Form6");
    QVERIFY(entry);
    typeInto(entry->Text1, QStringLiteral("555"));
    typeInto(entry->Text3, QStringLiteral("спам"));
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("555:^:11.12.2026:^:спам\r\n"));
    QVERIFY(UserBlacklist::banOf(QStringLiteral("555")));
}

void tst_BlacklistWindows::refusedEntries_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty number") << "" << "11.12.2026" << "x";
    QTest::newRow("empty date") << "5" << "" << "x";
    QTest::newRow("empty reason") << "5" << "11.12.2026" << "";
    QTest::newRow("letters in the number") << "5a" << "11.12.2026" << "x";
    QTest::newRow("a number in exponent form") << "1e3" << "11.12.2026" << "x";
    QTest::newRow("date not a date") << "5" << "завтра" << "x";
    QTest::newRow("impossible date") << "5" << "31.02.2027" << "x";
}

void tst_BlacklistWindows::refusedEntries()
{
    QFETCH(QString, number);
    QFETCH(QString, until);
    QFETCH(QString, reason);
    auto *entry = show<Form6>("Form6");
    QVERIFY(entry);
    typeInto(entry->Text1, number);
    entry->Text2->clear();
    typeInto(entry->Text2, until);
    typeInto(entry->Text3, reason);
    click(entry->Command1);
    expectBox(QStringLiteral("Ошибка"), QStringLiteral("Одно из полей не заполнено."));
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("<gone>"));
    QCOMPARE(entry->Text1->text(), number);
}

void tst_BlacklistWindows::changeKeepsThePlaceAndRefillsBothLists()
{
    writeLists();
    Form5 *list = openBlacklist();
    QVERIFY(pickRow(list->ListView1, 0));
    QVERIFY(list->Command2->isEnabled());
    click(list->Command2);
    auto *entry = window<Form6>("Form6");
    QVERIFY(entry);
    QVERIFY(!entry->Text1->isEnabled());
    QCOMPARE(entry->Text1->text(), QStringLiteral("123"));
    QCOMPARE(entry->Text2->text(), QStringLiteral("01.01.2030"));
    QCOMPARE(entry->Text3->text(), QStringLiteral("spam"));
    QCOMPARE(entry->Command1->text(), QStringLiteral("Изменить"));
    entry->Text3->clear();
    typeInto(entry->Text3, QStringLiteral("спам и флуд"));
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath),
             QStringLiteral("123:^:01.01.2030:^:спам и флуд\r\n456:^:02.02.2030:^:мат:^:флуд\r\n"));
    QCOMPARE(fileText(ChatBanList::FilePath), Chat);
    QCOMPARE(rows(list->ListView1), QStringList({"123 | 01.01.2030 | спам и флуд", "456 | 02.02.2030 | мат:^:флуд",
                                                 "123 | 01.01.2030 10:00:00 | flood", "789 | 1.1.2030 1:1:01 | x"}));
    // The changed row is still the selected one.
    QVERIFY(list->ListView1->selectionModel()->isRowSelected(0));
    QVERIFY(list->Command2->isEnabled());
}

void tst_BlacklistWindows::chatBanRowsAreNotChanged()
{
    writeLists();
    Form5 *list = openBlacklist();
    QVERIFY(pickRow(list->ListView1, 2));
    QVERIFY(!list->Command2->isEnabled());
    QVERIFY(list->Command3->isEnabled());
}

void tst_BlacklistWindows::longReasonShownCutChangedWhole()
{
    const QString reason(200000, QChar(0x0436)); // "ж"
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, QStringLiteral("123:^:01.01.2030:^:") + reason + "\r\n"));
    Form5 *list = openBlacklist();
    QCOMPARE(rows(list->ListView1),
             QStringList{QStringLiteral("123 | 01.01.2030 | ") + reason.left(1000) + QChar(0x2026)});
    QVERIFY(pickRow(list->ListView1, 0));
    click(list->Command2);
    auto *entry = window<Form6>("Form6");
    QVERIFY(entry);
    QCOMPARE(entry->Text3->text(), reason);
    entry->Text2->clear();
    typeInto(entry->Text2, QStringLiteral("02.02.2031"));
    click(entry->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(fileText(UserBlacklist::FilePath), QStringLiteral("123:^:02.02.2031:^:") + reason + "\r\n");
}

void tst_BlacklistWindows::deleteRows_data()
{
    QTest::addColumn<QString>("users");
    QTest::addColumn<QString>("chat");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("usersAfter");
    QTest::addColumn<QString>("chatAfter");
    QTest::addColumn<bool>("buttonsAfter");
    QTest::newRow("user row") << Users << Chat << 0 << "456:^:02.02.2030:^:мат:^:флуд\r\n" << Chat << false;
    QTest::newRow("chat row") << Users << Chat << 2 << Users << "Петя:^:789:^:1.1.2030 1:1:01:^:x\r\n" << false;
    QTest::newRow("last user row: the file goes") << "7:^:01.01.2030:^:b\r\n" << "" << 0 << "<gone>" << "" << false;
    QTest::newRow("last chat ban: one empty line") << "" << "Петя:^:789:^:1.1.2030 1:1:01:^:x\r\n" << 0 << ""
                                                   << "\r\n" << false;
}

void tst_BlacklistWindows::deleteRows()
{
    QFETCH(QString, users);
    QFETCH(QString, chat);
    QFETCH(int, row);
    if (!users.isEmpty())
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, users));
    if (!chat.isEmpty())
        QVERIFY(TextFile::writeAll(ChatBanList::FilePath, chat));
    Form5 *list = openBlacklist();
    const int before = list->ListView1->model()->rowCount();
    QVERIFY(pickRow(list->ListView1, row));
    click(list->Command3);
    QVERIFY(m_dialogs.shown.isEmpty());
    QFETCH(QString, usersAfter);
    QFETCH(QString, chatAfter);
    if (!users.isEmpty())
        QCOMPARE(fileText(UserBlacklist::FilePath), usersAfter);
    if (!chat.isEmpty())
        QCOMPARE(fileText(ChatBanList::FilePath), chatAfter);
    QCOMPARE(list->ListView1->model()->rowCount(), before - 1);
    QTEST(list->Command2->isEnabled(), "buttonsAfter");
    QTEST(list->Command3->isEnabled(), "buttonsAfter");
}

void tst_BlacklistWindows::search_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("prompts");
    QTest::addColumn<QString>("usersAfter");
    QTest::addColumn<QString>("chatAfter");
    QTest::addColumn<bool>("entryOpened");
    QTest::addColumn<bool>("notFound");
    QTest::newRow("not listed") << "999" << QStringList{} << 0 << Users << Chat << false << true;
    QTest::newRow("both matches passed over") << "123" << QStringList{"0", ""} << 2 << Users << Chat << false << true;
    QTest::newRow("1 opens the entry") << "123" << QStringList{"1"} << 1 << Users << Chat << true << false;
    QTest::newRow("2 deletes the user entry") << "123" << QStringList{" 2 "} << 1 << "456:^:02.02.2030:^:мат:^:флуд\r\n"
                                              << Chat << false << false;
    QTest::newRow("2 on the chat ban deletes the ban") << "123" << QStringList{"0", "2"} << 2 << Users
                                                       << "Петя:^:789:^:1.1.2030 1:1:01:^:x\r\n" << false << false;
    QTest::newRow("whole number only") << "12" << QStringList{} << 0 << Users << Chat << false << true;
}

void tst_BlacklistWindows::search()
{
    QFETCH(QString, number);
    QFETCH(QStringList, answers);
    QFETCH(int, prompts);
    QFETCH(bool, entryOpened);
    QFETCH(bool, notFound);
    writeLists();
    Form5 *list = openBlacklist();
    for (const QString &answer : answers)
        m_dialogs.queueText(answer);
    typeInto(list->Text1, number);
    click(list->Command4);
    int shownPrompts = 0;
    for (const RecordingDialogs::Shown &box : std::as_const(m_dialogs.shown)) {
        if (box.kind != RecordingDialogs::Kind::Input)
            continue;
        ++shownPrompts;
        QCOMPARE(box.title, QStringLiteral("Поиск"));
        QCOMPARE(box.text, QStringLiteral("Найден номер. Что вы хотите сдлеать:\r\n0 - искать дальше\r\n"
                                          "1 - просмотреть информацию\r\n2 - удалить"));
    }
    QCOMPARE(shownPrompts, prompts);
    const bool notFoundShown = !m_dialogs.shown.isEmpty() &&
                               m_dialogs.shown.last().kind == RecordingDialogs::Kind::Message &&
                               m_dialogs.shown.last().title == QStringLiteral("Поиск") &&
                               m_dialogs.shown.last().text == QStringLiteral("Такого номера не найдено");
    QCOMPARE(notFoundShown, notFound);
    QTEST(fileText(UserBlacklist::FilePath), "usersAfter");
    QTEST(fileText(ChatBanList::FilePath), "chatAfter");
    auto *entry = window<Form6>("Form6");
    QCOMPARE(entry != nullptr, entryOpened);
    if (entry) {
        QCOMPARE(entry->Command1->text(), QStringLiteral("Изменить"));
        QCOMPARE(entry->Text3->text(), QStringLiteral("spam"));
    }
}

void tst_BlacklistWindows::calendarAnswersTheLastAsker()
{
    auto *entry = show<Form6>("Form6");
    QVERIFY(entry);
    // The log window asks first, then the entry window: only the entry window gets it.
    auto *log = show<Form7>("Form7");
    QVERIFY(log);
    click(log->Command2);
    click(entry->Command2);
    pickDate(QDate(2027, 3, 5));
    QCOMPARE(entry->Text2->text(), QStringLiteral("05.03.2027"));
    QCOMPARE(log->Text2->text(), QString());
    QVERIFY(!window<Form30>("Form30")->isVisible());
    // A pick with no request only hides the calendar.
    show<Form30>("Form30");
    pickDate(QDate(2027, 4, 1));
    QCOMPARE(entry->Text2->text(), QStringLiteral("05.03.2027"));
    QCOMPARE(log->Text2->text(), QString());
    // A window closed meanwhile gets the date when it is made again.
    click(log->Command2);
    close("Form7");
    pickDate(QDate(2027, 5, 9));
    log = window<Form7>("Form7");
    QVERIFY(log);
    QCOMPARE(log->Text2->text(), QStringLiteral("09.05.2027"));
}

QTEST_MAIN(tst_BlacklistWindows)
#include "tst_blacklistwindows.moc"
