// The login window "Вход" and its logic: controls, the distribution-list guard, the
// number and password checks, the remembered login, the login server and the slot.
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "platform/recordingdialogs.h"
#include "session/icqsession.h"
#include "session/loginform.h"
#include "session/login_window.h"
#include "session/socketcontrol.h"
#include "support/programhome.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

namespace {

constexpr int Timeout = 20000;
const QString Distribution = QStringLiteral("\\Настройки\\Распределение.txt");

} // namespace

class tst_LoginWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls();
    void emptyDistributionList();
    void badNumber_data();
    void badNumber();
    void passwordLength_data();
    void passwordLength();
    void remembersLogin();
    void loginServer_data();
    void loginServer();
    void fixedSlots();
    void rememberedLogin_data();
    void rememberedLogin();
    void showLogin();
    void storedLoginDecoding();
    void activationFillsBoxes();
    void activationInsideMdiArea();

private:
    // Types into the named boxes and clicks the named button, as the operator would.
    void typeAndClick(fMain &window, const QString &number, const QString &password, bool remember = false);

    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<QTcpServer> m_loginServer; // accepts and says nothing
};

void tst_LoginWindow::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs = std::make_unique<RecordingDialogs>();
    Dialogs::setInstance(m_dialogs.get());
    m_loginServer = std::make_unique<QTcpServer>();
    QVERIFY(m_loginServer->listen(QHostAddress::LocalHost, 0));
    TextFile::writeLines(GeneralSettings::FilePath,
                         {"Server=127.0.0.1", QStringLiteral("Port=%1").arg(m_loginServer->serverPort())});
    TextFile::writeLines(Distribution, {"2 222222 pw2 0", "3 333333 pw3 0"});
}

void tst_LoginWindow::cleanup()
{
    m_loginServer.reset();
    Dialogs::setInstance(nullptr);
    m_dialogs.reset();
    m_dir.reset();
}

void tst_LoginWindow::typeAndClick(fMain &window, const QString &number, const QString &password,
                                   bool remember)
{
    auto *text1 = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *text2 = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *check1 = window.findChild<QCheckBox *>(QStringLiteral("Check1"));
    auto *command1 = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(text1 && text2 && check1 && command1);
    text1->clear();
    text2->clear();
    // Key clicks know only ASCII; other letters go in as the input method would put them.
    auto type = [](QLineEdit *box, const QString &text) {
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(box, text);
        else
            box->insert(text);
    };
    type(text1, number);
    type(text2, password);
    check1->setChecked(remember);
    QTest::mouseClick(command1, Qt::LeftButton);
}

void tst_LoginWindow::controls()
{
    IcqSession session;
    fMain window(session);
    QCOMPARE(window.windowTitle(), QStringLiteral("Вход"));
    QCOMPARE(window.objectName(), QStringLiteral("fMain"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Номер  :"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Пароль :"));
    QCOMPARE(window.findChild<QCheckBox *>(QStringLiteral("Check1"))->text(),
             QStringLiteral("Запомнить пароль"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("Войти"));
    auto *password = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    password->ensurePolished();
    QTest::keyClicks(password, QStringLiteral("secret"));
    QCOMPARE(password->displayText(), QStringLiteral("******"));
    password->clear();
    QCOMPARE(window.Text1, window.findChild<QLineEdit *>(QStringLiteral("Text1")));
    QVERIFY(window.Command1->isEnabled());
}

void tst_LoginWindow::emptyDistributionList()
{
    TextFile::remove(Distribution);
    IcqSession session;
    fMain window(session);
    QSignalSpy settings(&window, &fMain::distributionPageRequested);
    typeAndClick(window, QStringLiteral("111111"), QStringLiteral("pw"));

    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, RecordingDialogs::Kind::Message);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("Ощибка"));
    QCOMPARE(m_dialogs->shown[0].text,
             QStringLiteral(
                 "Бот с версии 1.9 является многономерным. Теперь для входа нужно не только ввести номер "
                 "главно бота, но и как минимум 1 второстепенный."));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Information);
    QCOMPARE(settings.size(), 1);
    // One attempt per load: the button stays off; nothing was taken or opened.
    QVERIFY(!window.Command1->isEnabled());
    QCOMPARE(session.net(1), nullptr);
    QCOMPARE(session.MainUin(), 0);
}

