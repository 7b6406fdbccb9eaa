// The notepad and administrator contact windows driven through their controls: the
// switch and contact files, the users' notes, and the help each puts into a command.
#include "commands/sidetexts.h"
#include "commandwindows/side_windows.h"
#include "featurewindowsfixture.h"
#include "settings/admin_contact_window.h"
#include "settings/notepad_window.h"
#include "support/commandrecords.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const char *SwitchPath = "Подпрограммы/Блокнот.txt";
const char *ContactPath = "Подпрограммы/Связь с админом.txt";
const QString HelpCaption = QStringLiteral("Встроить помощь  по этой функции в команду ...");
} // namespace

class tst_NotepadWindows : public FeatureWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void notepadCaptions();
    void notepadSwitch();
    void notepadSwitchFailureShown();
    void notepadOpensAsTheFileSays_data();
    void notepadOpensAsTheFileSays();
    void notesViewed();
    void viewWithoutNotesDoesNothing();
    void vanishedNoteReported();
    void helpEmbedded_data();
    void helpEmbedded();

    void contactCaptions();
    void contactLoads_data();
    void contactLoads();
    void contactApplies_data();
    void contactApplies();
};

void tst_NotepadWindows::notepadCaptions()
{
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Блокнот"));
    QCOMPARE(form->Label1->text(),
             QString("Эта функция позволяет хранить вашим пользователям нужную им информацию у вас на сервере."));
    QCOMPARE(form->Check1->text(), QString("Включить функцию"));
    QCOMPARE(form->Label2->text(), QString("Информация как пользоваться:"));
    QCOMPARE(form->Label3->text(), QString("!блокнот_запись - повзоляет делать запись у вас на боте."));
    QCOMPARE(form->Label4->text(), QString("!блокнот - показывает записи, сохранёные у вас."));
    QCOMPARE(form->Command1->text(), QString("Просмотреть"));
    QCOMPARE(form->Command2->text(), HelpCaption);
}

