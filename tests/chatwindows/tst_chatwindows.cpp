// The chat windows driven through their controls inside the main window while chat
// messages and delivery ticks arrive in between; every file they touch stays consistent
// with what the windows show.
#include "chatwindowsfixture.h"

#include "chat/automessagesedit.h"
#include "chat/chatmembersmodel.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chatwindows/chat_side_windows.h"
#include "core/showntext.h"
#include "core/textfile.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>

namespace {
const QString Vasya = QStringLiteral("100001");
const QString Petya = QStringLiteral("100002");
const QString Kolya = QStringLiteral("100003");
const QString CRLF = QStringLiteral("\r\n");
QString lines(const QStringList &list)
{
    return list.join(CRLF) + CRLF;
}
QString memberLine(const QString &uin, const QString &nick, const QString &room = QStringLiteral("0"))
{
    return uin + QStringLiteral(" - ") + nick + QStringLiteral(" - ") + room;
}

// A stand-in for the blacklist entry window: its number and reason boxes, filled as the
// real window fills them for a chat member.
class EntryWindow : public QWidget
{
    Q_OBJECT
public:
    explicit EntryWindow(QWidget *parent)
        : QWidget(parent)
    {
        number = new QLineEdit(this);
        reason = new QLineEdit(this);
    }
    Q_INVOKABLE void openForChatMember(const QString &uin)
    {
        number->setText(uin);
        number->setEnabled(false);
        reason->setText(QStringLiteral("Забанён(а) в чате, администратором."));
    }
    QLineEdit *number = nullptr;
    QLineEdit *reason = nullptr;
};

// An entry window that offers its own way in for a chat member.
class InvokableEntryWindow : public QWidget
{
    Q_OBJECT
public:
    Q_INVOKABLE void openForChatMember(const QString &number) { opened.append(number); }
    QStringList opened;
};
} // namespace

class tst_ChatWindows : public ChatWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void opensOnTheMembersPage();
    void pageButtonsShowOnePage();
    void settingsPageWritesTheSwitch_data();
    void settingsPageWritesTheSwitch();
    void memberListFollowsTheChat();
    void removingMembersKeepsFileAndList();
    void memberHandedToTheBlacklistWindow();
    void registrationsView();
    void staffPage();
    void roomsPage();
    void longRoomLineShownCutDeletedWhole();
    void obscenityPage();
    void autoMessagesPageAndAddWindow();
    void optionsWindow();
    void logWindow();
    void thousandMembers();

private:
    void registerMember(const QString &uin, const QString &nick)
    {
        say(uin, QStringLiteral("!РЕГ ") + nick);
        QVERIFY(ChatMemberList::find(uin));
    }
};

void tst_ChatWindows::opensOnTheMembersPage()
{
    // No chat switch: the box unticked, the interval "5".
    Form33 *chat = openChat();
    QVERIFY(chat);
    QCOMPARE(chat->windowTitle(), QStringLiteral("Чат"));
    QCOMPARE(chat->Pages->currentWidget(), chat->Picture2);
    QVERIFY(!chat->Check1->isChecked());
    QCOMPARE(chat->Text1->text(), QStringLiteral("5"));
    QVERIFY(!chat->Command1->isEnabled());
    QVERIFY(!chat->Command2->isEnabled());
}

void tst_ChatWindows::pageButtonsShowOnePage()
{
    Form33 *chat = openChat();
    QVERIFY(chat);
    const QList<QPair<QPushButton *, QWidget *>> pages = {
        {chat->Command9, chat->Picture3},  {chat->Command7, chat->Picture1},
        {chat->Command13, chat->Picture4}, {chat->Command16, chat->Picture5},
        {chat->Command22, chat->Picture6}, {chat->Command3, chat->Picture2}};
    for (const auto &[button, page] : pages) {
        click(button);
        QVERIFY(page->isVisible());
        int visible = 0;
        for (QWidget *each :
             {chat->Picture1, chat->Picture2, chat->Picture3, chat->Picture4, chat->Picture5, chat->Picture6})
            visible += each->isVisible() ? 1 : 0;
        QCOMPARE(visible, 1);
    }
    click(chat->Command8);
    QVERIFY(window<Form42>("Form42"));
    click(chat->Command10);
    QVERIFY(window<Form43>("Form43"));
}

