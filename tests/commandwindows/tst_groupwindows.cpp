// The group manager and the command import window inside the main window, driven
// through their named controls; the group files and the per-group folders are checked
// byte for byte.
#include "commandwindowsfixture.h"
#include "commandwindows/answer_pages.h"
#include "commandwindows/answer_pages_window.h"
#include "commandwindows/command_manager_window.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/group_windows.h"
#include "commandwindows/install.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "support/commandrecords.h"
#include "support/programhome.h"
#include "support/typing.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include <sys/stat.h>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;

namespace {
const QByteArray Missing("<missing>");
const QString Groups = QStringLiteral("Группы/Все группы.txt");
const QString Numbers = QStringLiteral("Группы/Номера.txt");
} // namespace

class tst_GroupWindows : public CommandWindowsFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithOnlyAddEnabled();
    void groupsAddedInOrder();
    void groupRefusals_data();
    void groupRefusals();
    void duplicateLeavesItSelected();
    void numbersOfTheSelectedGroup();
    void numberRefusals_data();
    void numberRefusals();
    void numberNotWrittenNotListed();
    void deleteNumberFromEveryGroup();
    void deleteGroups();
    void commandsOpenTheWizard();
    void wizardKeepsTheListsFresh();
    void addingAGroupEnablesImport();
    void importCopies();
    void importOverwriteAsks_data();
    void importOverwriteAsks();
    void importRefusals();

private:
    Form11 *openGroups()
    {
        m_main->action(QStringLiteral("grups_m"))->trigger();
        return window<Form11>("Form11");
    }
    Form31 *openImport()
    {
        m_main->showWindow(QStringLiteral("Form31"));
        return window<Form31>("Form31");
    }
    // Chooses a group from the box's drop-down list, as a click on the entry does.
    static bool choose(QComboBox *combo, const QString &group)
    {
        const int row = combo->findText(group, Qt::MatchExactly);
        if (row < 0)
            return false;
        combo->setCurrentIndex(row);
        Q_EMIT combo->activated(row);
        return true;
    }
    static QString selected(const QListWidget *list)
    {
        const auto chosen = list->selectedItems();
        return chosen.isEmpty() ? QString() : chosen.first()->text();
    }
    static QList<bool> states(const Form11 *form)
    {
        return {form->Command5->isEnabled(), form->Command6->isEnabled(), form->Command1->isEnabled(),
                form->Command2->isEnabled(), form->Command3->isEnabled(), form->Command4->isEnabled()};
    }
    void addGroup(Form11 *form, const QString &name)
    {
        m_dialogs.queueText(name);
        click(form->Command5);
    }

};

void tst_GroupWindows::init()
{
    setUp();
}

void tst_GroupWindows::cleanup()
{
    tearDown();
}

void tst_GroupWindows::opensWithOnlyAddEnabled()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Управление группами"));
    QCOMPARE(items(form->List1), (QStringList{"А", "Б"}));
    QCOMPARE(selected(form->List1), QString());
    QCOMPARE(states(form), (QList<bool>{true, false, false, false, false, false}));
    QVERIFY(pick(form->List1, "Б"));
    QCOMPARE(states(form), (QList<bool>{true, true, true, false, true, false}));
}

void tst_GroupWindows::groupsAddedInOrder()
{
    Form11 *form = openGroups();
    QVERIFY(form);
    addGroup(form, "Друзья");
    addGroup(form, "общая");
    addGroup(form, "С пробелом: и двоеточием");
    QCOMPARE(m_dialogs.shown.size(), 3); // the three input boxes
    QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Добавление группы"));
    QCOMPARE(m_dialogs.shown.at(0).text, QStringLiteral("Введите название группы"));
    QCOMPARE(bytes(Groups), cp("Друзья\r\nобщая\r\nС пробелом: и двоеточием\r\n"));
    QCOMPARE(items(form->List1), (QStringList{"Друзья", "общая", "С пробелом: и двоеточием"}));
    QVERIFY(QFileInfo(path("Команды")).isDir());
    QCOMPARE(bytes("Команды/Друзья.txt"), Missing);
}

void tst_GroupWindows::groupRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString bad = Form11::BadNameText;
    QTest::newRow("empty") << "" << "Ошибка" << Form11::NoNameText;
    QTest::newRow("built-in") << "Общая" << "Группа" << Form11::BuiltInText;
    QTest::newRow("slash") << "a/b" << "Группа" << bad;
    QTest::newRow("backslash") << "..\\x" << "Группа" << bad;
    QTest::newRow("dot") << "." << "Группа" << bad;
    QTest::newRow("dot dot") << ".." << "Группа" << bad;
    QTest::newRow("control character") << "a\tb" << "Группа" << bad;
    QTest::newRow("settings") << "настройки" << "Группа" << bad;
    QTest::newRow("additional") << "ДОБАВОЧНЫЕ" << "Группа" << bad;
    QTest::newRow("signature") << "Подпись" << "Группа" << bad;
    QTest::newRow("unknown reply") << "Ответ на неизвестную команду" << "Группа" << bad;
}