void tst_LoginWindow::badNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "12a4";
    QTest::newRow("blank") << " 1234";
    QTest::newRow("sign") << "-1234";
    QTest::newRow("beyond 32 bits") << "2147483648";
    QTest::newRow("eleven digits") << "12345678901";
}

void tst_LoginWindow::badNumber()
{
    QFETCH(QString, number);
    IcqSession session;
    fMain window(session);
    typeAndClick(window, number, QStringLiteral("pw"));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("Ошибка"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("Введён не правильный формат ICQ номера"));
    QVERIFY(window.Command1->isEnabled());
    QCOMPARE(session.net(1), nullptr);
    QCOMPARE(session.NetSlotUin(1), QString());
}

void tst_LoginWindow::passwordLength_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("16 characters") << "abcdefghijklmnop";
    QTest::newRow("16 cyrillic characters") << "абвгдежзийклмноп";
    // Longer ones are roasted cyclically, as every automatic log-in roasts them.
    QTest::newRow("17 characters") << "abcdefghijklmnopq";
    QTest::newRow("40 cyrillic characters") << QString(40, QChar(0x0436));
    QTest::newRow("empty") << "";
}

void tst_LoginWindow::passwordLength()
{
    QFETCH(QString, password);
    IcqSession session;
    fMain window(session);
    QSignalSpy started(&window, &fMain::loginStarted);
    typeAndClick(window, QStringLiteral("2147483647"), password);
    QCOMPARE(started.size(), 1);
    QVERIFY(!window.Command1->isEnabled());
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(session.MainUin(), 2147483647);
    QCOMPARE(session.MainPassword(), password);
    QTRY_VERIFY_WITH_TIMEOUT(m_loginServer->hasPendingConnections(), Timeout);
}

void tst_LoginWindow::remembersLogin()
{
    const QString file = QStringLiteral("\\Настройки\\Автоввод.txt");
    IcqSession session;
    {
        fMain window(session);
        typeAndClick(window, QStringLiteral("111111"), QStringLiteral("пароль"), true);
    }
    QCOMPARE(TextFile::readBytes(file), QByteArray("111111\r\n\xEF\xE0\xF0\xEE\xEB\xFC\r\n"));
    QCOMPARE(QFile::permissions(TextFile::filePath(file)) & 0x0077, QFileDevice::Permissions());

    // Not checked: the file stays as it was.
    fMain window(session);
    typeAndClick(window, QStringLiteral("222222"), QStringLiteral("other"), false);
    QCOMPARE(TextFile::readBytes(file), QByteArray("111111\r\n\xEF\xE0\xF0\xEE\xEB\xFC\r\n"));
}

void tst_LoginWindow::loginServer_data()
{
    QTest::addColumn<QStringList>("settings"); // the general settings file's lines, none = no file
    QTest::addColumn<QString>("addressFile");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("later line wins") << QStringList{"Server=a", "Port=5190", "Server=b"} << ""
                                     << "b" << 5190;
    QTest::newRow("own port") << QStringList{"Server=h", "Port=40000"} << ""
                              << "h" << 40000;
    QTest::newRow("value holds =") << QStringList{"Server=a=b", "Port=1"} << ""
                                   << "a=b" << 1;
    QTest::newRow("no file") << QStringList() << ""
                             << "login.icq.com" << 5190;
    QTest::newRow("no file, own standard server") << QStringList() << "LoginServer=login.example"
                                                  << "login.example" << 5190;
    QTest::newRow("only a port") << QStringList{"Port=6000"} << ""
                                 << "login.icq.com" << 6000;
    QTest::newRow("empty server") << QStringList{"Server=", "Port=6000"} << "LoginServer=x.example"
                                  << "x.example" << 6000;
    QTest::newRow("port not a number") << QStringList{"Server=h", "Port=abc"} << ""
                                       << "h" << 5190;
    QTest::newRow("port beyond 16 bits") << QStringList{"Server=h", "Port=70000"} << ""
                                         << "h" << 5190;
    QTest::newRow("key with blank") << QStringList{"Server =h", "Port=7"} << ""
                                    << "login.icq.com" << 7;
}