void tst_ChatWindows::settingsPageWritesTheSwitch_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file"); // empty: no file
    QTest::newRow("on, 15") << true << "15"
                            << " 1 \r\n15\r\n";
    QTest::newRow("on, 0") << true << "0"
                           << " 1 \r\n20\r\n";
    QTest::newRow("on, -3") << true << "-3"
                            << " 1 \r\n20\r\n";
    QTest::newRow("on, letters") << true << "abc"
                                 << " 1 \r\n20\r\n";
    QTest::newRow("on, empty") << true << ""
                               << " 1 \r\n20\r\n";
    QTest::newRow("off") << false << "15"
                         << "";
}

void tst_ChatWindows::settingsPageWritesTheSwitch()
{
    QFETCH(bool, on);
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QVERIFY(ChatSwitch::write(true, QStringLiteral("7")));
    Form33 *chat = openChat();
    QVERIFY(chat);
    QVERIFY(chat->Check1->isChecked());
    QCOMPARE(chat->Text1->text(), QStringLiteral("7"));
    click(chat->Command7);
    if (!on)
        click(chat->Check1);
    QCOMPARE(chat->Check1->isChecked(), on);
    chat->Text1->clear();
    typeInto(chat->Text1, typed);
    click(chat->Command6);
    QCOMPARE(TextFile::exists(ChatSwitch::FilePath), !file.isEmpty());
    QCOMPARE(TextFile::readAll(ChatSwitch::FilePath), file);
    QCOMPARE(ChatSwitch::isOn(), on);
    expectNoMessageBox();
}

