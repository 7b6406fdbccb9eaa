// The command base editor windows inside the main window, driven through their named
// controls: the command manager, the two wizard steps with their pages, the search.
#include "commandwindowsfixture.h"
#include "commandwindows/answer_pages_window.h"
#include "support/filemode.h"
#include "support/commandrecords.h"
#include "support/typing.h"
#include "support/programhome.h"
#include "commandwindows/command_manager_window.h"
#include "commandwindows/command_search_window.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/install.h"
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <type_traits>

using Shown = RecordingDialogs::Shown;
using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;

class tst_CommandWindows : public CommandWindowsFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captions();
    void menuToolbarAndLinkOpenWindows();
    void managerFirstLoad();
    void addEachKind_data();
    void addEachKind();
    void pageRefusalsShowBoxes_data();
    void pageRefusalsShowBoxes();
    void changeShowsCurrentValues();
    void deleteRemovesRecordAndEntry();
    void deleteOfVanishedRecord();
    void openPageKeepsItsCommand_data();
    void openPageKeepsItsCommand();
    void changeOfAnotherCommandKeepsThePage();
    void managerAnswerFollowsTheWizard();
    void nameWithLineBreakRefused();
    void groupFileInOtherLetterCase();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void reservedNameRefused();
    void managerSavesAnswerInPlace();
    void typedGroupNotConfirmedIsNotUsed();
    void failedWriteAndForeignTextReported();
    void optionsApplied();
    void searchAppendsRows();
    void tenThousandRecords();

private:
    Form9 *openManager()
    {
        m_main->action(QStringLiteral("komand_m"))->trigger();
        return window<Form9>("Form9");
    }
    static bool selectCommand(Form9 *manager, const QString &name)
    {
        QAbstractItemModel *model = manager->List1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data().toString() == name) {
                manager->List1->scrollTo(index);
                QTest::mouseClick(manager->List1->viewport(), Qt::LeftButton, {},
                                  manager->List1->visualRect(index).center());
                return manager->selectedCommand() == name;
            }
        }
        return false;
    }
    // Step 1 through the manager's "Добавить": name typed, option chosen, "Продолжить >>".
    Form12 *startAdd(Form9 *manager, const QString &name, const char *option)
    {
        click(manager->Command1);
        Form12 *step1 = window<Form12>("Form12");
        if (!step1)
            return nullptr;
        typeInto(step1->Text1, name);
        click(step1->findChild<QRadioButton *>(QString::fromLatin1(option)));
        click(step1->Command1);
        return step1;
    }
    static void fill(QWidget *page, const QStringList &values)
    {
        for (const QString &pair : values) {
            const QString name = pair.section(QLatin1Char('='), 0, 0);
            const QString value = pair.section(QLatin1Char('='), 1);
            QWidget *control = page->findChild<QWidget *>(name);
            QVERIFY2(control, qPrintable(name));
            if (auto *line = qobject_cast<QLineEdit *>(control)) {
                line->clear();
                typeInto(line, value);
            } else if (auto *edit = qobject_cast<QPlainTextEdit *>(control)) {
                edit->setFocus();
                edit->selectAll();
                edit->insertPlainText(value);
            } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
                click(button);
            }
        }
    }

};

void tst_CommandWindows::init()
{
    setUp();
}

void tst_CommandWindows::cleanup()
{
    tearDown();
}