void tst_GroupWindows::groupRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QVERIFY(write(Groups, cp("А\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form);
    addGroup(form, name);
    m_dialogs.shown.removeFirst(); // the input box
    expectBox(title, text);
    QCOMPARE(bytes(Groups), cp("А\r\n"));
    QCOMPARE(items(form->List1), QStringList{"А"});
}

void tst_GroupWindows::duplicateLeavesItSelected()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\n")));
    QVERIFY(write(Numbers, cp("7:Б\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form);
    addGroup(form, "А");
    m_dialogs.shown.removeFirst();
    expectBox("Группа", Form11::DuplicateText);
    QCOMPARE(selected(form->List1), QStringLiteral("А"));
    QVERIFY(pick(form->List1, "Б"));
    addGroup(form, "В");
    QCOMPARE(bytes(Groups), cp("А\r\nБ\r\nВ\r\n"));
    QCOMPARE(items(form->List1), (QStringList{"А", "Б", "В"}));
    QCOMPARE(selected(form->List1), QStringLiteral("Б"));
    QCOMPARE(items(form->List2), QStringList{"7"});
}

void tst_GroupWindows::numbersOfTheSelectedGroup()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\n")));
    QVERIFY(write(Numbers, cp("1:Б\r\n123:А\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А"));
    QCOMPARE(items(form->List2), QStringList{"123"});
    m_dialogs.queueText(" 555 ");
    click(form->Command1);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Input);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Добавление номера"));
    QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Введите номер"));
    QCOMPARE(bytes(Numbers), cp("1:Б\r\n123:А\r\n555:А\r\n"));
    QCOMPARE(items(form->List2), (QStringList{"123", "555"}));
    QVERIFY(!form->Command2->isEnabled());
    QVERIFY(pick(form->List2, "123"));
    QVERIFY(form->Command2->isEnabled());
    click(form->Command2);
    QCOMPARE(bytes(Numbers), cp("1:Б\r\n555:А\r\n"));
    QCOMPARE(items(form->List2), QStringList{"555"});
    QVERIFY(!form->Command2->isEnabled());
    QVERIFY(pick(form->List2, "555"));
    click(form->Command2);
    QVERIFY(pick(form->List1, "Б"));
    QVERIFY(pick(form->List2, "1"));
    click(form->Command2);
    QCOMPARE(bytes(Numbers), Missing);
    QCOMPARE(items(form->List2), QStringList());
}

void tst_GroupWindows::numberRefusals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "12a";
    QTest::newRow("colon") << "12:Б";
    QTest::newRow("blank inside") << "1 2";
    QTest::newRow("blanks only") << "   ";
}

void tst_GroupWindows::numberRefusals()
{
    QFETCH(QString, typed);
    QVERIFY(write(Groups, cp("А\r\n")));
    QVERIFY(write(Numbers, cp("1:А\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А"));
    m_dialogs.queueText(typed);
    click(form->Command1);
    m_dialogs.shown.removeFirst();
    expectBox("Ошибка", Form11::BadNumberText);
    QCOMPARE(bytes(Numbers), cp("1:А\r\n"));
    QCOMPARE(items(form->List2), QStringList{"1"});
}

void tst_GroupWindows::numberNotWrittenNotListed()
{
    QVERIFY(write(Groups, cp("А\r\n")));
    // Something that cannot be read stands where the numbers file should be.
    QCOMPARE(::mkfifo(QFile::encodeName(path(Numbers)).constData(), 0600), 0);
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А"));
    m_dialogs.queueText("555");
    click(form->Command1);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(1).title, QStringLiteral("Ошибка"));
    QCOMPARE(items(form->List2), QStringList());
    QVERIFY(!QFileInfo(path(Numbers)).isFile());
}

void tst_GroupWindows::deleteNumberFromEveryGroup()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\n")));
    QVERIFY(write(Numbers, cp("123:А\r\n5:Б\r\n123:Б\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А") && pick(form->List2, "123"));
    click(form->Command2);
    QCOMPARE(bytes(Numbers), cp("5:Б\r\n"));
    QVERIFY(pick(form->List1, "Б"));
    QCOMPARE(items(form->List2), QStringList{"5"});
}

void tst_GroupWindows::deleteGroups()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\nА\r\n")));
    QVERIFY(write(Numbers, cp("1:А\r\n")));
    QVERIFY(write("Команды/А.txt", rec("привет", "'Текст'\r\nздравствуй")));
    Form11 *form = openGroups();
    QVERIFY(form);
    click(form->Command6);
    QVERIFY(m_dialogs.shown.isEmpty()); // disabled while no group is selected
    QVERIFY(pick(form->List1, "А"));
    click(form->Command6);
    QCOMPARE(bytes(Groups), cp("Б\r\n"));
    QCOMPARE(items(form->List1), QStringList{"Б"});
    QCOMPARE(selected(form->List1), QString());
    QCOMPARE(states(form), (QList<bool>{true, false, false, false, false, false}));
    QVERIFY(pick(form->List1, "Б"));
    click(form->Command6);
    QCOMPARE(bytes(Groups), Missing);
    QVERIFY(QFileInfo(path("Группы")).isDir()); // the numbers file is still there
    QCOMPARE(bytes(Numbers), cp("1:А\r\n"));
    QCOMPARE(bytes("Команды/А.txt"), rec("привет", "'Текст'\r\nздравствуй"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_GroupWindows::commandsOpenTheWizard()
{
    QVERIFY(write(Groups, cp("А\r\n")));
    QVERIFY(write("Команды/А.txt", rec("первая", "'Текст'\r\nодин") + rec("вторая", "'Текст'\r\nдва")));
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А"));
    QCOMPARE(items(form->List3), (QStringList{"первая", "вторая"}));
    QVERIFY(!form->Command4->isEnabled());
    click(form->Command3);
    auto *step1 = window<Form12>("Form12");
    QVERIFY(step1);
    QCOMPARE(step1->Combo1->currentText(), QStringLiteral("А"));
    QCOMPARE(step1->Text1->text(), QString());
    QVERIFY(step1->Text1->isEnabled());
    QVERIFY(!step1->Option7->isEnabled());
    QVERIFY(pick(form->List3, "вторая"));
    QVERIFY(form->Command4->isEnabled());
    click(form->Command4);
    QCOMPARE(step1->Text1->text(), QStringLiteral("вторая"));
    QCOMPARE(step1->Combo1->currentText(), QStringLiteral("А"));
    QVERIFY(!step1->Text1->isEnabled());
    QVERIFY(step1->Option7->isEnabled());
    QCOMPARE(step1->Command1->text(), Form12::ChangeCaption);
}

void tst_GroupWindows::wizardKeepsTheListsFresh()
{
    QVERIFY(write(Groups, cp("А\r\nБ\r\n")));
    Form11 *form = openGroups();
    QVERIFY(form && pick(form->List1, "А"));
    click(form->Command3);
    auto *step1 = window<Form12>("Form12");
    QVERIFY(step1);
    typeInto(step1->Text1, "новая");
    click(step1->Option1);
    click(step1->Command1);
    auto *step2 = window<Form14>("Form14");
    QVERIFY(step2);
    step2->add_t1->Text1->setFocus();
    step2->add_t1->Text1->insertPlainText(QStringLiteral("ответ"));
    click(step2->add_t1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(items(form->List3), QStringList{"новая"});
    QVERIFY(bytes("Команды/А.txt").startsWith(cp("Команда: новая\r\n")));
    QCOMPARE(bytes("Команды/Б.txt"), Missing);

    QVERIFY(pick(form->List3, "новая"));
    click(form->Command4);
    QVERIFY(step1->isVisible());
    click(step1->Option7);
    click(step1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(items(form->List3), QStringList());
    QVERIFY(!form->Command4->isEnabled());
    QCOMPARE(bytes("Команды/А.txt"), Missing);
}

void tst_GroupWindows::addingAGroupEnablesImport()
{
    m_main->action(QStringLiteral("komand_m"))->trigger();
    auto *manager = window<Form9>("Form9");
    QVERIFY(manager);
    QVERIFY(!manager->Command5->isEnabled());
    Form11 *form = openGroups();
    QVERIFY(form);
    addGroup(form, "А");
    QVERIFY(manager->Command5->isEnabled());
    QVERIFY(pick(form->List1, "А"));
    click(form->Command6);
    QVERIFY(!manager->Command5->isEnabled());
    click(manager->Command5);
    QVERIFY(!window<Form31>("Form31"));
}

void tst_GroupWindows::importCopies()
{
    QVERIFY(write(Groups, cp("А\r\n")));
    QVERIFY(write("Команды/Общая/Команды.txt", cp("x\r\nY\r\n")));
    QVERIFY(write("Команды/Общая/x.txt", QByteArray("\x01\xff raw\r\nbytes", 13)));
    QVERIFY(write("Команды/Общая/Y.txt", cp("игрек")));
    QVERIFY(write("Команды/А/Команды.txt", QByteArray()));
    QVERIFY(write("Команды/А/y.txt", cp("другая")));
    Form31 *form = openImport();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Импорт команд"));
    QCOMPARE(form->Combo1->count(), 2);
    QCOMPARE(form->Combo1->itemText(0), QStringLiteral("Общая"));
    QCOMPARE(form->Combo2->itemText(1), QStringLiteral("А"));
    QVERIFY(choose(form->Combo1, "Общая"));
    QCOMPARE(items(form->List1), (QStringList{"x", "Y"}));
    QVERIFY(choose(form->Combo2, "А"));
    QCOMPARE(items(form->List2), QStringList());
    QVERIFY(pick(form->List1, "x"));
    click(form->Command1);
    QCOMPARE(bytes("Команды/А/Команды.txt"), cp("x\r\n"));
    QCOMPARE(bytes("Команды/А/x.txt"), QByteArray("\x01\xff raw\r\nbytes", 13));
    QVERIFY(pick(form->List1, "Y"));
    click(form->Command1);
    QCOMPARE(bytes("Команды/А/Команды.txt"), cp("x\r\nY\r\n"));
    QCOMPARE(bytes("Команды/А/Y.txt"), cp("игрек"));
    QCOMPARE(bytes("Команды/А/y.txt"), cp("другая")); // names differ in letter case
    QCOMPARE(items(form->List2), (QStringList{"x", "Y"}));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_GroupWindows::importOverwriteAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes replaces the file") << true;
    QTest::newRow("no changes nothing") << false;
}

void tst_GroupWindows::importOverwriteAsks()
{
    QFETCH(bool, yes);
    QVERIFY(write(Groups, cp("А\r\n")));
    QVERIFY(write("Команды/А/Команды.txt", cp("x\r\n")));
    QVERIFY(write("Команды/А/x.txt", cp("новое")));
    QVERIFY(write("Команды/Общая/Команды.txt", cp("x")));
    QVERIFY(write("Команды/Общая/x.txt", cp("старое")));
    Form31 *form = openImport();
    QVERIFY(form && choose(form->Combo1, "Общая") && choose(form->Combo2, "А"));
    QVERIFY(pick(form->List2, "x"));
    m_dialogs.queueButton(yes ? Dialogs::Button::Yes : Dialogs::Button::No);
    click(form->Command2);
    expectBox("Перезаписать файл", "Такая команда уже есть. Хотите переписать?", Icon::Information, Buttons::YesNo);
    QCOMPARE(bytes("Команды/Общая/Команды.txt"), cp("x"));
    QCOMPARE(bytes("Команды/Общая/x.txt"), cp(yes ? "новое" : "старое"));
    QCOMPARE(items(form->List1), QStringList{"x"});
}

void tst_GroupWindows::importRefusals()
{
    QVERIFY(write(Groups, cp("А\r\n")));
    QVERIFY(write("Команды/Общая/Команды.txt", cp("x\r\nнет\r\n")));
    QVERIFY(write("Команды/Общая/x.txt", cp("икс")));
    QVERIFY(write("Команды/А/Команды.txt", cp("y\r\n")));
    Form31 *form = openImport();
    QVERIFY(form && choose(form->Combo1, "Общая") && choose(form->Combo2, "А"));
    // The same group in both boxes: the right side keeps showing its group.
    QVERIFY(choose(form->Combo2, "Общая"));
    expectBox("Импорт команд", Form31::SameGroupText);
    QCOMPARE(items(form->List2), QStringList{"y"});
    QCOMPARE(form->Combo2->currentText(), QStringLiteral("А"));
    // A group typed into a box equal to the other one: the copy is refused.
    form->Combo2->setEditText(QStringLiteral("Общая"));
    QVERIFY(pick(form->List1, "x"));
    click(form->Command1);
    expectBox("Импорт команд", Form31::SameGroupText);
    QCOMPARE(bytes("Команды/Общая/Команды.txt"), cp("x\r\nнет\r\n"));
    // A listed command without its file.
    form->Combo2->setEditText(QStringLiteral("А"));
    QVERIFY(pick(form->List1, "нет"));
    click(form->Command1);
    expectBox("Импорт команд", Form31::NoSourceText);
    QCOMPARE(bytes("Команды/А/Команды.txt"), cp("y\r\n"));
    QCOMPARE(bytes("Команды/А/нет.txt"), Missing);
    QCOMPARE(items(form->List2), QStringList{"y"});
}

QTEST_MAIN(tst_GroupWindows)
#include "tst_groupwindows.moc"