void tst_ChatWindows::memberListFollowsTheChat()
{
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    Form33 *chat = openChat();
    QVERIFY(chat);
    QCOMPARE(rows(chat->List1), QStringList{memberLine(Vasya, QStringLiteral("Вася"))});
    QVERIFY(pick(chat->List1, memberLine(Vasya, QStringLiteral("Вася"))));
    QVERIFY(chat->Command1->isEnabled());
    QVERIFY(chat->Command2->isEnabled());

    // Others join, talk and get their lines while Vasya stays selected.
    registerMember(Petya, QStringLiteral("Петя"));
    say(Vasya, QStringLiteral("привет"));
    deliver();
    QVERIFY(sentTo(Petya).join(QString()).contains(QStringLiteral("привет")));
    registerMember(Kolya, QStringLiteral("Коля"));
    QCOMPARE(rows(chat->List1), QStringList({memberLine(Vasya, QStringLiteral("Вася")),
                                             memberLine(Petya, QStringLiteral("Петя")),
                                             memberLine(Kolya, QStringLiteral("Коля"))}));
    QCOMPARE(chat->List1->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(chat->List1->selectionModel()->selectedRows().first().row(), 0);

    // A room change and a leave show at once.
    QVERIFY(m_chat->addRoom(Room{QStringLiteral("5"), QStringLiteral("Флуд")}));
    QVERIFY(m_chat->moveMember(Petya, QStringLiteral("5")));
    say(Kolya, QStringLiteral("!EXIT"));
    deliver();
    QCOMPARE(rows(chat->List1),
             QStringList({memberLine(Vasya, QStringLiteral("Вася")),
                          memberLine(Petya, QStringLiteral("Петя"), QStringLiteral("5"))}));
    QStringList fileLines;
    for (const ChatMember &member : ChatMemberList::members())
        fileLines.append(member.line());
    QCOMPARE(rows(chat->List1), fileLines);
    QCOMPARE(chat->List1->selectionModel()->selectedRows().first().data().toString(),
             memberLine(Vasya, QStringLiteral("Вася")));

    // "Кто в чате" twice lists each member once.
    click(chat->Command3);
    click(chat->Command3);
    QCOMPARE(rows(chat->List1), fileLines);
}

void tst_ChatWindows::removingMembersKeepsFileAndList()
{
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    Form33 *chat = openChat();
    QVERIFY(chat);

    // Nothing selected: nothing happens.
    click(chat->Command2);
    QCOMPARE(ChatMemberList::members().size(), 2);

    QVERIFY(pick(chat->List1, memberLine(Vasya, QStringLiteral("Вася"))));
    click(chat->Command2);
    QCOMPARE(TextFile::readAll(ChatMemberList::FilePath), lines({memberLine(Petya, QStringLiteral("Петя"))}));
    QCOMPARE(rows(chat->List1), QStringList{memberLine(Petya, QStringLiteral("Петя"))});
    QVERIFY(!RoomMembers::contains(QStringLiteral("0"), Vasya));
    QVERIFY(chat->Command2->isEnabled());
    QVERIFY(chat->List1->selectionModel()->selectedRows().isEmpty());

    // The removed member's lines no longer reach him; the other member still gets his.
    say(Petya, QStringLiteral("кто тут"));
    m_sent.clear();
    deliver();
    QVERIFY(sentTo(Vasya).isEmpty());
    QCOMPARE(sentTo(Petya).size(), 1);

    QVERIFY(pick(chat->List1, memberLine(Petya, QStringLiteral("Петя"))));
    click(chat->Command2);
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
    QVERIFY(rows(chat->List1).isEmpty());
    QVERIFY(!chat->Command1->isEnabled());
    QVERIFY(!chat->Command2->isEnabled());
    expectNoMessageBox();
}

void tst_ChatWindows::memberHandedToTheBlacklistWindow()
{
    EntryWindow *entry = nullptr;
    m_main->addWindow(QStringLiteral("Form6"), QStringLiteral("Добавление в чёрный список"),
                      WindowHost::Placement::Child, [&entry](QWidget *parent) -> QWidget * {
                          entry = new EntryWindow(parent);
                          return entry;
                      });
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    Form33 *chat = openChat();
    QVERIFY(chat);
    // Nothing selected: the entry window stays closed.
    click(chat->Command1);
    QVERIFY(!entry);

    QVERIFY(pick(chat->List1, memberLine(Vasya, QStringLiteral("Вася"))));
    click(chat->Command1);
    QVERIFY(entry);
    QCOMPARE(entry->number->text(), Vasya);
    QVERIFY(!entry->number->isEnabled());
    QCOMPARE(entry->reason->text(), QStringLiteral("Забанён(а) в чате, администратором."));
    // He is gone from the chat at once.
    QVERIFY(!ChatMemberList::find(Vasya));
    QCOMPARE(rows(chat->List1), QStringList{memberLine(Petya, QStringLiteral("Петя"))});

    // Without an entry window nothing is handed over.
    QVERIFY(!ChatWindows::handToBlacklistWindow(nullptr, Vasya));
    QWidget bare;
    QVERIFY(!ChatWindows::handToBlacklistWindow(&bare, Vasya));
    InvokableEntryWindow invokable;
    QVERIFY(ChatWindows::handToBlacklistWindow(&invokable, Petya));
    QCOMPARE(invokable.opened, QStringList{Petya});
}

void tst_ChatWindows::registrationsView()
{
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    say(Vasya, QStringLiteral("!EXIT"));
    Form33 *chat = openChat();
    QVERIFY(chat);
    QVERIFY(rows(chat->List1).isEmpty());
    click(chat->Command11);
    QVERIFY(chat->ListView3->isVisible());
    QVERIFY(!chat->List1->isVisible());
    QCOMPARE(rows(chat->ListView3), QStringList{Vasya + QStringLiteral("|- Вася")});
    registerMember(Petya, QStringLiteral("Петя"));
    click(chat->Command11);
    QCOMPARE(rows(chat->ListView3),
             QStringList({Vasya + QStringLiteral("|- Вася"), Petya + QStringLiteral("|- Петя")}));
    // "Кто в чате" brings the member list back.
    click(chat->Command3);
    QVERIFY(chat->List1->isVisible());
    QVERIFY(!chat->ListView3->isVisible());
    QCOMPARE(rows(chat->List1), QStringList{memberLine(Petya, QStringLiteral("Петя"))});
}

void tst_ChatWindows::staffPage()
{
    QVERIFY(
        TextFile::writeLines(ChatStaff::FilePath, {QStringLiteral("Модератор:555"), QStringLiteral("Ерунда"),
                                                   QStringLiteral("Старший:777")}));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command9);
    QVERIFY(rows(chat->List3).isEmpty());
    QCOMPARE(rows(chat->List2), QStringList{QStringLiteral("555")});
    QCOMPARE(rows(chat->List4), QStringList{QStringLiteral("777")});

    m_dialogs.queueText(QStringLiteral(" 123456 "));
    click(chat->Command12);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Input);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Администраторы"));
    QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Введите UIN администратора"));
    m_dialogs.shown.clear();
    QCOMPARE(rows(chat->List3), QStringList{QStringLiteral("123456")});

    // The same number as a moderator: refused.
    m_dialogs.queueText(QStringLiteral("123456"));
    click(chat->Command4);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Добавление"));
    QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Введите ICQ номер модератора."));
    m_dialogs.shown.removeFirst();
    expectBox(QStringLiteral("Ошибка"), QStringLiteral("Человек с таким UINом уже добавлен."));

    // Cancel and letters: nothing, silently.
    click(chat->Command20);
    m_dialogs.queueText(QStringLiteral("abc"));
    click(chat->Command20);
    expectNoMessageBox();

    m_dialogs.queueText(QStringLiteral("1234"));
    click(chat->Command20);
    m_dialogs.shown.clear();
    QCOMPARE(rows(chat->List4), QStringList({QStringLiteral("777"), QStringLiteral("1234")}));
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath),
             lines({QStringLiteral("Модератор:555"), QStringLiteral("Ерунда"), QStringLiteral("Старший:777"),
                    QStringLiteral("Администратор:123456"), QStringLiteral("Премодератор:1234")}));
    QVERIFY(ChatStaff::holds(QStringLiteral("123456"), ChatStaff::Administrator));

    // Remove without a selection does nothing; with one, the number goes.
    click(chat->Command5);
    QCOMPARE(rows(chat->List2), QStringList{QStringLiteral("555")});
    QVERIFY(pick(chat->List2, QStringLiteral("555")));
    click(chat->Command5);
    QVERIFY(rows(chat->List2).isEmpty());
    QVERIFY(pick(chat->List3, QStringLiteral("123456")));
    click(chat->Command19);
    QVERIFY(rows(chat->List3).isEmpty());
    QCOMPARE(TextFile::readAll(ChatStaff::FilePath),
             lines({QStringLiteral("Ерунда"), QStringLiteral("Старший:777"),
                    QStringLiteral("Премодератор:1234")}));
    expectNoMessageBox();
}