void tst_LoginWindow::loginServer()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, addressFile);
    TextFile::remove(GeneralSettings::FilePath);
    if (!settings.isEmpty())
        TextFile::writeLines(GeneralSettings::FilePath, settings);
    if (!addressFile.isEmpty())
        TextFile::writeLines(Addresses::FilePath, {addressFile});
    const LoginForm::Server server = LoginForm::loginServer();
    QTEST(server.host, "host");
    QTEST(int(server.port), "port");
}

void tst_LoginWindow::fixedSlots()
{
    IcqSession session;
    QCOMPARE(IcqSession::slotForNumber(QStringLiteral("111111")), 1);
    QCOMPARE(IcqSession::slotForNumber(QStringLiteral("222222")), 2);
    QCOMPARE(IcqSession::slotForNumber(QStringLiteral("333333")), 3);
    QCOMPARE(IcqSession::slotForNumber(QStringLiteral("22222")), 1);

    // A secondary number typed into the box logs in on its own slot.
    fMain window(session);
    typeAndClick(window, QStringLiteral("333333"), QStringLiteral("pw3"));
    QCOMPARE(session.NetSlotUin(3), QStringLiteral("333333"));
    QCOMPARE(session.CurrentNetSlot(), 3);
    QCOMPARE(session.NetSlotUin(1), QString());
}

void tst_LoginWindow::rememberedLogin_data()
{
    QTest::addColumn<QStringList>("remembered"); // \Настройки\Автоввод.txt
    QTest::addColumn<QStringList>("stored");     // \Настройки\Автовход.txt
    QTest::addColumn<QString>("number");         // empty: the boxes are left alone
    QTest::addColumn<QString>("password");

    QTest::newRow("remembered") << QStringList{"111111", "пароль"} << QStringList() << "111111"
                                << "пароль";
    QTest::newRow("remembered over stored")
        << QStringList{"111111", "pw"} << QStringList{"1", "18930041.18", "009801000100"} << "111111"
        << "pw";
    QTest::newRow("second line empty, stored used")
        << QStringList{"111111", ""} << QStringList{"1", "18930041.18", "009801000100"} << "123456789"
        << "abc";
    QTest::newRow("stored switch printed")
        << QStringList() << QStringList{" 1 ", "18930041.18", "009801000100"} << "123456789"
        << "abc";
    QTest::newRow("stored switched off")
        << QStringList() << QStringList{"0", "18930041.18", "009801000100"} << ""
        << "";
    QTest::newRow("nothing") << QStringList() << QStringList() << ""
                             << "";
}

void tst_LoginWindow::rememberedLogin()
{
    QFETCH(QStringList, remembered);
    QFETCH(QStringList, stored);
    QFETCH(QString, number);
    QFETCH(QString, password);
    if (!remembered.isEmpty())
        TextFile::writeLines(RememberedLogin::FilePath, remembered);
    if (!stored.isEmpty())
        TextFile::writeLines(StoredLogin::FilePath, stored);

    IcqSession session;
    fMain window(session);
    window.Text1->setText(QStringLiteral("typed"));
    window.Text2->setText(QStringLiteral("typed"));
    window.Form_Activate();
    QCOMPARE(window.Text1->text(), number.isEmpty() ? QStringLiteral("typed") : number);
    QCOMPARE(window.Text2->text(), password.isEmpty() ? QStringLiteral("typed") : password);
    // Showing a login is not logging in: the session's login state stays as it was.
    QCOMPARE(session.MainUin(), 0);
    QCOMPARE(session.MainPassword(), QString());
}