void tst_CommandWindows::captions()
{
    Form9 *manager = openManager();
    QVERIFY(manager);
    click(manager->Command1);
    Form12 *step1 = window<Form12>("Form12");
    QVERIFY(step1);
    m_main->showWindow(QStringLiteral("Form14"));
    m_main->showWindow(QStringLiteral("Form15"));
    const struct
    {
        const char *window;
        const char *control;
        const char *text;
    } texts[] = {
        {"Form9", "Form9", "Управление командами"},
        {"Form9", "Label1", "Поиск команды :"},
        {"Form9", "Label2", "Расширенный поиск"},
        {"Form9", "Command3", "Сохранить"},
        {"Form9", "Command1", "Добавить"},
        {"Form9", "Command2", "Изменить\\удалить"},
        {"Form9", "Command5", "Импорт команд"},
        {"Form9", "Check1", "Не учитывать регистр"},
        {"Form9", "Option1",
         "Совместная обработка групп - команда будет обрабатываться по группе, в которой находится контакт, а так "
         "же по \"Общей\" группе"},
        {"Form9", "Option2",
         "Приоритет группы - команда будет обрабатываться  только по группе, в которой находится контакт"},
        {"Form9", "Check2", "Игнорировать пробелы и переходы на след. строку в конце команды"},
        {"Form9", "Command4", "Применить"},
        {"Form12", "Form12", "Добавление команды. Шаг 1."},
        {"Form12", "Label1", "Название команды  :"},
        {"Form12", "Label2", "Выберите группу     :"},
        {"Form12", "Label4",
         "Запрещается использовать спец символы (кроме \"!\"). Команды со спец. символами обрабатываться не будут."},
        {"Form12", "Label3",
         "Если команда находить в группе \"Общая\", то эта команда будет доступна для всех пользователей и для всех "
         "групп"},
        {"Form12", "Option1", "Текст"},
        {"Form12", "Option2", "Ответ из файла"},
        {"Form12", "Option4", "Скачать файл-ответ из интернета"},
        {"Form12", "Option3", "Запуск программ и считывание ответов после работы программы."},
        {"Form12", "Option8", "Случайный ответ"},
        {"Form12", "Option7", "Удалить (только при нажатии кнопки Удалить/изменить)"},
        {"Form12", "Command1", "Продолжить >>"},
        {"Form14", "Form14", "Добавление команды. Шаг 2."},
        {"Form14", "add_t1/Command1", "Сохранить команду"},
        {"Form14", "add_fr1/Label1", "Введите или выберите путь к файлу:"},
        {"Form14", "add_fr1/Command1", "..."},
        {"Form14", "add_fr1/Label2", "Поддерживаются файлы с раширением: txt, doc, rtf"},
        {"Form14", "add_fr1/Command2", "Сохранить команду"},
        {"Form14", "add_frp1/Label1", "Введите путь к запускаемой программе"},
        {"Form14", "add_frp1/Label2", "Время действия программы (после чего считывается ответ)"},
        {"Form14", "add_frp1/Label4", "сек."},
        {"Form14", "add_frp1/Label3", "Путь к файлу-ответу"},
        {"Form14", "add_frp1/Command3", "Сохранить команду"},
        {"Form14", "add_rdi1/Label1", "Введите ссылку на файл:"},
        {"Form14", "add_rdi1/Label3",
         "Если программа не смогла скачать файл в течении 20 секунд, то команда обрывается и посылается ответ "
         "пользователю, что файл не может быть обработан."},
        {"Form14", "add_rdi1/Command2", "Сохранить команду"},
        {"Form14", "add_so1/SeparatorLabel", "Разделитель между ответами:"},
        {"Form14", "add_so1/CountLabel", "Кол-во посылаемых ответов:"},
        {"Form14", "add_so1/Text4", "1"},
        {"Form14", "add_so1/Label4", "Не рекомендуется ипользовать \"====\" в сообщениях, т.к. может привести к сбоям"},
        {"Form14", "add_so1/Option1", "Использовать файл в качестве ответов"},
        {"Form14", "add_so1/Label1", "Добавить текст из файла:"},
        {"Form14", "add_so1/Command1", "Использовать файл..."},
        {"Form14", "add_so1/Option2", "Использовать текствое поле"},
        {"Form14", "add_so1/Command2", "Сохранить команду"},
        {"Form15", "Form15", "Расширенный поиск команд"},
        {"Form15", "Label1", "Название команды  :"},
        {"Form15", "Command1", "Поиск"},
    };
    for (const auto &entry : texts) {
        QWidget *top = m_main->findWindow(QString::fromLatin1(entry.window));
        QVERIFY2(top, entry.window);
        const QString control = QString::fromLatin1(entry.control);
        QWidget *widget = top;
        if (control != QLatin1String(entry.window)) {
            for (const QString &part : control.split(QLatin1Char('/'))) {
                widget = widget->findChild<QWidget *>(part);
                QVERIFY2(widget, entry.control);
            }
        }
        QString text;
        if (widget == top)
            text = widget->windowTitle();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            text = button->text();
        else if (auto *line = qobject_cast<QLineEdit *>(widget))
            text = line->text();
        QCOMPARE(text, QString::fromUtf8(entry.text));
    }
    auto *results = window<Form15>("Form15")->ListView1;
    QCOMPARE(results->headerItem()->text(0), "Группа");
    QCOMPARE(results->headerItem()->text(1), "Команда");
    // The random page's design state: answers from a file.
    auto *random = window<Form14>("Form14")->add_so1;
    QVERIFY(random->Option1->isChecked());
    QVERIFY(random->Picture2->isEnabled());
    QVERIFY(!random->Picture1->isEnabled());
}

