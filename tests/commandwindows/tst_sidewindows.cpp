// The small windows of the command base editor inside the main window, driven through
// their named controls: the unknown-command reply, the bot information, the additional
// commands with their add window, and the help embedding window.
#include "commandwindowsfixture.h"
#include "commands/sidetexts.h"
#include "core/linefilemodel.h"
#include "core/textfile.h"
#include "support/filemode.h"
#include "commandwindows/install.h"
#include "commandwindows/side_windows.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "support/commandrecords.h"
#include "support/programhome.h"
#include "support/typing.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;

class tst_SideWindows : public CommandWindowsFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionsAndMenus();
    void unknownReplySavedUnchanged_data();
    void unknownReplySavedUnchanged();
    void unknownReplyEmptyRefused();
    void botInfoShownWhateverTheSwitch();
    void botInfoEmptyRefusedOnlyWhenOn();
    void additionalAddAndDelete();
    void additionalNeedsListedCommand();
    void additionalBlankRefused_data();
    void additionalBlankRefused();
    void additionalHelpBox();
    void additionalWriteFailureNotListed();
    void foreignCharactersRefused();
    void helpEmbedded();
    void helpEmbedOfVanishedCommandWritesNothing();
    void unknownCommandLog();
    void largeUnknownCommandLogReadInChunks();
    void hugeUtf8LogLineShownCut();

private:
    template<typename T> bool closeWindow(const char *name)
    {
        window<T>(name)->close();
        return QTest::qWaitFor([&] { return !window<T>(name); }, 5000);
    }
    static void typeGroup(QComboBox *combo, const QString &group)
    {
        combo->lineEdit()->selectAll();
        combo->lineEdit()->del();
        typeInto(combo->lineEdit(), group);
    }

};

void tst_SideWindows::init()
{
    setUp();
    HelpEmbedding::setKind(HelpEmbedding::None);
}

void tst_SideWindows::cleanup()
{
    tearDown();
}

void tst_SideWindows::captionsAndMenus()
{
    auto *reply = open<Form10>("otv_neiz_m", "Form10");
    auto *info = open<Form35>("info_o_bot_m", "Form35");
    auto *additional = open<Form49>("dob_kom", "Form49");
    QVERIFY(reply && info && additional);
    click(additional->Command1);
    auto *add = window<Form50>("Form50");
    auto *help = show<Form36>("Form36");
    QVERIFY(add && help);
    const QList<QPair<QString, QString>> texts = {
        {reply->windowTitle(), "Ответ на неизвестную команду"},
        {reply->Command1->text(), "Сохранить"},
        {reply->Text1->toolTip(), "Впишите текст, указывающий что ответа на заданную команду не существует."},
        {info->windowTitle(), "Информация о боте"},
        {info->Label1->text(), "Введите информацию о боте:"},
        {info->Check1->text(), "Позволять видеть информацию о боте пользователям"},
        {info->Command1->text(), "Сохранить"},
        {additional->windowTitle(), "Добавочные команды"},
        {additional->Label1->text(), "Добавочные команды"},
        {additional->Label2->text(), "(група - команда)"},
        {additional->Command1->text(), "Добавить"},
        {additional->Command2->text(), "Справка"},
        {additional->Command3->text(), "Удалить"},
        {add->windowTitle(), "Добавить команду в список"},
        {add->Command1->text(), "Добавить"},
        {add->Combo1->currentText(), "Общая"},
        {help->windowTitle(), "Встроить помощь"},
        {help->Label1->text(), "Выберете группу:"},
        {help->Label2->text(), "Выберете команду:"},
        {help->Command1->text(), "Встроить помощь"},
        {help->Combo1->currentText(), "Общая"},
    };
    for (const auto &[actual, expected] : texts)
        QCOMPARE(actual, expected);
    QVERIFY(!info->Check1->isChecked());
    QVERIFY(info->Text1->toPlainText().isEmpty());
    QVERIFY(add->Command1->isEnabled());
    QVERIFY(!help->Command1->isEnabled());
    // Without user groups the group box offers the common group only.
    QCOMPARE(add->Combo1->count(), 1);
    QVERIFY(!add->Combo1->isEnabled());
}

