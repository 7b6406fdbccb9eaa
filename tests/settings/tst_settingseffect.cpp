// What the pages store takes effect in the running bot without a restart: the next
// log-in goes to the server and port of the connection page, the next answer waits the
// human-imitation delay, and the next power command obeys the administrator page.
#include "settingspagesfixture.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "engine/answerengine.h"
#include "engine/services.h"
#include "engine/sessionhooks.h"
#include "files/storedlogin.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingpower.h"
#include "session/autologin.h"
#include "settings/admin_page.h"
#include "settings/autologin_page.h"
#include "settings/connection_page.h"
#include "settings/imitation_page.h"
#include "settings/pagemessages.h"
#include "support/commandrecords.h"
#include "support/onlinebot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScopeGuard>

namespace {

constexpr int Timeout = OnlineBot::DefaultTimeoutMs;
const QString User = QStringLiteral("424242");
const QString Other = QStringLiteral("535353");

} // namespace

class TestSettingsEffect : public SettingsPagesFixture
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void nextLoginUsesTheConnectionPage();
    void answerDelayFollowsTheImitationPage();
    void powerCommandsFollowTheAdministratorPage_data();
    void powerCommandsFollowTheAdministratorPage();
    void runningProgramFollowsTheSettingsWindow();
    void pastedLineBreakKeepsThePassword();

private:
    // The engine behind the bot's session, wired as the main window does.
    void startEngine();

    std::unique_ptr<OnlineBot> m_bot;
    RecordingPower m_power;
    std::unique_ptr<NamedTimer> m_timer1;
    std::unique_ptr<AnswerEngine> m_engine;
};

void TestSettingsEffect::init()
{
    setUp();
    m_bot = std::make_unique<OnlineBot>();
    QVERIFY2(m_bot->isListening(), qPrintable(m_bot->errorString()));
    m_power.requests.clear();
}

void TestSettingsEffect::cleanup()
{
    m_window.reset();
    m_engine.reset();
    m_timer1.reset();
    m_bot.reset();
    tearDown();
}

void TestSettingsEffect::startEngine()
{
    m_timer1 = std::make_unique<NamedTimer>(QStringLiteral("Timer1"));
    IcqSession *session = &m_bot->session();
    const SendFunction send = [session](int slot, const QString &txt, const QString &to) {
        return session->sendMessageOn(slot, txt, to);
    };
    m_engine = std::make_unique<AnswerEngine>(*m_timer1, send);
    EngineHooks engineHooks;
    ServiceContext context{send, nullptr, &m_power, nullptr, nullptr};
    installServiceHooks(engineHooks, context);
    m_engine->setHooks(engineHooks);
    MessageHooks hooks;
    addEngineHooks(hooks, *m_engine);
    m_bot->session().setMessageHooks(hooks);
    QVERIFY(m_bot->logIn());
}

void TestSettingsEffect::nextLoginUsesTheConnectionPage()
{
    auto *connection = openPage<nast_v>("nast1");
    QVERIFY(connection);
    retype(connection->Combo1->lineEdit(), "127.0.0.1");
    retype(connection->Text2, QString::number(m_bot->server().loginPort()));
    click(connection->Command1);
    auto *autoLogin = openPage<nast_a_v>("nast_a1");
    QVERIFY(autoLogin);
    click(autoLogin->Check1);
    typeInto(autoLogin->Text1, m_bot->uin());
    typeInto(autoLogin->Text2, QString::fromLatin1(OnlineBot::DefaultPassword));
    click(autoLogin->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());

    // The log-in without the button, as the start-up and the watchdog run it: the stored
    // login decoded by the one codec, the server read anew.
    const Settings settings = Settings::read();
    QVERIFY(settings.autoEnter());
    const std::optional<StoredLogin::Credentials> stored = StoredLogin::fromSettings(settings);
    QVERIFY(stored);
    QCOMPARE(QString::number(stored->uin), m_bot->uin());
    IcqSession &session = m_bot->session();
    session.setMainUin(stored->uin);
    session.setMainPassword(stored->password);
    QCOMPARE(AutoLogin::vhod_auto(session, Credentials{QString::number(stored->uin), stored->password}), 1);
    QTRY_VERIFY_WITH_TIMEOUT(m_bot->server().isOnline(m_bot->uin()), Timeout);
}

void TestSettingsEffect::answerDelayFollowsTheImitationPage()
{
    QVERIFY(FileProbe::writeBytes(path("\\Команды\\Общая.txt"), rec("привет", "Здравствуй!")));
    startEngine();
    constexpr int Delay = 2500;

    auto *page = openPage<nast_d_v>("nast_d1");
    QVERIFY(page);
    click(page->Check1);
    retype(page->Text1, QString::number(Delay));
    click(page->Command1);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_bot->ask(User, "привет"), "Здравствуй!");
    QVERIFY2(clock.elapsed() >= Delay, qPrintable(QString::number(clock.elapsed())));

    // Switched off, the plain answer timer is back at once.
    click(page->Check1);
    click(page->Command1);
    clock.restart();
    QCOMPARE(m_bot->ask(Other, "привет"), "Здравствуй!");
    QVERIFY2(clock.elapsed() < Delay, qPrintable(QString::number(clock.elapsed())));
}

void TestSettingsEffect::powerCommandsFollowTheAdministratorPage_data()
{
    using Request = RecordingPower::Request;
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<RecordingPower::Request>>("requests");
    QTest::newRow("no password") << "" << "!выключить" << QList<Request>{Request::PowerOff};
    QTest::newRow("password") << "tajna" << "!перезагрузить:tajna" << QList<Request>{Request::Reboot};
    QTest::newRow("wrong password") << "tajna" << "!перезагрузить:other" << QList<Request>{};
}