void tst_ChatWindows::longRoomLineShownCutDeletedWhole()
{
    // Hand-edited: a room name of megabytes would freeze the page were it laid out whole.
    const QString name(300 * 1000, QChar(0x0444));
    QVERIFY(TextFile::writeAll(RoomList::FilePath, "5 " + name + "\r\n7 Игры\r\n"));
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command13);
    QCOMPARE(rows(chat->ListView1), QStringList({QStringLiteral("0|Общая|0"), "5|" + ShownText::cut(name) + "|0",
                                                 QStringLiteral("7|Игры|0")}));
    QVERIFY(ShownText::cut(name).size() <= ShownText::MaxChars + 1);
    QVERIFY(pick(chat->ListView1, 0, QStringLiteral("5")));
    click(chat->Command15);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines({QStringLiteral("7 Игры")}));
    expectNoMessageBox();
}

void tst_ChatWindows::roomsPage()
{
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command13);
    QCOMPARE(rows(chat->ListView1), QStringList{QStringLiteral("0|Общая|1")});

    m_dialogs.queueText(QStringLiteral("0"));
    m_dialogs.queueText(QStringLiteral("Ноль"));
    click(chat->Command14);
    m_dialogs.shown.removeFirst();
    m_dialogs.shown.removeFirst();
    expectBox(QStringLiteral("Ошибка"),
              QStringLiteral(
                  "Обнаружена ошибка в заполнении данных. Обратите внимание: номер 0 использовать нельзя."));
    QVERIFY(!TextFile::exists(RoomList::FilePath));

    m_dialogs.queueText(QStringLiteral("5"));
    m_dialogs.queueText(QStringLiteral("Флуд"));
    click(chat->Command14);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Комнаты"));
    QCOMPARE(m_dialogs.shown.at(0).text, QStringLiteral("Введите номер комнаты"));
    QCOMPARE(m_dialogs.shown.at(1).text, QStringLiteral("Введите название"));
    m_dialogs.shown.clear();
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines({QStringLiteral("5 Флуд")}));
    QCOMPARE(rows(chat->ListView1), QStringList({QStringLiteral("0|Общая|1"), QStringLiteral("5|Флуд|0")}));

    m_dialogs.queueText(QStringLiteral("5"));
    m_dialogs.queueText(QStringLiteral("Другая"));
    click(chat->Command14);
    m_dialogs.shown.removeFirst();
    m_dialogs.shown.removeFirst();
    expectBox(QStringLiteral("Комнаты"), QStringLiteral("Комната с таким номером уже существует"));

    // A member changes rooms by command: the counts follow.
    say(Vasya, QStringLiteral("!ROOM 5"));
    deliver();
    QCOMPARE(ChatMemberList::find(Vasya)->room, QStringLiteral("5"));
    QCOMPARE(rows(chat->ListView1), QStringList({QStringLiteral("0|Общая|0"), QStringLiteral("5|Флуд|1")}));

    // A room picked stays picked while the list refills: the delete takes that room.
    for (const auto &[number, name] : {std::pair{"7", "Игры"}, std::pair{"9", "Кино"}}) {
        if (QString::fromLatin1(number) == QLatin1String("9"))
            QVERIFY(pick(chat->ListView1, 0, QStringLiteral("7")));
        m_dialogs.queueText(QString::fromUtf8(number));
        m_dialogs.queueText(QString::fromUtf8(name));
        click(chat->Command14);
        m_dialogs.shown.clear();
    }
    QCOMPARE(rows(chat->ListView1), QStringList({QStringLiteral("0|Общая|0"), QStringLiteral("5|Флуд|1"),
                                                 QStringLiteral("7|Игры|0"), QStringLiteral("9|Кино|0")}));
    click(chat->Command15);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines({QStringLiteral("5 Флуд"), QStringLiteral("9 Кино")}));
    QVERIFY(pick(chat->ListView1, 0, QStringLiteral("9")));
    click(chat->Command15);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines({QStringLiteral("5 Флуд")}));
    chat->ListView1->clearSelection();
    chat->ListView1->setCurrentIndex(QModelIndex());

    // Nothing selected: nothing happens; the common room cannot go.
    click(chat->Command15);
    QVERIFY(pick(chat->ListView1, 0, QStringLiteral("0")));
    click(chat->Command15);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), lines({QStringLiteral("5 Флуд")}));
    QVERIFY(pick(chat->ListView1, 0, QStringLiteral("5")));
    click(chat->Command15);
    QCOMPARE(TextFile::readAll(RoomList::FilePath), CRLF);
    QCOMPARE(rows(chat->ListView1), QStringList{QStringLiteral("0|Общая|0")});
    expectNoMessageBox();
}