void tst_SideWindows::unknownReplySavedUnchanged_data()
{
    QTest::addColumn<QByteArray>("stored"); // empty: no file
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("no file") << QByteArray() << "Извините, но такой команды нет."
                             << cp("Извините, но такой команды нет.\r\n");
    QTest::newRow("stored reply") << cp("Нет такой.\r\n\r\nСпросите !помощь\r\n") << "Нет такой.\n\nСпросите !помощь"
                                  << cp("Нет такой.\r\n\r\nСпросите !помощь\r\n");
}

void tst_SideWindows::unknownReplySavedUnchanged()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    if (!stored.isEmpty())
        QVERIFY(write("Команды/Ответ на неизвестную команду.txt", stored));
    for (int round = 0; round < 2; ++round) {
        auto *reply = open<Form10>("otv_neiz_m", "Form10");
        QVERIFY(reply);
        QCOMPARE(reply->Text1->toPlainText(), shown);
        click(reply->Command1);
        QCOMPARE(bytes("Команды/Ответ на неизвестную команду.txt"), saved);
        QVERIFY(closeWindow<Form10>("Form10"));
    }
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SideWindows::unknownReplyEmptyRefused()
{
    QVERIFY(write("Команды/Ответ на неизвестную команду.txt", cp("Старый\r\n")));
    auto *reply = open<Form10>("otv_neiz_m", "Form10");
    reply->Text1->setFocus();
    reply->Text1->selectAll();
    QTest::keyClick(reply->Text1, Qt::Key_Delete);
    click(reply->Command1);
    expectBox("Ошибка", "Текстовое поле пустое.");
    QCOMPARE(bytes("Команды/Ответ на неизвестную команду.txt"), cp("Старый\r\n"));
}