void tst_CommandWindows::menuToolbarAndLinkOpenWindows()
{
    for (const char *opener : {"komand_m", "et3"}) {
        m_main->action(QString::fromLatin1(opener))->trigger();
        Form9 *manager = window<Form9>("Form9");
        QVERIFY2(manager, opener);
        QVERIFY(manager->isVisible());
        manager->close();
        QTRY_VERIFY(!window<Form9>("Form9"));
    }
    Form9 *manager = openManager();
    QTest::mouseClick(manager->Label2, Qt::LeftButton);
    QVERIFY(window<Form15>("Form15"));
}

void tst_CommandWindows::managerFirstLoad()
{
    QVERIFY(write("Команды/Общая.txt", rec("привет", "Здравствуй\r\nКоманда: скрытая") + rec("пока", "До встречи")));
    Form9 *manager = openManager();
    QVERIFY(manager);
    QCOMPARE(bytes("Команды/Настройки.txt"), QByteArray("0\r\n2\r\n1\r\n"));
    QVERIFY(!manager->Check1->isChecked());
    QVERIFY(manager->Option2->isChecked());
    QVERIFY(manager->Check2->isChecked());
    QCOMPARE(manager->Combo1->count(), 1);
    QCOMPARE(manager->Combo1->currentText(), "Общая");
    QVERIFY(!manager->Command5->isEnabled());
    QCOMPARE(manager->commandNames(), QStringList({"привет", "пока"}));
    QVERIFY(!manager->Command3->isEnabled());
    QVERIFY(!manager->Command2->isEnabled());
    QVERIFY(manager->Text2->toPlainText().isEmpty());

    QVERIFY(selectCommand(manager, "пока"));
    QVERIFY(manager->Command3->isEnabled());
    QVERIFY(manager->Command2->isEnabled());
    QCOMPARE(manager->Text2->toPlainText(), "До встречи\n");
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_CommandWindows::addEachKind_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("body");
    QTest::newRow("text") << "Option1"
                          << "add_t1" << QStringList{"Text1=Здравствуй!\nКак дела?"} << "Здравствуй!\r\nКак дела?";
    QTest::newRow("file") << "Option2"
                          << "add_fr1" << QStringList{"Text1=C:\\ответ.txt"} << "'Ответ из файла'\r\nC:\\ответ.txt";
    QTest::newRow("program") << "Option3"
                             << "add_frp1" << QStringList{"Text1=prog.exe /a", "Text2=5", "Text3=out.txt"}
                             << "'Ответ из файла, генерирующегося программой'\r\nprog.exe /a\r\n5\r\nout.txt";
    QTest::newRow("download") << "Option4"
                              << "add_rdi1" << QStringList{"Text1=http://example.org/a.txt"}
                              << "'Ответ из файла, скаченного из интернета'\r\nhttp://example.org/a.txt";
    QTest::newRow("random from a file") << "Option8"
                                        << "add_so1" << QStringList{"Text2=#", "Text4=2", "Text1=ответы.txt"}
                                        << "'Случайный ответ'\r\nТип: 1\r\nСообщений: 2\r\n#**\r\nответы.txt";
    QTest::newRow("random in the record")
        << "Option8"
        << "add_so1" << QStringList{"Text2=#", "Option2=", "Text3=раз\n#\nдва"}
        << "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nраз\r\n#\r\nдва";
}