void tst_ChatWindows::obscenityPage()
{
    QVERIFY(TextFile::writeLines(ObscenityLists::WordsPath, {QStringLiteral("хрень")}));
    Form33 *chat = openChat();
    QVERIFY(chat);
    QVERIFY(chat->Text3->toPlainText().isEmpty());
    click(chat->Command16);
    QCOMPARE(chat->Text3->toPlainText(), QStringLiteral("хрень"));
    QCOMPARE(chat->Label9->text(), QStringLiteral("1мат=1строка"));
    QCOMPARE(chat->Command18->text(), QStringLiteral("Исключения"));

    // Saved unchanged, the file stays the same.
    click(chat->Command17);
    QCOMPARE(TextFile::readAll(ObscenityLists::WordsPath), lines({QStringLiteral("хрень")}));
    QVERIFY(!TextFile::exists(ObscenityLists::ExceptionsPath));

    click(chat->Command18);
    QCOMPARE(chat->Label9->text(), QStringLiteral("1исключение=1строка"));
    QCOMPARE(chat->Command18->text(), QStringLiteral("Маты"));
    typeInto(chat->Text3, QStringLiteral("хреновина\nхренов"));
    click(chat->Command17);
    QCOMPARE(TextFile::readAll(ObscenityLists::ExceptionsPath),
             lines({QString(), QStringLiteral("хреновина"), QStringLiteral("хренов")}));
    QCOMPARE(TextFile::readAll(ObscenityLists::WordsPath), lines({QStringLiteral("хрень")}));

    // Another page and back: the words again.
    click(chat->Command7);
    click(chat->Command16);
    QCOMPARE(chat->Text3->toPlainText(), QStringLiteral("хрень"));
    QCOMPARE(chat->Command18->text(), QStringLiteral("Исключения"));
    chat->Text3->clear();
    typeInto(chat->Text3, QStringLiteral("хрень\n\nблин"));
    click(chat->Command17);
    QCOMPARE(TextFile::readAll(ObscenityLists::WordsPath),
             lines({QStringLiteral("хрень"), QStringLiteral("блин")}));

    // The chat tests the word after the former gap, and forgives the exceptions.
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    m_sent.clear();
    say(Vasya, QStringLiteral("ну блин"));
    QVERIFY(sentTo(Vasya).contains(ChatService::ObscenityText));
    m_sent.clear();
    say(Vasya, QStringLiteral("какая хреновина"));
    QVERIFY(!sentTo(Vasya).contains(ChatService::ObscenityText));
}

