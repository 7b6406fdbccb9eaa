// The settings pages driven through their controls inside the settings window; each
// Apply is checked on the bytes of the file it writes.
#include "settingspagesfixture.h"

#include "files/adminfile.h"
#include "files/storedlogin.h"
#include "settings/admin_page.h"
#include "settings/autologin_page.h"
#include "settings/autoopen_page.h"
#include "settings/connection_page.h"
#include "settings/imitation_page.h"
#include "settings/pagemessages.h"
#include "settings/popup_page.h"
#include "settings/sounds_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using Icon = Dialogs::Icon;

namespace {

const QByteArray FreshConnection = "Server=login.icq.com\r\nPort=5190\r\nAutoRun=0\r\nAutoUpdate=0\r\nHideTray=0\r\n"
                                   "ReConnect=0\r\nIntervalConnect=5\r\n";
const QByteArray StoredLogin123 =
    "AutoEnter=1\r\nAutoICQNumber=18930041.18\r\nAutoPassword=01130099011601170050\r\n";

} // namespace

class TestSettingsPages : public SettingsPagesFixture
{
    Q_OBJECT
private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void captions_data();
    void captions();

    void connectionOnFreshFolder();
    void connectionThroughControls();
    void connectionAutostartRefused();

    void autoLoginStoresScrambled();
    void autoLoginRefusesBadNumber_data();
    void autoLoginRefusesBadNumber();
    void autoLoginReadsEitherSeparator();

    void soundsDefaultsAndBrowse();

    void popupFilled_data();
    void popupFilled();
    void popupAndImitationApply();

    void adminApply_data();
    void adminApply();
    void adminFilledFromShortFile();

    void autoOpenApply();
    void autoOpenFilledFromShortFile();

    void writeFailureReported_data();
    void writeFailureReported();

    void pastedValueRefused_data();
    void pastedValueRefused();

    void pagesShareTheGeneralFile();
};