void tst_CommandWindows::addEachKind()
{
    QFETCH(QString, option);
    QFETCH(QString, page);
    QFETCH(QStringList, values);
    QFETCH(QString, body);
    const QByteArray before = rec("старая", "x");
    QVERIFY(write("Команды/Общая.txt", before));
    Form9 *manager = openManager();
    Form12 *step1 = startAdd(manager, "новая", option.toLatin1().constData());
    QVERIFY(step1);
    QVERIFY(!step1->isVisible());
    Form14 *step2 = window<Form14>("Form14");
    QVERIFY(step2);
    QVERIFY(step2->isVisible());
    QWidget *shown = step2->findChild<QWidget *>(page);
    QVERIFY(shown->isVisible());
    const QList<AnswerPage *> pages = step2->findChildren<AnswerPage *>();
    for (AnswerPage *each : pages)
        QCOMPARE(each->isVisible(), each == shown);

    fill(shown, values);
    click(shown->findChild<QPushButton *>(page == "add_t1" ? "Command1" : page == "add_frp1" ? "Command3" : "Command2"));
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), before + rec("новая", body));
    QVERIFY(!step2->isVisible());
    QCOMPARE(manager->commandNames(), QStringList({"старая", "новая"}));
}

void tst_CommandWindows::pageRefusalsShowBoxes_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("text empty") << "Option1"
                                << "add_t1" << QStringList{} << CommandWizard::EmptyOrForbiddenText;
    QTest::newRow("text with a head") << "Option1"
                                      << "add_t1" << QStringList{"Text1=а\nКоманда: б"} << CommandWizard::HeadInTextText;
    QTest::newRow("file with ====") << "Option2"
                                    << "add_fr1" << QStringList{"Text1=a====b"} << CommandWizard::EmptyOrForbiddenText;
    QTest::newRow("program seconds letters")
        << "Option3"
        << "add_frp1" << QStringList{"Text1=p", "Text2=5с", "Text3=o"} << CommandWizard::EmptyFieldText;
    QTest::newRow("random separator ====") << "Option8"
                                           << "add_so1" << QStringList{"Text2=====", "Text1=a.txt"}
                                           << CommandWizard::SeparatorForbiddenText;
    QTest::newRow("random count too small") << "Option8"
                                            << "add_so1" << QStringList{"Text2=#", "Text4=0", "Text1=a.txt"}
                                            << CommandWizard::CountTooSmallText;
    QTest::newRow("random answers empty") << "Option8"
                                          << "add_so1" << QStringList{"Text2=#", "Option2="}
                                          << CommandWizard::SourceEmptyText;
}

void tst_CommandWindows::pageRefusalsShowBoxes()
{
    QFETCH(QString, option);
    QFETCH(QString, page);
    QFETCH(QStringList, values);
    QFETCH(QString, refusal);
    Form9 *manager = openManager();
    QVERIFY(startAdd(manager, "новая", option.toLatin1().constData()));
    Form14 *step2 = window<Form14>("Form14");
    QWidget *shown = step2->findChild<QWidget *>(page);
    fill(shown, values);
    click(shown->findChild<QPushButton *>(page == "add_t1" ? "Command1" : page == "add_frp1" ? "Command3" : "Command2"));
    expectBox("Ошибка", refusal);
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
    QVERIFY(step2->isVisible());
    QVERIFY(manager->commandNames().isEmpty());
}