void tst_ChatWindows::autoMessagesPageAndAddWindow()
{
    QVERIFY(TextFile::writeLines(
        AutoMessages::FilePath, {QStringLiteral("2"), QStringLiteral(" 0 "), QStringLiteral("Раз&^+&&^=")}));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command22);
    QCOMPARE(chat->Text2->text(), QStringLiteral("2"));
    QVERIFY(!chat->Check2->isChecked());
    QCOMPARE(rows(chat->ListView2), QStringList{QStringLiteral("1|Раз|+&|=")});
    QVERIFY(!chat->Command25->isEnabled());

    click(chat->Command24);
    auto *add = window<Form51>("Form51");
    QVERIFY(add);
    QCOMPARE(add->Text2->text(), QStringLiteral("+&"));
    QCOMPARE(add->Text4->text(), QStringLiteral("="));
    typeInto(add->Text1, QStringLiteral("a&^b"));
    click(add->Command1);
    expectBox(QStringLiteral("Ошибка"), QStringLiteral("Вы ввели запрщённые символы '&^' (без кавычек)"));
    add->Text1->clear();
    typeInto(add->Text1, QStringLiteral("Два"));
    add->Text2->clear();
    typeInto(add->Text2, QStringLiteral("1"));
    add->Text4->clear();
    typeInto(add->Text4, QStringLiteral("<"));
    click(add->Command1);
    QCOMPARE(TextFile::readAll(AutoMessages::FilePath),
             lines({QStringLiteral("2"), QStringLiteral(" 0 "), QStringLiteral("Раз&^+&&^="),
                    QStringLiteral("Два&^1&^<")}));
    QCOMPARE(rows(chat->ListView2), QStringList({QStringLiteral("1|Раз|+&|="), QStringLiteral("2|Два|1|<")}));
    QCOMPARE(add->Text1->text(), QStringLiteral("Два"));

    // The tick, in order, sends "Два" twice and takes it off: the page follows.
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    QVERIFY(pick(chat->ListView2, 1, QStringLiteral("Два")));
    QVERIFY(chat->Command25->isEnabled());
    NamedTimer *autoTimer = m_main->timers().timer(QStringLiteral("auto_soob"));
    QTRY_VERIFY_WITH_TIMEOUT((autoTimer->tick(), deliver(),
                              !TextFile::readAll(AutoMessages::FilePath).contains(QStringLiteral("Два"))),
                             20000);
    QVERIFY(sentTo(Vasya).join(QString()).contains(QStringLiteral("Два")));
    QCOMPARE(rows(chat->ListView2), QStringList{QStringLiteral("1|Раз|+&|=")});
    QVERIFY(!chat->Command25->isEnabled());

    // Delete takes the entry it shows.
    QVERIFY(pick(chat->ListView2, 1, QStringLiteral("Раз")));
    click(chat->Command25);
    QVERIFY(!TextFile::readAll(AutoMessages::FilePath).contains(QStringLiteral("Раз")));
    QVERIFY(rows(chat->ListView2).isEmpty());

    // Apply: the interval and the order.
    chat->Text2->clear();
    typeInto(chat->Text2, QStringLiteral("45"));
    click(chat->Check2);
    click(chat->Command23);
    QCOMPARE(TextFile::readLines(AutoMessages::FilePath).mid(0, 2),
             QStringList({QStringLiteral("45"), QStringLiteral(" 1 ")}));
    expectNoMessageBox();
}