void TestSettingsPages::captions_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    const struct
    {
        const char *page;
        const char *control;
        const char *text;
    } rows[] = {
        {"nast_v1", "Label1", "Основные настройки"},
        {"nast_v1", "Label3", "Выберите основной сервер и порт подключения"},
        {"nast_v1", "Label4", "Сервер :"},
        {"nast_v1", "Label5", "Порт    :"},
        {"nast_v1", "Check5", "Переподключаться при потере связи"},
        {"nast_v1", "Label2", "Интервал между подключениями"},
        {"nast_v1", "Label6", "мин"},
        {"nast_v1", "Check1", "Включать вместе с Windows"},
        {"nast_v1", "Check2", "Проверять обновления при запуске программы"},
        {"nast_v1", "Check4", "Прятать программу в трей, при загрузке."},
        {"nast_v1", "Command1", "Применить"},
        {"nast_a_v1", "Label1", "Автовход"},
        {"nast_a_v1", "Label2",
         "Эта функция автоматически подключит вас к серверу (который вы выбрали в качестве основоного) при "
         "запуске программы."},
        {"nast_a_v1", "Check1", "Включить функцию \"Автовход\""},
        {"nast_a_v1", "Label3", "Номер   :"},
        {"nast_a_v1", "Label4", "Пароль  :"},
        {"nast_a_v1", "Command1", "Применить"},
        {"nast_b_v1", "Label1", "Звуки"},
        {"nast_b_v1", "Label2", "Здесь вы можете включить или выключить звуки в программе"},
        {"nast_b_v1", "Check1", "Выключать звуки"},
        {"nast_b_v1", "Label4", "Звук об оповещении принятого сообщения"},
        {"nast_b_v1", "Command1", "..."},
        {"nast_b_v1", "Label3", "Звук загрузки программы"},
        {"nast_b_v1", "Command2", "..."},
        {"nast_b_v1", "Command3", "Применить"},
        {"nast_c_v1", "Label1", "Всплывающее окно"},
        {"nast_c_v1", "Label2", "Показывает пришедшие сообщения в нижнем правом углу экрана."},
        {"nast_c_v1", "Check1", "Включить всплывающее окно"},
        {"nast_c_v1", "Check2", "Поверх всех окон"},
        {"nast_c_v1", "Label3", "Введите задержку на экране:"},
        {"nast_c_v1", "Label4", "мс."},
        {"nast_c_v1", "Command1", "Применить"},
        {"nast_d_v1", "Label1", "Имитация человека"},
        {"nast_d_v1", "Label2", "Старается имитировать человека."},
        {"nast_d_v1", "Check1", "Включить задержку"},
        {"nast_d_v1", "Label4", "Введите задержку в микросекундах."},
        {"nast_d_v1", "Label5", "мс."},
        {"nast_d_v1", "Command1", "Применить"},
        {"UserControl21", "Label1", "Автооткрытие окон"},
        {"UserControl21", "Label2", "Выберите список окон, которые будут открываться при запуске программы"},
        {"UserControl21", "Check1", "Настройка"},
        {"UserControl21", "Check2", "Послать сообщение"},
        {"UserControl21", "Check3", "Чёрный список"},
        {"UserControl21", "Check4", "Статистика"},
        {"UserControl21", "Check5", "Управление командами"},
        {"UserControl21", "Check6", "Управление группами"},
        {"UserControl21", "Check7", "Авторасылка"},
        {"UserControl21", "Check8", "Редикет"},
        {"UserControl21", "Check9", "Окно пользователей"},
        {"UserControl21", "Command1", "Применить"},
        {"UserControl41", "Label1", "Администраторский раздел"},
        {"UserControl41", "Label2", "Введите номер администратора:"},
        {"UserControl41", "Label3", "Пароль:"},
        {"UserControl41", "Label4",
         "Если Вы не хотите чтобы программа запрашивала  пароль оставьте поле \"Пароль\" пустым."},
        {"UserControl41", "Label5",
         "Если Вы поставили пароль, то в сообщении помимо самой команды должен быть пароль. Указывается после "
         "команды и двоеточия."},
        {"UserControl41", "Label6", "Примеры запросов:"},
        {"UserControl41", "Label7", "!выключить"},
        {"UserControl41", "Label8", "!перезагрузить"},
        {"UserControl41", "Label9", "!выключить: пароль"},
        {"UserControl41", "Label10", "!перезагрузить: пароль"},
        {"UserControl41", "Label11", "Пробел после двоеточия указывать не нужно!!!"},
        {"UserControl41", "Command1", "Применить"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s", row.page, row.control)
            << QString::fromLatin1(row.page) << QString::fromLatin1(row.control) << QString::fromUtf8(row.text);
}

void TestSettingsPages::captions()
{
    QFETCH(QString, page);
    QFETCH(QString, control);
    QFETCH(QString, text);
    Form1 window;
    SettingsPage *shown = window.page(page);
    QVERIFY(shown);
    QWidget *found = shown->findChild<QWidget *>(control);
    QVERIFY(found);
    if (auto *label = qobject_cast<QLabel *>(found))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QAbstractButton *>(found))
        QCOMPARE(button->text(), text);
    else
        QFAIL("neither a label nor a button");
}

void TestSettingsPages::connectionOnFreshFolder()
{
    auto *page = openPage<nast_v>("nast1");
    QVERIFY(page);
    QCOMPARE(page->Combo1->currentText(), QString());
    QCOMPARE(page->Combo1->lineEdit()->placeholderText(), "Выберите или введите сервер");
    QCOMPARE(page->Combo1->count(), ConnectionSettings::Servers.size());
    QCOMPARE(page->Text2->text(), "5190");
    QCOMPARE(page->Text1->text(), "5");
    for (QCheckBox *box : {page->Check1, page->Check2, page->Check4, page->Check5})
        QVERIFY(!box->isChecked());

    click(page->Command1);
    // The prompt is no value: the first server of the list stands in for it.
    QCOMPARE(general(), FreshConnection);
    QCOMPARE(page->Combo1->currentText(), "login.icq.com");
    QCOMPARE(m_autostart.calls, QList<bool>{false});
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(!page->hasChanged());
}