void tst_CommandWindows::changeShowsCurrentValues()
{
    QVERIFY(write("Команды/Общая.txt", rec("файл", "'Ответ из файла'\r\nстарый.txt") + rec("текст", "Привет")));
    Form9 *manager = openManager();
    // A file answer added for another command leaves its path in the page.
    Form12 *step1 = startAdd(manager, "другая", "Option2");
    Form14 *step2 = window<Form14>("Form14");
    fill(step2->add_fr1, {"Text1=другой.txt"});
    click(step2->add_fr1->Command2);

    QVERIFY(selectCommand(manager, "файл"));
    click(manager->Command2);
    QVERIFY(step1->isVisible());
    QCOMPARE(step1->Text1->text(), "файл");
    QVERIFY(!step1->Text1->isEnabled());
    QVERIFY(!step1->Combo1->isEnabled());
    QVERIFY(step1->Option7->isEnabled());
    QCOMPARE(step1->Command1->text(), "Изменить");
    click(step1->Option7);
    QCOMPARE(step1->Command1->text(), "Удалить");
    click(step1->Option2);
    QCOMPARE(step1->Command1->text(), "Изменить");
    click(step1->Command1);

    QVERIFY(step2->isVisible());
    QCOMPARE(step2->add_fr1->Text1->text(), "старый.txt");
    fill(step2->add_fr1, {"Text1=новый.txt"});
    click(step2->add_fr1->Command2);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"),
             cp("Команда: файл\r\nДействие: 'Ответ из файла'\r\nновый.txt====\r\n") + rec("текст", "Привет") +
                 rec("другая", "'Ответ из файла'\r\nдругой.txt") + "\r\n");
    QCOMPARE(manager->commandNames(), QStringList({"файл", "текст", "другая"}));

    // A text command changed through the file page: the page starts empty.
    QVERIFY(selectCommand(manager, "текст"));
    click(manager->Command2);
    click(step1->Option2);
    click(step1->Command1);
    QVERIFY(step2->add_fr1->Text1->text().isEmpty());
}

void tst_CommandWindows::deleteRemovesRecordAndEntry()
{
    QVERIFY(write("Команды/Общая.txt", rec("привет", "раз") + rec("пока", "два")));
    Form9 *manager = openManager();
    QVERIFY(selectCommand(manager, "привет"));
    click(manager->Command2);
    Form12 *step1 = window<Form12>("Form12");
    click(step1->Option7);
    click(step1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), rec("пока", "два") + "\r\n");
    QCOMPARE(manager->commandNames(), QStringList({"пока"}));
    QVERIFY(!step1->isVisible());
    QVERIFY(!manager->Command2->isEnabled());
    QVERIFY(!manager->Command3->isEnabled());

    // The delete choice never survives into an add.
    click(manager->Command1);
    QVERIFY(step1->isVisible());
    QVERIFY(!step1->Option7->isChecked());
    QVERIFY(!step1->Option7->isEnabled());
    QCOMPARE(step1->Command1->text(), "Продолжить >>");
    QVERIFY(!step1->Command1->isEnabled());
    QVERIFY(step1->Text1->text().isEmpty());
}

void tst_CommandWindows::deleteOfVanishedRecord()
{
    QVERIFY(write("Команды/Общая.txt", rec("привет", "раз") + rec("пока", "два")));
    Form9 *manager = openManager();
    QVERIFY(selectCommand(manager, "привет"));
    click(manager->Command2);
    // Someone else removed it meanwhile, leaving a longer name behind.
    const QByteArray now = rec("приветствие", "три") + rec("пока", "два");
    QVERIFY(write("Команды/Общая.txt", now));
    Form12 *step1 = window<Form12>("Form12");
    click(step1->Option7);
    click(step1->Command1);
    expectBox("Ошибка удаления команды", "Такой команды нет");
    QCOMPARE(bytes("Команды/Общая.txt"), now);
    QVERIFY(step1->isVisible());
    QCOMPARE(manager->commandNames(), QStringList({"привет", "пока"}));
}

void tst_CommandWindows::openPageKeepsItsCommand_data()
{
    QTest::addColumn<QString>("opener");
    QTest::newRow("manager") << "Form9";
    QTest::newRow("group manager") << "Form11";
}