// Every click acts at once: on writes " 1 ", off deletes the file.
void tst_NotepadWindows::notepadSwitch()
{
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    QVERIFY(!form->Check1->isChecked());
    click(form->Check1);
    QVERIFY(form->Check1->isChecked());
    QCOMPARE(bytes(SwitchPath), QByteArray(" 1 \r\n"));
    click(form->Check1);
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(bytes(SwitchPath), QByteArray("<missing>"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

// A switch the disk refused is reported, and the box goes back to what the bot does.
void tst_NotepadWindows::notepadSwitchFailureShown()
{
    QVERIFY(QDir().mkpath(path(SwitchPath)));
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    click(form->Check1);
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QString("Ошибка"));
    QVERIFY(m_dialogs.shown.first().text.startsWith("Не удалось сохранить настройки: "));
}

void tst_NotepadWindows::notepadOpensAsTheFileSays_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");

    QTest::newRow("on") << QByteArray(" 1 \r\n") << true;
    QTest::newRow("on, typed by hand") << QByteArray("1") << true;
    QTest::newRow("off") << QByteArray(" 0 \r\n") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

void tst_NotepadWindows::notepadOpensAsTheFileSays()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QVERIFY(write(SwitchPath, file));
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    QCOMPARE(form->Check1->isChecked(), on);
    QCOMPARE(bytes(SwitchPath), file);
}

void tst_NotepadWindows::notesViewed()
{
    QVERIFY(write("Блокноты/Список.txt", "111\r\n222\r\n"));
    QVERIFY(write("Блокноты/111.txt", cp1251("Купить хлеб\r\nи молоко\r\n")));
    QVERIFY(write("Блокноты/222.txt", "second\r\n"));
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    QCOMPARE(form->Combo1->count(), 2);
    QCOMPARE(form->Combo1->itemText(0), QString("111"));
    QCOMPARE(form->Combo1->itemText(1), QString("222"));

    form->Combo1->setCurrentIndex(0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(form->Text1->toPlainText(), QString("Купить хлеб\nи молоко\n"));
    form->Combo1->setCurrentIndex(1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(form->Text1->toPlainText(), QString("second\n"));
    // Viewing writes nothing back.
    QCOMPARE(bytes("Блокноты/111.txt"), cp1251("Купить хлеб\r\nи молоко\r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_NotepadWindows::viewWithoutNotesDoesNothing()
{
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    QCOMPARE(form->Combo1->count(), 0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(form->Text1->toPlainText(), QString());
    QVERIFY(m_dialogs.shown.isEmpty());
}

// A note deleted since the list was read is said to be missing, not shown as empty.
void tst_NotepadWindows::vanishedNoteReported()
{
    QVERIFY(write("Блокноты/Список.txt", "111\r\n"));
    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    form->Combo1->setCurrentIndex(0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectBox("Ошибка", "Записи номера 111 нет.");
    QCOMPARE(form->Text1->toPlainText(), QString());
}

void tst_NotepadWindows::helpEmbedded_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("kind");

    QTest::newRow("notepad") << "Form23" << int(HelpEmbedding::Notepad);
    QTest::newRow("administrator contact") << "Form24" << int(HelpEmbedding::AdminContact);
}

// The help button shows the help embedding window set to its own help, which goes into
// the command the operator picks there.
void tst_NotepadWindows::helpEmbedded()
{
    QFETCH(QString, form);
    QFETCH(int, kind);
    const QString head = QStringLiteral("Команда: привет\r\nДействие: Здравствуйте\r\n");
    QVERIFY(write("Команды/Общая.txt", rec("привет", "Здравствуйте")));

    QPushButton *help = nullptr;
    if (form == "Form23")
        help = open<Form23>("blocnot_m", "Form23")->Command2;
    else
        help = open<Form24>("svaz_m", "Form24")->Command2;
    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(HelpEmbedding::kind(), kind);
    auto *embed = window<Form36>("Form36");
    QVERIFY(embed);
    QVERIFY(embed->isVisible());
    QVERIFY(pick(embed->List1, 0));
    QTest::mouseClick(embed->Command1, Qt::LeftButton);
    QCOMPARE(bytes("Команды/Общая.txt"), cp(head + HelpEmbedding::helpText(kind) + QStringLiteral("====\r\n\r\n")));
    QVERIFY(HelpEmbedding::helpText(kind).contains(kind == HelpEmbedding::Notepad
                                                       ? "---Встроенная функция - Блокнот---"
                                                       : "---Встроенная функция - Связь с админом---"));
    QCOMPARE(HelpEmbedding::kind(), int(HelpEmbedding::None));
}

void tst_NotepadWindows::contactCaptions()
{
    auto *form = open<Form24>("svaz_m", "Form24");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Связь с админом"));
    QCOMPARE(form->Label1->text(), QString("Эта функция реализует общение пользователя с вами через бота."));
    QCOMPARE(form->Check1->text(), QString("Включить фнукцию"));
    QCOMPARE(form->Label2->text(), QString("Введите ваш UIN:"));
    QCOMPARE(form->Label3->text(),
             QString("Если UIN находиться в \"Чёрном списке\", то он не сможет к вам обратиться."));
    QCOMPARE(form->Command1->text(), QString("Применить"));
    QCOMPARE(form->Command2->text(), HelpCaption);
}

void tst_NotepadWindows::contactLoads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("number");

    QTest::newRow("missing") << QByteArray() << false << "";
    QTest::newRow("on") << QByteArray(" 1 \r\n123456\r\n") << true << "123456";
    QTest::newRow("off") << QByteArray(" 0 \r\n123456\r\n") << false << "123456";
    QTest::newRow("switch only") << QByteArray(" 1 \r\n") << true << "";
}

void tst_NotepadWindows::contactLoads()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QFETCH(QString, number);
    if (!file.isNull())
        QVERIFY(write(ContactPath, file));
    auto *form = open<Form24>("svaz_m", "Form24");
    QVERIFY(form);
    QCOMPARE(form->Check1->isChecked(), on);
    QCOMPARE(form->Text1->text(), number);
    QCOMPARE(bytes(ContactPath), file.isNull() ? QByteArray("<missing>") : file);
}

void tst_NotepadWindows::contactApplies_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("on") << true << "123456" << QByteArray(" 1 \r\n123456\r\n");
    QTest::newRow("off with a number") << false << "123456" << QByteArray(" 0 \r\n123456\r\n");
    QTest::newRow("on without a number") << true << "" << QByteArray(" 1 \r\n\r\n");
}

void tst_NotepadWindows::contactApplies()
{
    QFETCH(bool, on);
    QFETCH(QString, number);
    QFETCH(QByteArray, expected);
    auto *form = open<Form24>("svaz_m", "Form24");
    QVERIFY(form);
    if (on)
        click(form->Check1);
    typeInto(form->Text1, number);
    // Nothing is written before the button.
    QCOMPARE(bytes(ContactPath), QByteArray("<missing>"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(ContactPath), expected);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(closeWindow("Form24"));
    form = open<Form24>("svaz_m", "Form24");
    QCOMPARE(form->Check1->isChecked(), on);
    QCOMPARE(form->Text1->text(), number);
}

QTEST_MAIN(tst_NotepadWindows)
#include "tst_notepadwindows.moc"