void tst_SideWindows::botInfoShownWhateverTheSwitch()
{
    const QByteArray stored = cp("0\r\nБот отвечает на вопросы.\r\n\r\nАвтор: я\r\n");
    QVERIFY(write("Информация о боте.txt", stored));
    auto *info = open<Form35>("info_o_bot_m", "Form35");
    QVERIFY(!info->Check1->isChecked());
    QCOMPARE(info->Text1->toPlainText(), "Бот отвечает на вопросы.\n\nАвтор: я");
    click(info->Command1);
    QCOMPARE(bytes("Информация о боте.txt"), stored);
    info->Check1->click();
    click(info->Command1);
    QCOMPARE(bytes("Информация о боте.txt"), cp("1\r\nБот отвечает на вопросы.\r\n\r\nАвтор: я\r\n"));
    QVERIFY(closeWindow<Form35>("Form35"));
    info = open<Form35>("info_o_bot_m", "Form35");
    QVERIFY(info->Check1->isChecked());
    QCOMPARE(info->Text1->toPlainText(), "Бот отвечает на вопросы.\n\nАвтор: я");
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SideWindows::botInfoEmptyRefusedOnlyWhenOn()
{
    auto *info = open<Form35>("info_o_bot_m", "Form35");
    info->Check1->click();
    click(info->Command1);
    expectBox("Предупреждение", "Введите текст");
    QCOMPARE(bytes("Информация о боте.txt"), QByteArray("<missing>"));
    info->Check1->click();
    click(info->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes("Информация о боте.txt"), QByteArray("0\r\n\r\n"));
}

void tst_SideWindows::additionalAddAndDelete()
{
    QVERIFY(write("Группы/Все группы.txt", cp("Друзья\r\n")));
    QVERIFY(write("Команды/Общая.txt", rec("цитата", "1") + rec("добавка", "2")));
    QVERIFY(write("Команды/Друзья.txt", rec("шутка", "3")));
    QVERIFY(write("Команды/Добавочные.txt", cp("Общая цитата\r\n")));
    auto *list = open<Form49>("dob_kom", "Form49");
    QCOMPARE(items(list->List1), QStringList({"Общая цитата"}));
    click(list->Command1);
    auto *add = window<Form50>("Form50");
    QVERIFY(add);
    QVERIFY(add->Combo1->isEnabled());
    QCOMPARE(items(add->List1), QStringList({"цитата", "добавка"}));
    QVERIFY(pick(add->List1, "добавка"));
    QVERIFY(add->Command1->isEnabled());
    click(add->Command1);
    click(add->Command1);
    typeGroup(add->Combo1, "Друзья");
    QCOMPARE(items(add->List1), QStringList({"шутка"}));
    // The list of the other group holds no pick yet: the button adds nothing.
    click(add->Command1);
    QCOMPARE(items(list->List1), QStringList({"Общая цитата", "Общая добавка", "Общая добавка"}));
    QVERIFY(pick(add->List1, "шутка"));
    click(add->Command1);
    QCOMPARE(bytes("Команды/Добавочные.txt"),
             cp("Общая цитата\r\nОбщая добавка\r\nОбщая добавка\r\nДрузья шутка\r\n"));
    QCOMPARE(items(list->List1), QStringList({"Общая цитата", "Общая добавка", "Общая добавка", "Друзья шутка"}));

    // One delete takes every equal line and item.
    QVERIFY(pick(list->List1, "Общая добавка"));
    click(list->Command3);
    QCOMPARE(bytes("Команды/Добавочные.txt"), cp("Общая цитата\r\nДрузья шутка\r\n"));
    QCOMPARE(items(list->List1), QStringList({"Общая цитата", "Друзья шутка"}));
    // Nothing selected: nothing happens.
    list->List1->clearSelection();
    click(list->Command3);
    QCOMPARE(bytes("Команды/Добавочные.txt"), cp("Общая цитата\r\nДрузья шутка\r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SideWindows::additionalNeedsListedCommand()
{
    QVERIFY(write("Группы/Все группы.txt", cp("Друзья\r\n")));
    QVERIFY(write("Команды/Общая.txt", rec("цитата", "1")));
    auto *add = show<Form50>("Form50");
    // Enabled at opening, yet without a pick nothing is added.
    QVERIFY(add->Command1->isEnabled());
    click(add->Command1);
    QCOMPARE(bytes("Команды/Добавочные.txt"), QByteArray("<missing>"));
    QVERIFY(pick(add->List1, "цитата"));
    QVERIFY(add->Command1->isEnabled());
    // A group typed by hand lists its own commands: none for a group without a file.
    typeGroup(add->Combo1, "Нет");
    QVERIFY(add->List1->count() == 0);
    click(add->Command1);
    QCOMPARE(bytes("Команды/Добавочные.txt"), QByteArray("<missing>"));
}

void tst_SideWindows::additionalBlankRefused_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("command");
    QTest::newRow("blank in group") << "Мои друзья" << "шутка";
    QTest::newRow("blank in command") << "Общая" << "две части";
}

void tst_SideWindows::additionalBlankRefused()
{
    QFETCH(QString, group);
    QFETCH(QString, command);
    QVERIFY(write("Группы/Все группы.txt", cp(group + "\r\n")));
    QVERIFY(write("Команды/" + group + ".txt", rec(command, "1")));
    auto *list = open<Form49>("dob_kom", "Form49");
    click(list->Command1);
    auto *add = window<Form50>("Form50");
    typeGroup(add->Combo1, group);
    QVERIFY(pick(add->List1, command));
    click(add->Command1);
    expectBox("Ошибка", "Такую команду нельзя сделать добавочной: в названии группы или команды есть пробел.");
    QCOMPARE(bytes("Команды/Добавочные.txt"), QByteArray("<missing>"));
    QCOMPARE(list->List1->count(), 0);
}

void tst_SideWindows::additionalHelpBox()
{
    auto *list = open<Form49>("dob_kom", "Form49");
    click(list->Command2);
    expectBox("Справка", "Чтобы пользователям можно было достаточно послать такую команду:\r\n\r\n"
                         "!add название_команды добавочный_текст\r\n\r\n"
                         "Пример: !add добавка я очень люблю эту функцию\r\n\r\n"
                         "Эта функция работает только с обработчиком 'Случайный ответ'.\r\n"
                         "Добавлять свои сообщения могут все!");
}

void tst_SideWindows::additionalWriteFailureNotListed()
{
    QVERIFY(write("Команды/Общая.txt", rec("добавка", "1")));
    // A folder where the list file should be: the entry cannot be written.
    QVERIFY(QDir().mkpath(path("Команды/Добавочные.txt")));
    auto *list = open<Form49>("dob_kom", "Form49");
    click(list->Command1);
    auto *add = window<Form50>("Form50");
    QVERIFY(pick(add->List1, "добавка"));
    click(add->Command1);
    QCOMPARE(list->List1->count(), 0);
}

void tst_SideWindows::foreignCharactersRefused()
{
    QVERIFY(write("Команды/Ответ на неизвестную команду.txt", cp("Старый\r\n")));
    QVERIFY(write("Информация о боте.txt", cp("1\r\nСтарый\r\n")));
    auto *reply = open<Form10>("otv_neiz_m", "Form10");
    typeInto(reply->Text1, QStringLiteral("\u4e2d"));
    click(reply->Command1);
    expectBox("Ошибка", "Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.");
    QCOMPARE(bytes("Команды/Ответ на неизвестную команду.txt"), cp("Старый\r\n"));
    auto *info = open<Form35>("info_o_bot_m", "Form35");
    typeInto(info->Text1, QStringLiteral("\u4e2d"));
    click(info->Command1);
    expectBox("Ошибка", "Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.");
    QCOMPARE(bytes("Информация о боте.txt"), cp("1\r\nСтарый\r\n"));
}

void tst_SideWindows::helpEmbedded()
{
    QVERIFY(write("Группы/Все группы.txt", cp("Друзья\r\n")));
    QVERIFY(write("Команды/Общая.txt", rec("привет", "1")));
    QVERIFY(write("Команды/Друзья.txt", rec("помощь", "Вот что я умею:")));
    HelpEmbedding::setKind(HelpEmbedding::AdminContact);
    auto *help = show<Form36>("Form36");
    QCOMPARE(items(help->List1), QStringList({"привет"}));
    typeGroup(help->Combo1, "Друзья");
    QVERIFY(!help->Command1->isEnabled());
    QVERIFY(pick(help->List1, "помощь"));
    click(help->Command1);
    QCOMPARE(bytes("Команды/Друзья.txt"),
             cp("Команда: помощь\r\nДействие: Вот что я умею:\r\n\r\n---Встроенная функция - Связь с админом---\r\n"
                "Чтобы связаться с админом:\r\nНужно выслать боту сообщения типа\r\n\r\n!админ само сообщение\r\n"
                "Между !админ и самим сообщением должен быть пробел.====\r\n\r\n"));
    QCOMPARE(bytes("Команды/Общая.txt"), rec("привет", "1"));
    QCOMPARE(HelpEmbedding::kind(), int(HelpEmbedding::None));
    QTRY_VERIFY_WITH_TIMEOUT(!help->isVisible(), 30000);
    // Shown again: as it was left; without a kind nothing is written.
    help = show<Form36>("Form36");
    QCOMPARE(help->Combo1->currentText(), "Друзья");
    const QByteArray before = bytes("Команды/Друзья.txt");
    click(help->Command1);
    QCOMPARE(bytes("Команды/Друзья.txt"), before);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SideWindows::helpEmbedOfVanishedCommandWritesNothing()
{
    QVERIFY(write("Команды/Общая.txt", rec("привет", "1")));
    HelpEmbedding::setKind(HelpEmbedding::Notepad);
    auto *help = show<Form36>("Form36");
    QVERIFY(pick(help->List1, "привет"));
    // The file changes while the window is open: "привет" is now only a longer name's
    // beginning and a line inside another answer.
    const QByteArray changed = rec("приветствие", "Команда: привет") + rec("пока", "2");
    QVERIFY(write("Команды/Общая.txt", changed));
    click(help->Command1);
    QCOMPARE(bytes("Команды/Общая.txt"), changed);
    QCOMPARE(HelpEmbedding::kind(), int(HelpEmbedding::None));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SideWindows::unknownCommandLog()
{
    m_main->action(QStringLiteral("log_ne_izvest_m"))->trigger();
    auto *unknown = window<Form29>("Form29");
    QVERIFY(unknown);
    QCOMPARE(unknown->windowTitle(), "Логи не известных команд");
    QTRY_VERIFY(!unknown->log().isLoading());
    QCOMPARE(unknown->Text1->model()->rowCount(), 0);
    QVERIFY(TextFile::folderExists(QStringLiteral("\\Логи")));
    QVERIFY(closeWindow<Form29>("Form29"));

    // As the engine appends, with an empty line and a last line without its end.
    QVERIFY(write("Логи/Не известные команды.txt", cp("111: абракадабра\r\n\r\n222: ====\r\n333: ^&^&")));
    unknown = show<Form29>("Form29");
    QTRY_VERIFY(!unknown->log().isLoading());
    QCOMPARE(unknown->log().text(), "111: абракадабра\r\n222: ====\r\n333: ^&^&");
    QCOMPARE(unknown->Text1->model()->index(0, 0).data().toString(), "111: абракадабра");
}

void tst_SideWindows::largeUnknownCommandLogReadInChunks()
{
    // Several chunks' worth: the window is open, and answering, before the log is read.
    QByteArray log;
    int lines = 0;
    while (log.size() < 3 * LineFileModel::ChunkBytes) {
        log += "424242: неизвестно " + QByteArray::number(lines) + "\r\n";
        ++lines;
    }
    QVERIFY(write("Логи/Не известные команды.txt", cp(QString::fromUtf8(log))));
    auto *unknown = show<Form29>("Form29");
    QVERIFY(unknown);
    QVERIFY(unknown->log().isLoading());
    QVERIFY(unknown->Text1->model()->rowCount() < lines);
    QTRY_VERIFY_WITH_TIMEOUT(!unknown->log().isLoading(), 30000);
    QCOMPARE(unknown->Text1->model()->rowCount(), lines);
    QCOMPARE(unknown->Text1->model()->index(lines - 1, 0).data().toString(),
             QStringLiteral("424242: неизвестно %1").arg(lines - 1));
}

void tst_SideWindows::hugeUtf8LogLineShownCut()
{
    // Hand-edited in UTF-8, one line longer than a row shows: cut, the cut never falls
    // inside a letter (which would show the whole row as Windows-1251).
    const QString letters(100 * 1000, QChar(0x0436));
    QVERIFY(write("Логи/Не известные команды.txt", "11: " + letters.toUtf8() + "\r\n222: ещё\r\n"));
    auto *unknown = show<Form29>("Form29");
    QVERIFY(unknown);
    QTRY_VERIFY_WITH_TIMEOUT(!unknown->log().isLoading(), 30000);
    QCOMPARE(unknown->Text1->model()->rowCount(), 2);
    const QString first = unknown->Text1->model()->index(0, 0).data().toString();
    QVERIFY(first.size() < letters.size());
    QVERIFY(first.size() > 1000);
    QCOMPARE(first, "11: " + letters.left(first.size() - 4));
    QCOMPARE(unknown->Text1->model()->index(1, 0).data().toString(), QStringLiteral("222: ещё"));
}

QTEST_MAIN(tst_SideWindows)
#include "tst_sidewindows.moc"