void tst_CommandWindows::openPageKeepsItsCommand()
{
    QFETCH(QString, opener);
    QVERIFY(write("Группы/Все группы.txt", cp("Друзья\r\n")));
    Form9 *manager = openManager();
    Form12 *step1 = startAdd(manager, "первая", "Option1");
    QVERIFY(step1);
    Form14 *step2 = window<Form14>("Form14");
    QVERIFY(step2 && step2->add_t1->isVisible());
    fill(step2->add_t1, {"Text1=ответ первой"});

    // A new add for another group starts while the page is still open.
    if (opener == "Form9") {
        manager->Combo1->setCurrentIndex(1);
        manager->Combo1_Click();
        QCOMPARE(manager->listedGroup(), "Друзья");
        click(manager->Command1);
    } else {
        QWidget *groups = show("Form11");
        QVERIFY(groups);
        auto *list = groups->findChild<QListWidget *>("List1");
        QVERIFY(pick(list, "Друзья"));
        click(groups->findChild<QPushButton *>("Command3"));
    }
    QVERIFY(step1->isVisible());
    QCOMPARE(step1->Combo1->currentText(), "Друзья");
    QVERIFY(step1->Text1->text().isEmpty());

    click(step2->add_t1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), rec("первая", "ответ первой"));
    QCOMPARE(bytes("Команды/Друзья.txt"), QByteArray("<missing>"));
    QVERIFY(!step2->isVisible());
}

void tst_CommandWindows::changeOfAnotherCommandKeepsThePage()
{
    const QByteArray other = rec("второй", "ответ 2");
    QVERIFY(write("Команды/Общая.txt", rec("первый", "ответ 1") + other));
    Form9 *manager = openManager();
    QVERIFY(selectCommand(manager, "первый"));
    click(manager->Command2);
    Form12 *step1 = window<Form12>("Form12");
    click(step1->Option1);
    click(step1->Command1);
    Form14 *step2 = window<Form14>("Form14");
    QCOMPARE(step2->add_t1->Text1->toPlainText(), "ответ 1");
    fill(step2->add_t1, {"Text1=новый 1"});

    // The operator turns to the second command, then saves the first one's page.
    QVERIFY(selectCommand(manager, "второй"));
    click(manager->Command2);
    QCOMPARE(step1->Text1->text(), "второй");
    click(step2->add_t1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), cp("Команда: первый\r\nДействие: новый 1====\r\n") + other + "\r\n");
}

void tst_CommandWindows::managerAnswerFollowsTheWizard()
{
    QVERIFY(write("Команды/Общая.txt", rec("привет", "старый") + rec("пока", "два")));
    Form9 *manager = openManager();
    QVERIFY(selectCommand(manager, "привет"));
    QCOMPARE(manager->Text2->toPlainText(), "старый\n");
    click(manager->Command2);
    Form12 *step1 = window<Form12>("Form12");
    click(step1->Option1);
    click(step1->Command1);
    Form14 *step2 = window<Form14>("Form14");
    fill(step2->add_t1, {"Text1=новый"});
    click(step2->add_t1->Command1);
    QCOMPARE(manager->Text2->toPlainText(), "новый");

    // "Сохранить" now writes what the box shows: the new answer.
    click(manager->Command3);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"),
             cp("Команда: привет\r\nДействие: новый====\r\n") + rec("пока", "два") + "\r\n\r\n");
}

void tst_CommandWindows::nameWithLineBreakRefused()
{
    Form9 *manager = openManager();
    click(manager->Command1);
    Form12 *step1 = window<Form12>("Form12");
    typeInto(step1->Text1, "привет\r\nДействие: x");
    click(step1->Option1);
    click(step1->Command1);
    expectBox("Ошибка", CommandEditor::BadNameText);
    QVERIFY(step1->isVisible());
    QVERIFY(!window<Form14>("Form14"));

    // The page shown before any hand-over has no command to write.
    Form14 *step2 = show<Form14>("Form14");
    QVERIFY(step2);
    fill(step2->add_t1, {"Text1=ответ"});
    click(step2->add_t1->Command1);
    expectBox("Ошибка", CommandEditor::BadNameText);
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
}