void TestSettingsPages::connectionThroughControls()
{
    // A file another page wrote first.
    QVERIFY(write(GeneralFile, StoredLogin123));
    auto *page = openPage<nast_v>("nast1");
    QVERIFY(page);
    page->Combo1->setCurrentIndex(1);
    QCOMPARE(page->Combo1->currentText(), "login.oscar.aol.com");
    retype(page->Combo1->lineEdit(), "127.0.0.1");
    retype(page->Text2, "6000x");
    click(page->Check5);
    retype(page->Text1, "10");
    click(page->Check1);
    click(page->Check4);
    QVERIFY(page->hasChanged());
    QVERIFY(m_window->hasChanged());

    click(page->Command1);
    const QByteArray expected = StoredLogin123 + "Server=127.0.0.1\r\nPort=6000x\r\nAutoRun=1\r\nAutoUpdate=0\r\n"
                                                 "HideTray=1\r\nReConnect=1\r\nIntervalConnect=10\r\n";
    QCOMPARE(general(), expected);
    QCOMPARE(m_autostart.calls, QList<bool>{true});
    QVERIFY(m_autostart.enabled);
    QVERIFY(!page->hasChanged());

    // Opened again, the page shows what it stored; the same Apply leaves the same file.
    page = nullptr;
    QVERIFY(openWindow());
    page = openPage<nast_v>("nast1");
    QVERIFY(page);
    QCOMPARE(page->Combo1->currentText(), "127.0.0.1");
    QCOMPARE(page->Text2->text(), "6000x");
    QCOMPARE(page->Text1->text(), "10");
    QVERIFY(page->Check1->isChecked());
    QVERIFY(!page->Check2->isChecked());
    QVERIFY(page->Check4->isChecked());
    QVERIFY(page->Check5->isChecked());
    QVERIFY(!page->hasChanged());
    click(page->Check1);
    click(page->Check1);
    click(page->Command1);
    QCOMPARE(general(), expected);

    // Cleared, the autostart entry goes.
    click(page->Check1);
    click(page->Command1);
    QCOMPARE(m_autostart.calls, (QList<bool>{true, true, false}));
    QVERIFY(!m_autostart.enabled);
    QVERIFY(general().contains("\r\nAutoRun=0\r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestSettingsPages::connectionAutostartRefused()
{
    m_autostart.result = false;
    auto *page = openPage<nast_v>("nast1");
    QVERIFY(page);
    click(page->Check1);
    click(page->Command1);
    expectBox(PageMessages::ErrorTitle, PageMessages::AutostartRefusedText, Icon::Warning);
    // The settings themselves are stored.
    QCOMPARE(general(), QByteArray(FreshConnection).replace("AutoRun=0", "AutoRun=1"));
}

void TestSettingsPages::autoLoginStoresScrambled()
{
    auto *page = openPage<nast_a_v>("nast_a1");
    QVERIFY(page);
    QVERIFY(!page->Check1->isChecked());
    QCOMPARE(page->Text1->text(), QString());
    QCOMPARE(page->Text2->text(), QString());
    QCOMPARE(page->Text2->echoMode(), QLineEdit::Password);

    click(page->Check1);
    typeInto(page->Text1, "123456789");
    typeInto(page->Text2, "pass1");
    click(page->Command1);
    QCOMPARE(general(), StoredLogin123);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(openWindow());
    page = openPage<nast_a_v>("nast_a1");
    QVERIFY(page);
    QVERIFY(page->Check1->isChecked());
    QCOMPARE(page->Text1->text(), "123456789");
    QCOMPARE(page->Text2->text(), "pass1");

    // A Cyrillic password goes by its Windows-1251 codes and comes back whole.
    retype(page->Text2, "пароль");
    click(page->Check1);
    click(page->Command1);
    QCOMPARE(general(), QByteArray("AutoEnter=0\r\nAutoICQNumber=18930041.18\r\n"
                                   "AutoPassword=024002260241024002360254\r\n"));
    QVERIFY(openWindow());
    page = openPage<nast_a_v>("nast_a1");
    QCOMPARE(page->Text2->text(), "пароль");
}

void TestSettingsPages::autoLoginRefusesBadNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("text");
    const QString bad = PageMessages::BadNumberText;
    QTest::newRow("empty") << "" << "pass" << bad;
    QTest::newRow("letter") << "12a" << "pass" << bad;
    QTest::newRow("zero") << "0" << "pass" << bad;
    QTest::newRow("negative") << "-5" << "pass" << bad;
    QTest::newRow("fraction") << "1.5" << "pass" << bad;
    QTest::newRow("beyond 32 bits") << "2147483648" << "pass" << bad;
    QTest::newRow("password outside the code page") << "123456" << "日本" << PageMessages::NotStorableText;
}

void TestSettingsPages::autoLoginRefusesBadNumber()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(QString, text);
    QVERIFY(write(GeneralFile, "Server=x\r\n" + StoredLogin123));
    auto *page = openPage<nast_a_v>("nast_a1");
    QVERIFY(page);
    retype(page->Text1, number);
    retype(page->Text2, password);
    click(page->Command1);
    expectBox(PageMessages::ErrorTitle, text, Icon::Information);
    // The stored login is never wiped.
    QCOMPARE(general(), "Server=x\r\n" + StoredLogin123);
    QVERIFY(page->hasChanged());

    // The largest number the log-in takes goes through.
    retype(page->Text1, "2147483647");
    retype(page->Text2, "pass1");
    click(page->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(general().contains("AutoICQNumber=" + StoredLogin::ScrambleNumber(2147483647.0).toLatin1() + "\r\n"));
}

void TestSettingsPages::autoLoginReadsEitherSeparator()
{
    QVERIFY(write(GeneralFile, "AutoEnter=1\r\nAutoICQNumber=18930041,18\r\nAutoPassword=01130099011601170050\r\n"));
    auto *page = openPage<nast_a_v>("nast_a1");
    QVERIFY(page);
    QCOMPARE(page->Text1->text(), "123456789");
    // Stored again, the number is written with a point.
    click(page->Command1);
    QCOMPARE(general(), StoredLogin123);
}

void TestSettingsPages::soundsDefaultsAndBrowse()
{
    const QString message = m_home->path() + "/Sounds/sndMsg.wav";
    const QString startup = m_home->path() + "/Sounds/sndStartup.wav";
    auto *page = openPage<nast_b_v>("nast_b1");
    QVERIFY(page);
    QVERIFY(!page->Check1->isChecked());
    QCOMPARE(page->Text1->text(), message);
    QCOMPARE(page->Text2->text(), startup);

    // The second "..." fills only its own row; a cancelled dialog changes nothing.
    m_dialogs.queueText("/media/sounds/alarm.wav");
    click(page->Command2);
    QCOMPARE(page->Text2->text(), "/media/sounds/alarm.wav");
    QCOMPARE(page->Text1->text(), message);
    click(page->Command1);
    QCOMPARE(page->Text1->text(), message);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(0).kind, RecordingDialogs::Kind::OpenFile);
    m_dialogs.shown.clear();

    click(page->Check1);
    click(page->Command3);
    QCOMPARE(general(), ("PlaySounds=1\r\nPlaySoundsOpov=" + message + "\r\nPlaySoundsHello=/media/sounds/alarm.wav\r\n")
                            .toUtf8());

    // An emptied box stores an empty value; the page shows the default again.
    page->Text1->clear();
    click(page->Check1);
    click(page->Command3);
    QCOMPARE(general(), QByteArray("PlaySounds=0\r\nPlaySoundsOpov=\r\nPlaySoundsHello=/media/sounds/alarm.wav\r\n"));
    QVERIFY(openWindow());
    page = openPage<nast_b_v>("nast_b1");
    QCOMPARE(page->Text1->text(), message);
    QCOMPARE(page->Text2->text(), "/media/sounds/alarm.wav");
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestSettingsPages::popupFilled_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("topmost");
    QTest::addColumn<QString>("time");
    QTest::newRow("no file") << QByteArray() << false << false << "3000";
    QTest::newRow("stored") << QByteArray("Message=1\r\nMessageUP=1\r\nMessageTime=2500\r\n") << true << true
                            << "2500";
    QTest::newRow("zero") << QByteArray("Message=0\r\nMessageUP=1\r\nMessageTime=0\r\n") << false << true << "3000";
    QTest::newRow("not a number") << QByteArray("MessageTime=abc\r\n") << false << false << "3000";
    QTest::newRow("empty") << QByteArray("MessageTime=\r\n") << false << false << "3000";
    QTest::newRow("a fraction") << QByteArray("MessageTime=2.5\r\n") << false << false << "3000";
}

void TestSettingsPages::popupFilled()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QFETCH(bool, topmost);
    QFETCH(QString, time);
    if (!file.isEmpty())
        QVERIFY(write(GeneralFile, file));
    auto *page = openPage<nast_c_v>("nast_c1");
    QVERIFY(page);
    QCOMPARE(page->Check1->isChecked(), on);
    QCOMPARE(page->Check2->isChecked(), topmost);
    QCOMPARE(page->Text1->text(), time);
}