void tst_LoginWindow::showLogin()
{
    RememberedLogin::write(QStringLiteral("111111"), QStringLiteral("pw"));
    IcqSession session;
    fMain window(session);

    // A log-in the program started: shown, nothing usable, and activation leaves it shown.
    window.showLogin({QStringLiteral("222222"), QStringLiteral("второй")}, true);
    QCOMPARE(window.Text1->text(), QStringLiteral("222222"));
    QCOMPARE(window.Text2->text(), QStringLiteral("второй"));
    QVERIFY(!window.Text1->isEnabled() && !window.Text2->isEnabled() && !window.Command1->isEnabled());
    QVERIFY(window.isLocked());
    window.Form_Activate();
    QCOMPARE(window.Text1->text(), QStringLiteral("222222"));
    QCOMPARE(session.MainUin(), 0);
    QCOMPARE(session.MainPassword(), QString());
    QCOMPARE(session.net(2), nullptr);

    // The operator's turn: empty boxes, all usable; activation offers the remembered login.
    window.showLogin({}, false);
    QCOMPARE(window.Text1->text(), QString());
    QCOMPARE(window.Text2->text(), QString());
    QVERIFY(window.Text1->isEnabled() && window.Text2->isEnabled() && window.Command1->isEnabled());
    window.Form_Activate();
    QCOMPARE(window.Text1->text(), QStringLiteral("111111"));
    QCOMPARE(session.MainUin(), 0);
}

void tst_LoginWindow::storedLoginDecoding()
{
    const auto number = [](const QString &text) {
        const std::optional<StoredLogin::Credentials> login = StoredLogin::decode(text, QString());
        return login ? std::optional<qint32>(login->uin) : std::nullopt;
    };
    QCOMPARE(number(QStringLiteral("18930041.18")), 123456789);
    QVERIFY(!number(QStringLiteral("x")).has_value());
    QVERIFY(!number(QStringLiteral("1E+20")).has_value());
    // Code + 1 at odd places, + 2 at even ones; a short last group is not used.
    QCOMPARE(StoredLogin::UnscramblePassword(QStringLiteral("009801000100")), QStringLiteral("abc"));
    QCOMPARE(StoredLogin::UnscramblePassword(QStringLiteral("00980100010")), QStringLiteral("ab"));
    QCOMPARE(StoredLogin::UnscramblePassword(QStringLiteral("0240")), QStringLiteral("п"));
    QCOMPARE(StoredLogin::UnscramblePassword(QString()), QString());
}

void tst_LoginWindow::activationFillsBoxes()
{
    TextFile::writeLines(RememberedLogin::FilePath, {"111111", "pw"});
    IcqSession session;
    fMain window(session);
    window.show();
    QApplication::setActiveWindow(&window);
    QTRY_COMPARE_WITH_TIMEOUT(window.Text1->text(), QStringLiteral("111111"), Timeout);
    QCOMPARE(window.Text2->text(), QStringLiteral("pw"));
}

void tst_LoginWindow::activationInsideMdiArea()
{
    TextFile::writeLines(RememberedLogin::FilePath, {"111111", "pw"});
    IcqSession session;
    QMdiArea area;
    auto *other = area.addSubWindow(new QLabel(QStringLiteral("other")));
    auto *window = new fMain(session);
    QMdiSubWindow *frame = area.addSubWindow(window);
    area.show();
    QApplication::setActiveWindow(&area);
    other->show();
    frame->show();
    area.setActiveSubWindow(other);
    window->Text1->clear();
    area.setActiveSubWindow(frame);
    QTRY_COMPARE_WITH_TIMEOUT(window->Text1->text(), QStringLiteral("111111"), Timeout);

    // Closing the window leaves the session as it was.
    session.setMainUin(42);
    frame->close();
    delete frame;
    QCOMPARE(session.MainUin(), 42);
}

QTEST_MAIN(tst_LoginWindow)
#include "tst_loginwindow.moc"