void tst_CommandWindows::groupFileInOtherLetterCase()
{
    // A command folder copied from Windows: the common group's file in small letters.
    QVERIFY(write("Команды/общая.txt", rec("привет", "раз")));
    Form9 *manager = openManager();
    QCOMPARE(manager->commandNames(), QStringList({"привет"}));
    QVERIFY(selectCommand(manager, "привет"));
    QCOMPARE(manager->Text2->toPlainText(), "раз\n");
    QVERIFY(startAdd(manager, "пока", "Option1"));
    Form14 *step2 = window<Form14>("Form14");
    fill(step2->add_t1, {"Text1=два"});
    click(step2->add_t1->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/общая.txt"), rec("привет", "раз") + rec("пока", "два"));
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
    QCOMPARE(manager->commandNames(), QStringList({"привет", "пока"}));
}

void tst_CommandWindows::overwriteQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void tst_CommandWindows::overwriteQuestion()
{
    QFETCH(bool, yes);
    const QByteArray before = rec("привет", "старый") + rec("пока", "два");
    QVERIFY(write("Команды/Общая.txt", before));
    Form9 *manager = openManager();
    m_dialogs.queueButton(yes ? Dialogs::Button::Yes : Dialogs::Button::No);
    Form12 *step1 = startAdd(manager, "привет", "Option1");
    expectBox("Перезаписать файл", "Такая команда уже есть. Хотите переписать?", Icon::Information, Buttons::YesNo);
    Form14 *step2 = window<Form14>("Form14");
    if (!yes) {
        QVERIFY(step1->isVisible());
        QVERIFY(!step2);
        QCOMPARE(bytes("Команды/Общая.txt"), before);
        return;
    }
    QVERIFY(!step1->isVisible());
    QVERIFY(step2->isVisible());
    QCOMPARE(step2->add_t1->Text1->toPlainText(), "старый");
    fill(step2->add_t1, {"Text1=новый"});
    click(step2->add_t1->Command1);
    QCOMPARE(bytes("Команды/Общая.txt"), cp("Команда: привет\r\nДействие: новый====\r\n") + rec("пока", "два") + "\r\n");
    QCOMPARE(manager->commandNames(), QStringList({"привет", "пока"}));
}

void tst_CommandWindows::reservedNameRefused()
{
    Form9 *manager = openManager();
    Form12 *step1 = startAdd(manager, "!Погода москва", "Option1");
    expectBox("Предупреждение", "Нельзя создать такую команду. Используйте подбота погоды.");
    QCOMPARE(step1->Text1->text(), "!ПОГОДА МОСКВА");
    QVERIFY(step1->isVisible());
    QVERIFY(!window<Form14>("Form14"));
}

void tst_CommandWindows::managerSavesAnswerInPlace()
{
    const QByteArray file = rec("приветствие", "Команда: привет\r\nраз") + rec("привет", "строка 1\r\nстрока 2");
    QVERIFY(write("Команды/Общая.txt", file));
    Form9 *manager = openManager();
    QCOMPARE(manager->commandNames(), QStringList({"приветствие", "привет"}));
    QVERIFY(selectCommand(manager, "привет"));
    QCOMPARE(manager->Text2->toPlainText(), "строка 1\nстрока 2\n");
    click(manager->Command3);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), file + "\r\n");

    manager->Text2->setPlainText("новое");
    click(manager->Command3);
    QCOMPARE(bytes("Команды/Общая.txt"),
             rec("приветствие", "Команда: привет\r\nраз") + cp("Команда: привет\r\nДействие: новое====\r\n\r\n\r\n"));

    manager->Text2->setPlainText("a\n====\nb");
    click(manager->Command3);
    expectBox("Ошибка", CommandWizard::EmptyOrForbiddenText);
}

void tst_CommandWindows::typedGroupNotConfirmedIsNotUsed()
{
    QVERIFY(write("Группы/Все группы.txt", cp("Друзья\r\n")));
    QVERIFY(write("Команды/Общая.txt", rec("общая", "1")));
    QVERIFY(write("Команды/Чужие.txt", rec("чужая", "2")));
    Form9 *manager = openManager();
    QVERIFY(manager->Command5->isEnabled());
    QCOMPARE(manager->Combo1->count(), 2);
    // A group the list does not hold, typed and not confirmed.
    manager->Combo1->lineEdit()->selectAll();
    typeInto(manager->Combo1->lineEdit(), "Чужие");
    click(manager->Command1);
    QCOMPARE(manager->listedGroup(), "Общая");
    QCOMPARE(manager->commandNames(), QStringList({"общая"}));
    Form12 *step1 = window<Form12>("Form12");
    QCOMPARE(step1->Combo1->currentText(), "Общая");

    // Enter confirms it.
    manager->Combo1->lineEdit()->selectAll();
    typeInto(manager->Combo1->lineEdit(), "Чужие");
    QTest::keyClick(manager->Combo1->lineEdit(), Qt::Key_Return);
    QCOMPARE(manager->listedGroup(), "Чужие");
    QCOMPARE(manager->commandNames(), QStringList({"чужая"}));
    click(manager->Command1);
    QCOMPARE(step1->Combo1->currentText(), "Чужие");
}