void TestSettingsPages::popupAndImitationApply()
{
    QVERIFY(write(GeneralFile, "Server=a\r\nPort=5190\r\n"));
    auto *popup = openPage<nast_c_v>("nast_c1");
    QVERIFY(popup);
    click(popup->Check1);
    retype(popup->Text1, "2500");
    click(popup->Command1);
    const QByteArray afterPopup = "Server=a\r\nPort=5190\r\nMessage=1\r\nMessageUP=0\r\nMessageTime=2500\r\n";
    QCOMPARE(general(), afterPopup);

    auto *imitation = openPage<nast_d_v>("nast_d1");
    QVERIFY(imitation);
    QVERIFY(!imitation->Check1->isChecked());
    QCOMPARE(imitation->Text1->text(), "400");
    click(imitation->Check1);
    click(imitation->Command1);
    QCOMPARE(general(), afterPopup + "AI=1\r\nAITime=400\r\n");
    QCOMPARE(bytes(ImitationSettings::CopyPath), QByteArray(" 1 \r\n400\r\n"));

    // No check of the time: it is stored as typed (the engine falls back to 500 ms).
    click(imitation->Check1);
    retype(imitation->Text1, "1.5");
    click(imitation->Command1);
    QCOMPARE(general(), afterPopup + "AI=0\r\nAITime=1.5\r\n");
    QCOMPARE(bytes(ImitationSettings::CopyPath), QByteArray(" 0 \r\n1.5\r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestSettingsPages::adminApply_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("both empty") << "" << "" << QByteArray("\r\n\r\n");
    QTest::newRow("no password") << "424242" << "" << QByteArray("424242\r\n\r\n");
    QTest::newRow("with password") << "424242" << "секрет" << QByteArray("424242\r\n\xf1\xe5\xea\xf0\xe5\xf2\r\n");
}

void TestSettingsPages::adminApply()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(QByteArray, file);
    // A fresh folder: not even "\Настройки" exists.
    auto *page = openPage<UserControl4>("UserControl31");
    QVERIFY(page);
    QCOMPARE(page->Text1->text(), QString());
    QCOMPARE(page->Text2->echoMode(), QLineEdit::Password);
    typeInto(page->Text1, number);
    typeInto(page->Text2, password);
    click(page->Command1);
    QCOMPARE(bytes(AdminFile::FilePath), file);
    QCOMPARE(FileProbe::unixMode(path(AdminFile::FilePath)), 0600);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(openWindow());
    page = openPage<UserControl4>("UserControl31");
    QCOMPARE(page->Text1->text(), number);
    QCOMPARE(page->Text2->text(), password);
}

void TestSettingsPages::adminFilledFromShortFile()
{
    QVERIFY(write(AdminFile::FilePath, "555\r\n"));
    auto *page = openPage<UserControl4>("UserControl31");
    QVERIFY(page);
    QCOMPARE(page->Text1->text(), "555");
    QCOMPARE(page->Text2->text(), QString());
}

void TestSettingsPages::autoOpenApply()
{
    auto *page = openPage<UserControl2>("UserControl11");
    QVERIFY(page);
    for (QCheckBox *box : page->Check)
        QVERIFY(!box->isChecked());
    click(page->Check[3]);
    click(page->Check[7]);
    click(page->Command1);
    QCOMPARE(bytes(AutoOpenSettings::FilePath),
             QByteArray(" 0 \r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestSettingsPages::autoOpenFilledFromShortFile()
{
    QVERIFY(write(AutoOpenSettings::FilePath, " 1 \r\n0\r\n1\r\nx\r\n 1 \r\n"));
    auto *page = openPage<UserControl2>("UserControl11");
    QVERIFY(page);
    const bool expected[AutoOpenSettings::BoxCount] = {true, false, true, false, true, false, false, false, false};
    for (int i = 0; i < AutoOpenSettings::BoxCount; ++i)
        QCOMPARE(page->Check[i]->isChecked(), expected[i]);
}

void TestSettingsPages::writeFailureReported_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::newRow("connection") << "nast1" << "Command1" << GeneralFile;
    QTest::newRow("auto-login") << "nast_a1" << "Command1" << GeneralFile;
    QTest::newRow("sounds") << "nast_b1" << "Command3" << GeneralFile;
    QTest::newRow("popup") << "nast_c1" << "Command1" << GeneralFile;
    QTest::newRow("human imitation") << "nast_d1" << "Command1" << GeneralFile;
    QTest::newRow("auto-open") << "UserControl11" << "Command1" << AutoOpenSettings::FilePath;
    QTest::newRow("administrator") << "UserControl31" << "Command1" << AdminFile::FilePath;
}

void TestSettingsPages::writeFailureReported()
{
    QFETCH(QString, tab);
    QFETCH(QString, button);
    QFETCH(QString, file);
    QVERIFY(write(file, "old\r\n"));
    auto *page = openPage<SettingsPage>(tab.toLatin1().constData());
    QVERIFY(page);
    // The auto-login page needs a number it would store.
    if (auto *autoLogin = qobject_cast<nast_a_v *>(page))
        typeInto(autoLogin->Text1, "123456");
    auto *apply = page->findChild<QPushButton *>(button);
    QVERIFY(apply);
    {
        FileProbe::NoNewFiles noFiles;
        if (!noFiles.active())
            QSKIP("the file limit cannot be lowered here");
        click(apply);
    }
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.constFirst().title, PageMessages::ErrorTitle);
    QVERIFY(m_dialogs.shown.constFirst().text.startsWith("Не удалось сохранить настройки ("));
    QCOMPARE(m_dialogs.shown.constFirst().icon, Icon::Warning);
    QCOMPARE(bytes(file), QByteArray("old\r\n"));
}

void TestSettingsPages::pastedValueRefused_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("why");
    const struct
    {
        const char *page;
        const char *tab;
        const char *box; // "Combo1" is the server box's line
        const char *button;
        QString file;
    } boxes[] = {
        {"connection", "nast1", "Combo1", "Command1", GeneralFile},
        {"connection", "nast1", "Text2", "Command1", GeneralFile},
        {"connection", "nast1", "Text1", "Command1", GeneralFile},
        {"auto-login", "nast_a1", "Text1", "Command1", GeneralFile},
        {"auto-login", "nast_a1", "Text2", "Command1", GeneralFile},
        {"sounds", "nast_b1", "Text1", "Command3", GeneralFile},
        {"sounds", "nast_b1", "Text2", "Command3", GeneralFile},
        {"popup", "nast_c1", "Text1", "Command1", GeneralFile},
        {"human imitation", "nast_d1", "Text1", "Command1", GeneralFile},
        {"administrator", "UserControl31", "Text1", "Command1", AdminFile::FilePath},
        {"administrator", "UserControl31", "Text2", "Command1", AdminFile::FilePath},
    };
    const struct
    {
        const char *name;
        QString pasted;
        QString why;
    } values[] = {
        {"CR LF and a forged key", QStringLiteral("424242\r\nAutoEnter=1"), PageMessages::LineBreakText},
        {"LF alone", QStringLiteral("424242\nx"), PageMessages::LineBreakText},
        {"CR alone", QStringLiteral("424242\rx"), PageMessages::LineBreakText},
        {"outside the code page", QStringLiteral("/home/josé/ding.wav"), PageMessages::NotStorableText},
    };
    for (const auto &box : boxes) {
        for (const auto &value : values) {
            QTest::addRow("%s %s, %s", box.page, box.box, value.name)
                << box.tab << box.box << box.button << box.file << value.pasted << value.why;
        }
    }
}

void TestSettingsPages::pastedValueRefused()
{
    QFETCH(QString, tab);
    QFETCH(QString, box);
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QString, pasted);
    QFETCH(QString, why);
    // Every page opens on values it would save as they are.
    const QByteArray general = "Server=x\r\n" + StoredLogin123 + "PlaySounds=0\r\n";
    QVERIFY(write(GeneralFile, general));
    QVERIFY(write(AdminFile::FilePath, "111\r\npass\r\n"));
    QVERIFY(write(ImitationSettings::CopyPath, " 0 \r\n400\r\n"));
    const QByteArray before = bytes(file);
    auto *page = openPage<SettingsPage>(tab.toLatin1().constData());
    QVERIFY(page);
    QLineEdit *line = nullptr;
    if (box == QLatin1String("Combo1"))
        line = page->findChild<QComboBox *>(box)->lineEdit();
    else
        line = page->findChild<QLineEdit *>(box);
    QVERIFY(line);

    paste(line, pasted);
    QCOMPARE(line->text(), pasted);
    click(page->findChild<QPushButton *>(button));

    expectBox(PageMessages::ErrorTitle, why, Icon::Information);
    QCOMPARE(bytes(file), before);
    QCOMPARE(bytes(GeneralFile), general);
    QCOMPARE(bytes(ImitationSettings::CopyPath), QByteArray(" 0 \r\n400\r\n"));
    QVERIFY(page->hasChanged());
}