void TestSettingsEffect::powerCommandsFollowTheAdministratorPage()
{
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QList<RecordingPower::Request>, requests);
    startEngine();

    // No administrator yet: the command is a plain message.
    QVERIFY(m_bot->server().injectText(User, m_bot->uin(), message));
    QTRY_VERIFY_WITH_TIMEOUT(!m_bot->sentTo(User).isEmpty(), Timeout);
    QVERIFY(m_power.requests.isEmpty());

    auto *page = openPage<UserControl4>("UserControl31");
    QVERIFY(page);
    typeInto(page->Text1, User);
    typeInto(page->Text2, password);
    click(page->Command1);

    // Only that number commands, from its next message on.
    const qsizetype answered = m_bot->sentTo(Other).size();
    QVERIFY(m_bot->server().injectText(Other, m_bot->uin(), message));
    QTRY_VERIFY_WITH_TIMEOUT(m_bot->sentTo(Other).size() > answered, Timeout);
    QVERIFY(m_power.requests.isEmpty());
    QVERIFY(m_bot->server().injectText(User, m_bot->uin(), message));
    if (requests.isEmpty()) {
        const qsizetype before = m_bot->sentTo(User).size();
        QTRY_VERIFY_WITH_TIMEOUT(m_bot->sentTo(User).size() > before, Timeout);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!m_power.requests.isEmpty(), Timeout);
    }
    QCOMPARE(m_power.requests, requests);
}

void TestSettingsEffect::runningProgramFollowsTheSettingsWindow()
{
    // The whole program, its bot not yet logged in: the settings window it hosts sends
    // the next log-in to the local server and names the administrator.
    const QString secondary = QStringLiteral("222222");
    m_bot->server().addAccount(secondary, "secret");
    QVERIFY(write(QStringLiteral("\\Настройки\\Распределение.txt"), "2 222222 secret 0\r\n"));
    QVERIFY(write(GeneralFile, "Server=127.0.0.1\r\nPort=1\r\n"));
    Power::setInstance(&m_power);
    const auto restorePower = qScopeGuard([] { Power::setInstance(nullptr); });
    BotApplication program;
    program.mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
    program.start();
    MDIForm1 &main = program.mainWindow();
    auto *settings = qobject_cast<Form1 *>(main.showWindow(QStringLiteral("Form1")));
    QVERIFY(settings);
    QTest::mouseClick(settings->nast1, Qt::LeftButton);
    auto *connection = qobject_cast<nast_v *>(settings->visiblePage());
    QVERIFY(connection);
    QCOMPARE(connection->Text2->text(), "1");
    retype(connection->Text2, QString::number(m_bot->server().loginPort()));
    click(connection->Command1);
    QTest::mouseClick(settings->UserControl31, Qt::LeftButton);
    auto *admin = qobject_cast<UserControl4 *>(settings->visiblePage());
    QVERIFY(admin);
    typeInto(admin->Text1, User);
    click(admin->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());

    QWidget *login = main.findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text1")), m_bot->uin());
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text2")),
                     QString::fromLatin1(OnlineBot::DefaultPassword));
    QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_bot->server().isOnline(m_bot->uin()), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_bot->server().isOnline(secondary), Timeout);

    // The main bot hands the user over to the secondary bot, which then serves him.
    QVERIFY(m_bot->server().injectText(User, m_bot->uin(), QStringLiteral("привет")));
    QTRY_VERIFY_WITH_TIMEOUT(!textsSent(m_bot->server(), secondary, User).isEmpty(), Timeout);
    QVERIFY(m_power.requests.isEmpty());
    QVERIFY(m_bot->server().injectText(User, secondary, QStringLiteral("!выключить")));
    QTRY_COMPARE_WITH_TIMEOUT(m_power.requests, QList<RecordingPower::Request>{RecordingPower::Request::PowerOff},
                              Timeout);
}

void TestSettingsEffect::pastedLineBreakKeepsThePassword()
{
    startEngine();
    auto *page = openPage<UserControl4>("UserControl31");
    QVERIFY(page);
    typeInto(page->Text1, User);
    typeInto(page->Text2, QStringLiteral("tajna"));
    click(page->Command1);
    QVERIFY(m_dialogs.shown.isEmpty());

    // The number pasted again with a line break after it: the page refuses it, so the
    // password stays on its line.
    paste(page->Text1, User + QStringLiteral("\r\n"));
    QCOMPARE(page->Text1->text(), User + QStringLiteral("\r\n"));
    click(page->Command1);
    expectBox(PageMessages::ErrorTitle, PageMessages::LineBreakText, Icon::Information);

    const qsizetype answered = m_bot->sentTo(User).size();
    QVERIFY(m_bot->server().injectText(User, m_bot->uin(), QStringLiteral("!выключить")));
    QTRY_VERIFY_WITH_TIMEOUT(m_bot->sentTo(User).size() > answered, Timeout);
    QVERIFY(m_power.requests.isEmpty());
    QVERIFY(m_bot->server().injectText(User, m_bot->uin(), QStringLiteral("!выключить:tajna")));
    QTRY_COMPARE_WITH_TIMEOUT(m_power.requests, QList<RecordingPower::Request>{RecordingPower::Request::PowerOff},
                              Timeout);
}

QTEST_MAIN(TestSettingsEffect)
#include "tst_settingseffect.moc"