void tst_CommandWindows::failedWriteAndForeignTextReported()
{
    Form9 *manager = openManager();
    Form12 *step1 = startAdd(manager, "привет", "Option1");
    Q_UNUSED(step1);
    Form14 *step2 = window<Form14>("Form14");
    fill(step2->add_t1, {"Text1=日本"});
    click(step2->add_t1->Command1);
    expectBox("Ошибка", "Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.", Icon::Warning);
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
    QVERIFY(step2->isVisible());

    // A folder where the file should be: the write fails, the list stays.
    QVERIFY(QDir().mkpath(path("Команды/Общая.txt")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write"));
    fill(step2->add_t1, {"Text1=Здравствуй"});
    click(step2->add_t1->Command1);
    expectBox("Ошибка", "Не удалось записать файл:\n" + path("Команды/Общая.txt"), Icon::Warning);
    QVERIFY(step2->isVisible());
    QVERIFY(manager->commandNames().isEmpty());
}

void tst_CommandWindows::optionsApplied()
{
    Form9 *manager = openManager();
    click(manager->Check1);
    click(manager->Option1);
    click(manager->Command4);
    QCOMPARE(bytes("Команды/Настройки.txt"), QByteArray(" 1 \r\n1\r\n 1 \r\n"));
    click(manager->Check2);
    click(manager->Option2);
    click(manager->Command4);
    QCOMPARE(bytes("Команды/Настройки.txt"), QByteArray(" 1 \r\n2\r\n 0 \r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());

    manager->close();
    QTRY_VERIFY(!window<Form9>("Form9"));
    manager = openManager();
    QVERIFY(manager->Check1->isChecked());
    QVERIFY(manager->Option2->isChecked());
    QVERIFY(!manager->Check2->isChecked());
}

void tst_CommandWindows::searchAppendsRows()
{
    QVERIFY(write("Группы/Все группы.txt", cp("А\r\nБ\r\n")));
    QVERIFY(write("Команды/Общая.txt", rec("привет", "1")));
    QVERIFY(write("Команды/Б.txt", rec("привет", "2")));
    m_main->showWindow(QStringLiteral("Form15"));
    Form15 *search = window<Form15>("Form15");
    typeInto(search->Text1, "при");
    click(search->Command1);
    click(search->Command1);
    QStringList rows;
    for (int i = 0; i < search->ListView1->topLevelItemCount(); ++i)
        rows.append(search->ListView1->topLevelItem(i)->text(0) + "|" + search->ListView1->topLevelItem(i)->text(1));
    QCOMPARE(rows, QStringList({"Общая|при", "Б|при", "Общая|при", "Б|при"}));
}

void tst_CommandWindows::tenThousandRecords()
{
    QByteArray file;
    for (int i = 0; i < 10000; ++i)
        file += rec(QStringLiteral("команда%1").arg(i), QStringLiteral("ответ %1").arg(i));
    QVERIFY(write("Команды/Общая.txt", file));
    Form9 *manager = openManager();
    QVERIFY(manager);
    QCOMPARE(manager->commandNames().size(), 10000);
    // A model behind the list, filtered through a proxy.
    QVERIFY(qobject_cast<QSortFilterProxyModel *>(manager->List1->model()));
    typeInto(manager->Text1, "команда9999");
    QCOMPARE(manager->List1->model()->rowCount(), 1);
    QCOMPARE(manager->selectedCommand(), "команда9999");
    QCOMPARE(manager->Text2->toPlainText(), "ответ 9999\n");
    manager->Text1->clear();
    QCOMPARE(manager->List1->model()->rowCount(), 10000);
}

QTEST_MAIN(tst_CommandWindows)
#include "tst_commandwindows.moc"