void TestSettingsPages::pagesShareTheGeneralFile()
{
    // Each page on the file the previous ones wrote: its keys after theirs, in its order.
    QVERIFY(openWindow());
    auto *sounds = openPage<nast_b_v>("nast_b1");
    click(sounds->Command3);
    auto *imitation = openPage<nast_d_v>("nast_d1");
    click(imitation->Command1);
    auto *connection = openPage<nast_v>("nast1");
    retype(connection->Combo1->lineEdit(), "10.0.0.1");
    click(connection->Command1);
    auto *popup = openPage<nast_c_v>("nast_c1");
    click(popup->Command1);
    auto *autoLogin = openPage<nast_a_v>("nast_a1");
    typeInto(autoLogin->Text1, "123456789");
    typeInto(autoLogin->Text2, "pass1");
    click(autoLogin->Check1);
    click(autoLogin->Command1);
    const QByteArray soundLines = ("PlaySounds=0\r\nPlaySoundsOpov=" + m_home->path() +
                                   "/Sounds/sndMsg.wav\r\nPlaySoundsHello=" + m_home->path() +
                                   "/Sounds/sndStartup.wav\r\n")
                                      .toUtf8();
    const QByteArray connectionLines = QByteArray(FreshConnection).replace("login.icq.com", "10.0.0.1");
    QCOMPARE(general(), soundLines + "AI=0\r\nAITime=400\r\n" + connectionLines +
                            "Message=0\r\nMessageUP=0\r\nMessageTime=3000\r\n" + StoredLogin123);

    // A second Apply replaces the page's lines where they stand.
    QCOMPARE(openPage<nast_d_v>("nast_d1"), imitation);
    click(imitation->Check1);
    retype(imitation->Text1, "1200");
    click(imitation->Command1);
    QCOMPARE(general(), soundLines + "AI=1\r\nAITime=1200\r\n" + connectionLines +
                            "Message=0\r\nMessageUP=0\r\nMessageTime=3000\r\n" + StoredLogin123);
    QVERIFY(m_dialogs.shown.isEmpty());
}

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