void tst_ChatWindows::optionsWindow()
{
    QVERIFY(TextFile::writeLines(ChatOptions::FilePath, {QStringLiteral(" 0 "), QStringLiteral(" 0 "),
                                                         QStringLiteral(" 0 "), QStringLiteral(" 1 ")}));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command8);
    auto *options = window<Form42>("Form42");
    QVERIFY(options);
    QCOMPARE(options->windowTitle(), QStringLiteral("Допополнительные настройки чата"));
    QVERIFY(options->Check4->isChecked());
    QVERIFY(!options->Check5->isChecked());
    QCOMPARE(options->Label3->text(), QStringLiteral("ник"));
    click(options->Check4);
    QCOMPARE(options->Label3->text(), QStringLiteral("Все параметры выключены"));
    click(options->Command1);
    expectBox(QStringLiteral("Ошибка"), QStringLiteral("Должен быть хотя бы один выводимый параметр"));
    QCOMPARE(TextFile::readLines(ChatOptions::FilePath).size(), 4);

    click(options->Check1);
    click(options->Check4);
    click(options->Check7);
    QVERIFY(options->Label3->text().endsWith(QStringLiteral(" ник")));
    click(options->Command1);
    QCOMPARE(
        TextFile::readAll(ChatOptions::FilePath),
        lines({QStringLiteral(" 1 "), QStringLiteral(" 0 "), QStringLiteral(" 0 "), QStringLiteral(" 1 "),
               QStringLiteral(" 0 "), QStringLiteral(" 0 "), QStringLiteral(" 0 "), QStringLiteral(" 1 "),
               QStringLiteral(" 0 "), QStringLiteral(" 0 "), QStringLiteral(" 0 ")}));
    QVERIFY(ChatOptions::isSet(ChatOptions::PrivateMessages));
    click(options->Check10);
    click(options->Command1);
    QVERIFY(ChatOptions::isSet(ChatOptions::ShowMemberUins));
    expectNoMessageBox();
}

void tst_ChatWindows::logWindow()
{
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    say(Vasya, QStringLiteral("привет"));
    Form33 *chat = openChat();
    QVERIFY(chat);
    click(chat->Command10);
    auto *log = window<Form43>("Form43");
    QVERIFY(log);
    const QString shown = log->Text1->toPlainText();
    QVERIFY(shown.contains(QStringLiteral("привет")));
    QVERIFY(shown.indexOf(QStringLiteral("привет")) <
            shown.indexOf(QStringLiteral("Регистрация нового ника")));
    click(log->Command1);
    QVERIFY(ChatLog::text().isEmpty());
    click(log->Command1);
    QCOMPARE(log->Text1->toPlainText(), shown);
    expectNoMessageBox();
}

void tst_ChatWindows::thousandMembers()
{
    QList<ChatMember> members;
    for (int i = 0; i < 1000; ++i)
        members.append(
            ChatMember{QString::number(300000 + i), QStringLiteral("ник%1").arg(i), QStringLiteral("0")});
    QVERIFY(ChatMemberList::write(members));
    Form33 *chat = openChat();
    QVERIFY(chat);
    QCOMPARE(chat->List1->model()->rowCount(), 1000);
    QVERIFY(pick(chat->List1, members.at(500).line()));
    QSignalSpy reset(chat->members(), &QAbstractItemModel::modelReset);
    QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
    registerMember(Vasya, QStringLiteral("Вася"));
    QVERIFY(m_chat->removeMember(members.at(10).uin));
    QCOMPARE(chat->List1->model()->rowCount(), 1000);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(chat->List1->selectionModel()->selectedRows().first().data().toString(), members.at(500).line());
}

QTEST_MAIN(tst_ChatWindows)
#include "tst_chatwindows.moc"
