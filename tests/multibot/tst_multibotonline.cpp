// The main bot and two secondary bots on the local OSCAR server, over TCP: the log-in
// chain, the users' distribution over the bots, the watchdog, the connect, disconnect,
// status and mode items and the saved status. Every test runs in a fresh program folder.
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/connectioncommands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "mainwindow/statuscommands.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingsound.h"
#include "session/botpresence.h"
#include "session/connectionlog.h"
#include "session/distribution.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"
#include "session/loginform.h"
#include "session/login_window.h"
#include "session/postlogin.h"
#include "session/secondarylogin.h"
#include "session/watchdog.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"
#include "support/onlinebot.h"
#include "support/programhome.h"
#include "support/storedlogin.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Timeout = 20000;

const QString Bot = QStringLiteral("111111");
const QString BotPassword = QStringLiteral("botpass");
const QString First = QStringLiteral("222222");
const QString Second = QStringLiteral("333333");

constexpr quint32 Occupied = 0x20030011;
constexpr quint32 Invisible = 0x20030100;

} // namespace

class tst_MultiBotOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void allBotsSignOnInTurn();
    void usersSpreadOverTheBots();
    void lostMainSessionLogsInAgain();
    void freshMainSignOnBringsBackSecondaryBots();
    void statusItemsReachEveryBot_data();
    void statusItemsReachEveryBot();
    void modeItemsWriteTheirFiles();
    void disconnectClosesEverythingAndConnectReopensTheBoxes();
    void savedStatusRestoredAfterLogin();
    void rememberStatusItemWritesSetting();
    void programWiresTheBots();
    void droppedMainBotShownOfflineAndBack_data();
    void droppedMainBotShownOfflineAndBack();
    void droppedSecondaryBotBroughtBack();
    void stalledLoginTriedAgain_data();
    void stalledLoginTriedAgain();
    void reloginUsesLastSuccessfulLogin();
    void everyBotDroppedComesBackAtOnce();
    void quickDropWaitsThroughMainSignOn();

private:
    void startBot(const QStringList &extraSettings = {});
    bool logInAll();
    int nonEmptyLines(const QString &path) const;
    bool sentTo(const QString &from, const QString &to, const QString &text) const;
    // The menus and the status bar say the main bot is offline, as after "Отключиться".
    bool showsDisconnected() const;
    bool showsOnline() const;
    bool logged(const QString &event) const;

    std::unique_ptr<ProgramHome> m_dir;
    RecordingDialogs m_dialogs;
    RecordingSound m_sound;
    FixedClock m_clock;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<MDIForm1> m_window;
    std::unique_ptr<MultiBot> m_multiBot;
    QList<MessageState> m_processed;
};

void tst_MultiBotOnline::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs.shown.clear();
    Dialogs::setInstance(&m_dialogs);
    m_sound.played.clear();
    Sound::setInstance(&m_sound);
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    Clock::setInstance(&m_clock);
    m_processed.clear();

    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Bot, BotPassword.toLatin1());
    m_server->addAccount(First, "first");
    m_server->addAccount(Second, Cp1251::encode(QStringLiteral("второй")));
    QVERIFY2(m_server->listen(QHostAddress::LocalHost), qPrintable(m_server->errorString()));
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, {QStringLiteral("2 %1 first 0").arg(First),
                                                              QStringLiteral("3 %1 второй 0").arg(Second)}));
}

void tst_MultiBotOnline::cleanup()
{
    // The server is as strict about frame numbers as real ones: no test may break them.
    const int sequenceErrors = m_server ? m_server->sequenceErrors() : 0;
    m_multiBot.reset();
    m_window.reset();
    m_session.reset();
    m_server.reset();
    Clock::setInstance(nullptr);
    Sound::setInstance(nullptr);
    Dialogs::setInstance(nullptr);
    m_dir.reset();
    QCOMPARE(sequenceErrors, 0);
}

void tst_MultiBotOnline::startBot(const QStringList &extraSettings)
{
    QStringList settings = {QStringLiteral("Server=127.0.0.1"),
                            QStringLiteral("Port=%1").arg(m_server->loginPort()),
                            QStringLiteral("PlaySounds=0")};
    QVERIFY(TextFile::writeLines(GeneralSettings::FilePath, settings + extraSettings));

    m_session = std::make_unique<IcqSession>();
    m_window = std::make_unique<MDIForm1>();
    IcqSession *session = m_session.get();
    m_window->roster().addWindow(QStringLiteral("fMain"), QStringLiteral("Вход"),
                                 WindowRoster::Placement::Child,
                                 [session](QWidget *parent) { return new fMain(*session, parent); });
    m_multiBot = std::make_unique<MultiBot>(*m_session, *m_window);
    MessageHooks hooks;
    m_multiBot->addHooks(hooks);
    hooks.processMessage = [this](MessageState &state) {
        m_processed.append(state);
        return StageOutcome::Stop;
    };
    m_session->setMessageHooks(hooks);
    m_window->show();
}

bool tst_MultiBotOnline::logInAll()
{
    LoginForm form(*m_session);
    if (form.submit(Bot, BotPassword, false) != LoginForm::Outcome::Started)
        return false;
    return QTest::qWaitFor(
        [&] {
            return m_server->isOnline(Bot) && m_server->isOnline(First) && m_server->isOnline(Second) &&
                   m_window->timers().timer(QStringLiteral("perepodk"))->isEnabled();
        },
        Timeout);
}

int tst_MultiBotOnline::nonEmptyLines(const QString &path) const
{
    int count = 0;
    for (const QString &line : TextFile::readLines(path))
        count += line.isEmpty() ? 0 : 1;
    return count;
}

bool tst_MultiBotOnline::sentTo(const QString &from, const QString &to, const QString &text) const
{
    return textsSent(*m_server, from, to).contains(text);
}

bool tst_MultiBotOnline::showsDisconnected() const
{
    return m_window->statusText() == ConnectionCommands::DisconnectedText &&
           m_window->action(QStringLiteral("pod_m"))->isEnabled() &&
           !m_window->action(QStringLiteral("otkl_m"))->isEnabled();
}

bool tst_MultiBotOnline::showsOnline() const
{
    return m_window->statusText() == PostLoginActions::OnlineText &&
           !m_window->action(QStringLiteral("pod_m"))->isEnabled() &&
           m_window->action(QStringLiteral("otkl_m"))->isEnabled();
}

bool tst_MultiBotOnline::logged(const QString &event) const
{
    const QDateTime now = m_clock.now();
    return TextFile::readLines(ConnectionLog::filePath())
        .contains(DateTexts::dateText(now.date()) + QStringLiteral(" - ") + DateTexts::timeText(now.time()) +
                  QStringLiteral(" - ") + event);
}

void tst_MultiBotOnline::allBotsSignOnInTurn()
{
    // The login window offers the main bot's stored login whenever it becomes active;
    // the secondary bots log in with their own all the same.
    QVERIFY(
        TextFile::writeLines(StoredLogin::FilePath, {QStringLiteral("1"), scrambledNumber(Bot.toInt()),
                                                          scrambledPassword(BotPassword)}));
    startBot();
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);
    QVERIFY(logInAll());

    QCOMPARE(signedOn.size(), 3);
    QCOMPARE(signedOn.at(0).first().toInt(), 1);
    QCOMPARE(signedOn.at(1).first().toInt(), 2);
    QCOMPARE(signedOn.at(2).first().toInt(), 3);
    QCOMPARE(m_session->WorkSlotUin(3), Second);
    QCOMPARE(m_multiBot->secondaryLogin().SecondaryLoginCount(), 3);

    const QStringList log = TextFile::readLines(ConnectionLog::filePath());
    QCOMPARE(nonEmptyLines(ConnectionLog::filePath()), 3);
    QCOMPARE(log.first(), QStringLiteral("10.12.2026 - 12:00:00 - Вы подключились к серверу."));
    QCOMPARE(m_window->statusText(), QStringLiteral("Статус бота: онлайн"));
    QCOMPARE(m_sound.played, QStringList(3, ProgramFolder::path(GeneralSettings::Default::SoundStartup)));
    QVERIFY(!m_window->action(QStringLiteral("pod_m"))->isEnabled());
    QVERIFY(m_window->action(QStringLiteral("otkl_m"))->isEnabled());
    QVERIFY(m_window->timers().timer(QStringLiteral("timer_chat"))->isEnabled());
    QVERIFY(!m_window->timers().timer(QStringLiteral("rasperd"))->isEnabled());
    QVERIFY(!m_window->findWindow(QStringLiteral("fMain"))->isVisible());
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_MultiBotOnline::usersSpreadOverTheBots()
{
    startBot();
    QVERIFY(logInAll());

    // Ten users fill the first bot; the eleventh goes to the second.
    for (int n = 1; n <= 11; ++n) {
        const QString user = QString::number(5000 + n);
        QVERIFY(m_server->injectText(user, Bot, QStringLiteral("привет")));
        const QString bot = n <= 10 ? First : Second;
        QTRY_VERIFY_WITH_TIMEOUT(sentTo(bot, user, BotDistribution::AssignedText), Timeout);
    }
    const DistributionList list = DistributionList::load();
    QCOMPARE(list.entryForSlot(2)->count, 10);
    QCOMPARE(list.entryForSlot(3)->count, 1);
    QVERIFY(m_processed.isEmpty());

    // The main bot again: the user's own bot answers.
    QVERIFY(m_server->injectText(QStringLiteral("5011"), Bot, QStringLiteral("снова")));
    QTRY_VERIFY_WITH_TIMEOUT(sentTo(Second, QStringLiteral("5011"), BotDistribution::YourBotText), Timeout);

    // A bot that is not the user's refers him to the main bot.
    QVERIFY(m_server->injectText(QStringLiteral("5001"), Second, QStringLiteral("help")));
    QTRY_VERIFY_WITH_TIMEOUT(sentTo(Bot, QStringLiteral("5001"), BotDistribution::ReferralText), Timeout);

    // His own bot hands the message on.
    QVERIFY(m_server->injectText(QStringLiteral("5001"), First, QStringLiteral("help")));
    QTRY_COMPARE_WITH_TIMEOUT(m_processed.size(), 1, Timeout);
    QCOMPARE(m_processed.first().slot, 2);
    QCOMPARE(m_processed.first().SenderUin, QStringLiteral("5001"));
    QCOMPARE(m_processed.first().MessageText, QStringLiteral("help"));

    // 20 idle minutes later everyone is released; 5001 wrote two minutes after the rest.
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 2)));
    QVERIFY(m_server->injectText(QStringLiteral("5001"), First, QStringLiteral("help")));
    QTRY_COMPARE_WITH_TIMEOUT(m_processed.size(), 2, Timeout);
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 20)));
    m_window->timers().timer(QStringLiteral("timer_chat"))->tick();
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("5002")), 0);
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("5011")), 0);
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("5001")), 2);
    QCOMPARE(DistributionList::load().entryForSlot(2)->count, 1);
    QCOMPARE(DistributionList::load().entryForSlot(3)->count, 0);

    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 22)));
    m_window->timers().timer(QStringLiteral("timer_chat"))->tick();
    QVERIFY(!TextFile::exists(BotDistribution::AssignmentFile));
    QVERIFY(!TextFile::exists(BotDistribution::ActivityFile));
}

void tst_MultiBotOnline::lostMainSessionLogsInAgain()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=2"),
              QStringLiteral("AutoEnter=1"), QStringLiteral("AutoICQNumber=") + scrambledNumber(Bot.toInt()),
              QStringLiteral("AutoPassword=") + scrambledPassword(BotPassword)});
    ReconnectWatchdog &watchdog = m_multiBot->watchdog();
    QCOMPARE(watchdog.ReconnectInterval(), 2);
    QVERIFY(logInAll());
    NamedTimer *perepodk = m_window->timers().timer(QStringLiteral("perepodk"));
    NamedTimer *perepodk1 = m_window->timers().timer(QStringLiteral("perepodk1"));

    // A healthy session: the probe comes back, nothing else happens.
    perepodk->tick();
    QVERIFY(!perepodk1->isEnabled());
    perepodk->tick();
    QVERIFY(perepodk1->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(m_session->ProbeReturned(), Timeout);
    QVERIFY(sentTo(Bot, Bot, IncomingReader::ProbeText));
    perepodk1->tick();
    QVERIFY(!perepodk1->isEnabled());
    QCOMPARE(m_server->loginAttempts(Bot), 1);

    // The server drops the main bot without a word: the probe is lost.
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->isOnline(Bot), Timeout);
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);
    perepodk->tick();
    perepodk->tick();
    perepodk1->tick();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 1, Timeout);
    QCOMPARE(signedOn.first().first().toInt(), 1);
    QCOMPARE(m_session->WorkSlotUin(1), Bot);
    QCOMPARE(m_server->loginAttempts(Bot), 2);
    // The secondary bots never left.
    QVERIFY(m_server->isOnline(First));
    QVERIFY(m_server->isOnline(Second));
    QCOMPARE(m_server->loginAttempts(First), 1);
    QCOMPARE(m_server->loginAttempts(Second), 1);
    QTRY_VERIFY_WITH_TIMEOUT(perepodk->isEnabled() && !m_window->timers().timer("rasperd")->isEnabled(),
                             Timeout);
    QCOMPARE(m_server->loginAttempts(First), 1);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_MultiBotOnline::freshMainSignOnBringsBackSecondaryBots()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=1"),
              QStringLiteral("AutoEnter=1"), QStringLiteral("AutoICQNumber=") + scrambledNumber(Bot.toInt()),
              QStringLiteral("AutoPassword=") + scrambledPassword(BotPassword)});
    QVERIFY(logInAll());

    // Minutes after the sign-on: ordinary drops, with no wait after them.
    m_clock.advanceSecs(300);
    QVERIFY(m_server->closeSessionSilently(Second));
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->isOnline(Bot), Timeout);
    // The secondary bot may already be on its way back by itself; the main bot's new
    // sign-on must bring it back either way, and never log it in twice.
    m_window->timers().timer(QStringLiteral("perepodk"))->tick();
    m_window->timers().timer(QStringLiteral("perepodk1"))->tick();

    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot) && m_server->isOnline(Second) &&
                                 m_multiBot->presence().isSignedOn(1) && m_multiBot->presence().isSignedOn(3),
                             Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->timers().timer(QStringLiteral("rasperd"))->isEnabled(), Timeout);
    QCOMPARE(m_session->WorkSlotUin(3), Second);
    QCOMPARE(m_server->loginAttempts(Second), 2);
    QCOMPARE(m_server->loginAttempts(First), 1);
}

void tst_MultiBotOnline::statusItemsReachEveryBot_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("occupied") << "zanjat_m_st" << Occupied << "Статус бота: занят";
    QTest::newRow("invisible") << "nevid_m_st" << Invisible << "Статус бота: не видимый";
}

void tst_MultiBotOnline::statusItemsReachEveryBot()
{
    QFETCH(QString, item);
    QFETCH(quint32, status);
    QFETCH(QString, text);
    startBot();
    QVERIFY(logInAll());

    m_window->action(item)->trigger();
    for (const QString &uin : {Bot, First, Second})
        QTRY_COMPARE_WITH_TIMEOUT(m_server->statusOf(uin), std::optional<quint32>(status), Timeout);
    QCOMPARE(m_session->CurrentStatus(), item == QLatin1String("zanjat_m_st") ? 2 : 3);
    QCOMPARE(m_window->statusText(), text);
    for (const char *name : {"online_m_st", "zanjat_m_st", "nevid_m_st"})
        QCOMPARE(m_window->action(QLatin1String(name))->isChecked(), item == QLatin1String(name));
}

void tst_MultiBotOnline::modeItemsWriteTheirFiles()
{
    startBot();
    QSignalSpy modes(&m_multiBot->statusCommands(), &StatusCommands::botModeChanged);
    const auto checked = [this] {
        QStringList names;
        for (const char *name : {"rej_kom_m", "rej_auto_m", "rej_zerk_m"}) {
            if (m_window->action(QLatin1String(name))->isChecked())
                names.append(QLatin1String(name));
        }
        return names;
    };

    m_window->action(QStringLiteral("rej_zerk_m"))->trigger();
    QCOMPARE(TextFile::readAll(StatusCommands::ModeFile), QStringLiteral("3\r\n"));
    QCOMPARE(m_multiBot->statusCommands().BotMode(), QStringLiteral("3"));
    QCOMPARE(checked(), QStringList{"rej_zerk_m"});

    m_dialogs.queueText(QStringLiteral("Я отошёл, напишите позже"));
    m_window->action(QStringLiteral("rej_auto_m"))->trigger();
    QCOMPARE(m_dialogs.shown.last().title, StatusCommands::AutoResponderTitle);
    QCOMPARE(m_dialogs.shown.last().text, StatusCommands::AutoResponderPrompt);
    QCOMPARE(TextFile::readAll(StatusCommands::AutoResponderFile),
             QStringLiteral("2\r\nЯ отошёл, напишите позже\r\n"));
    QCOMPARE(checked(), QStringList{"rej_auto_m"});

    m_window->action(QStringLiteral("rej_kom_m"))->trigger();
    QCOMPARE(TextFile::readAll(StatusCommands::ModeFile), QStringLiteral("1\r\n"));
    QCOMPARE(TextFile::readLines(StatusCommands::AutoResponderFile).last(), "Я отошёл, напишите позже");

    // Cancel changes nothing.
    m_window->action(QStringLiteral("rej_zerk_m"))->trigger();
    m_window->action(QStringLiteral("rej_auto_m"))->trigger();
    QCOMPARE(m_multiBot->statusCommands().BotMode(), QStringLiteral("3"));
    QCOMPARE(checked(), QStringList{"rej_zerk_m"});
    QCOMPARE(TextFile::readLines(StatusCommands::AutoResponderFile).last(), "Я отошёл, напишите позже");
    QCOMPARE(modes.size(), 4);
}

void tst_MultiBotOnline::disconnectClosesEverythingAndConnectReopensTheBoxes()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=1"),
              QStringLiteral("AutoEnter=1"), QStringLiteral("AutoICQNumber=") + scrambledNumber(Bot.toInt()),
              QStringLiteral("AutoPassword=") + scrambledPassword(BotPassword)});
    QVERIFY(logInAll());
    QVERIFY(TextFile::writeLines(ConnectionCommands::ChatMemberList, {"5001"}));
    m_window->timers().timer(QStringLiteral("Timer10"))->setEnabled(true);
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(13, 5, 9)));

    m_window->action(QStringLiteral("otkl_m"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->onlineAccounts().isEmpty(), Timeout);
    QVERIFY(m_window->action(QStringLiteral("pod_m"))->isEnabled());
    QVERIFY(!m_window->action(QStringLiteral("otkl_m"))->isEnabled());
    QCOMPARE(m_window->statusText(), QStringLiteral("Статус бота: отсутствует подключение"));
    QVERIFY(!m_window->timers().timer(QStringLiteral("Timer10"))->isEnabled());
    QVERIFY(!TextFile::exists(ConnectionCommands::ChatMemberList));
    QCOMPARE(TextFile::readLines(ConnectionLog::filePath()).first(),
             QStringLiteral("10.12.2026 - 13:05:09 - Вы отключились от сервера."));
    QCOMPARE(nonEmptyLines(ConnectionLog::filePath()), 4);

    // The watchdog stands down until the operator logs in again.
    m_window->timers().timer(QStringLiteral("perepodk"))->tick();
    m_window->timers().timer(QStringLiteral("perepodk1"))->tick();
    QCoreApplication::processEvents(); // any log-in the ticks queued would start now
    QCOMPARE(m_server->loginAttempts(Bot), 1);

    // "Подключиться": empty, usable boxes, even with a remembered login.
    QVERIFY(TextFile::writeLines(RememberedLogin::FilePath, {Bot, BotPassword}));
    m_window->action(QStringLiteral("pod_m"))->trigger();
    QWidget *login = m_window->findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QTRY_VERIFY_WITH_TIMEOUT(login->isVisible(), Timeout);
    auto *number = login->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *password = login->findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *button = login->findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(number->text(), QString());
    QCOMPARE(password->text(), QString());
    QVERIFY(number->isEnabled() && password->isEnabled() && button->isEnabled());

    // A log-in from there brings every bot back.
    QTest::keyClicks(number, Bot);
    QTest::keyClicks(password, BotPassword);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_server->isOnline(Bot) && m_server->isOnline(First) && m_server->isOnline(Second), Timeout);
}

void tst_MultiBotOnline::savedStatusRestoredAfterLogin()
{
    startBot({QStringLiteral("SaveStatus=1"), QStringLiteral("SaveStatusMade=2")});
    QVERIFY(logInAll());
    for (const QString &uin : {Bot, First, Second})
        QTRY_COMPARE_WITH_TIMEOUT(m_server->statusOf(uin), std::optional<quint32>(Occupied), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->timers().timer(QStringLiteral("Timer9"))->isEnabled(), Timeout);
    QVERIFY(m_window->action(QStringLiteral("zanjat_m_st"))->isChecked());
    QVERIFY(!m_window->action(QStringLiteral("online_m_st"))->isChecked());
    QCOMPARE(m_window->statusText(), QStringLiteral("Статус бота: занят"));
}

void tst_MultiBotOnline::rememberStatusItemWritesSetting()
{
    startBot();
    QAction *item = m_window->action(QStringLiteral("zap_st_m"));
    QVERIFY(item->isChecked());
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(GeneralSettings::LookupByLine(GeneralSettings::Key::SaveStatus), std::optional<QString>("0"));
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(GeneralSettings::LookupByLine(GeneralSettings::Key::SaveStatus), std::optional<QString>("1"));
    QCOMPARE(TextFile::readLines(GeneralSettings::FilePath).last(), QStringLiteral("SaveStatus=1"));
}

void tst_MultiBotOnline::programWiresTheBots()
{
    QVERIFY(TextFile::writeLines(
        GeneralSettings::FilePath,
        {QStringLiteral("Server=127.0.0.1"), QStringLiteral("Port=%1").arg(m_server->loginPort())}));
    BotApplication bot;
    bot.start();
    QWidget *login = bot.mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text2")), BotPassword);
    QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_server->isOnline(Bot) && m_server->isOnline(First) && m_server->isOnline(Second), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(bot.mainWindow().statusText(), QStringLiteral("Статус бота: онлайн"), Timeout);

    QVERIFY(m_server->injectText(QStringLiteral("5001"), Bot, QStringLiteral("привет")));
    QTRY_VERIFY_WITH_TIMEOUT(sentTo(First, QStringLiteral("5001"), BotDistribution::AssignedText), Timeout);

    bot.mainWindow().action(QStringLiteral("otkl_m"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->onlineAccounts().isEmpty(), Timeout);
}

void tst_MultiBotOnline::droppedMainBotShownOfflineAndBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<QString>("event");
    QTest::newRow("connection closed") << "close" << true << "Сервер разорвал соединение номера 111111.";
    QTest::newRow("signed off") << "sign off" << true << "Сервер отключил номер 111111.";
    // Not at once: the two clients would push each other out in turn.
    QTest::newRow("another client") << "another client" << false
                                    << "Сервер отключил номер 111111: с этим номером вошёл другой клиент.";
    QTest::newRow("server gone") << "server gone" << true << "Сервер разорвал соединение номера 111111.";
}

void tst_MultiBotOnline::droppedMainBotShownOfflineAndBack()
{
    QFETCH(QString, how);
    QFETCH(bool, atOnce);
    QFETCH(QString, event);
    // Probes far apart: what follows is the loss noticed, not a lost probe.
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=30")});
    QVERIFY(logInAll());
    QVERIFY(showsOnline());
    // The sessions have held for minutes: a drop is no quick one.
    m_clock.advanceSecs(300);
    // A new log-in stalls until the test lets it through.
    if (atOnce)
        m_server->setFault(OscarServer::Fault::NoLoginReply, Bot);
    QSignalSpy failed(m_session.get(), &IcqSession::loginFailed);
    const quint16 loginPort = m_server->loginPort();
    const quint16 sessionPort = m_server->sessionPort();

    OscarPeer other;
    if (how == QLatin1String("close")) {
        QVERIFY(m_server->closeSessionSilently(Bot));
    } else if (how == QLatin1String("sign off")) {
        QVERIFY(m_server->signOff(Bot));
    } else if (how == QLatin1String("server gone")) {
        m_server->close();
    } else {
        other.logIn(QStringLiteral("127.0.0.1"), loginPort, Bot, BotPassword.toLatin1());
        QTRY_VERIFY_WITH_TIMEOUT(other.isOnline(), Timeout);
    }

    QTRY_VERIFY_WITH_TIMEOUT(showsDisconnected(), Timeout);
    QVERIFY(logged(event));
    QCoreApplication::processEvents(); // an at-once retry starts now
    QCOMPARE(m_session->loginInProgress(1), atOnce);
    QVERIFY(m_window->timers().timer(QStringLiteral("perepodk"))->isEnabled());
    if (atOnce) {
        // That retry finds no server, or stalls at the login server and runs out of
        // time; the watchdog waits for its next tick.
        if (how != QLatin1String("server gone")) {
            QTRY_COMPARE_WITH_TIMEOUT(m_server->loginAttempts(Bot), 2, Timeout);
            QVERIFY(m_session->loginDeadlinePending(1));
            m_session->loginDeadlinePassed(1);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), Timeout);
        QCOMPARE(failed.first().first().toInt(), 1);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_multiBot->watchdog().slotsDown().value(0), 1, Timeout);
    QVERIFY(showsDisconnected());
    // A status chosen meanwhile moves its check mark but claims no connection.
    m_window->action(QStringLiteral("zanjat_m_st"))->trigger();
    QVERIFY(m_window->action(QStringLiteral("zanjat_m_st"))->isChecked());
    QVERIFY(showsDisconnected());

    m_server->clearFaults();
    if (how == QLatin1String("server gone"))
        QVERIFY2(m_server->listen(QHostAddress::LocalHost, loginPort, sessionPort),
                 qPrintable(m_server->errorString()));
    m_window->timers().timer(QStringLiteral("perepodk"))->tick();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot) && m_multiBot->presence().isSignedOn(1), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(showsOnline(), Timeout);
    QCOMPARE(m_session->WorkSlotUin(1), Bot);
    if (!atOnce)
        QTRY_VERIFY_WITH_TIMEOUT(!other.isOnline(), Timeout); // the bot took its number back
    if (how == QLatin1String("server gone")) {
        // Every bot was lost with the server, and every bot comes back.
        QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(First) && m_server->isOnline(Second), Timeout);
    } else {
        QVERIFY(m_server->isOnline(First) && m_server->isOnline(Second));
        QCOMPARE(m_server->loginAttempts(First), 1);
    }
}

void tst_MultiBotOnline::droppedSecondaryBotBroughtBack()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=30")});
    QVERIFY(logInAll());
    m_clock.advanceSecs(300);
    QVERIFY(m_server->closeSessionSilently(First));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(First) == 2 && m_server->isOnline(First) &&
                                 m_multiBot->presence().isSignedOn(2),
                             Timeout);
    QVERIFY(logged(QStringLiteral("Сервер разорвал соединение номера 222222.")));
    // The main bot stayed up all along, and the window says so.
    QVERIFY(m_server->isOnline(Bot));
    QCOMPARE(m_server->loginAttempts(Bot), 1);
    QVERIFY(showsOnline());
    QCOMPARE(m_session->WorkSlotUin(2), First);
    QVERIFY(m_multiBot->watchdog().slotsDown().isEmpty());
}

void tst_MultiBotOnline::stalledLoginTriedAgain_data()
{
    QTest::addColumn<OscarServer::Fault>("fault");
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QString>("event");
    QTest::newRow("main: no login reply") << OscarServer::Fault::NoLoginReply << Bot
                                          << "Вход номера 111111 прерван: сервер не ответил вовремя.";
    QTest::newRow("main: silent session port") << OscarServer::Fault::SilentSession << Bot
                                               << "Вход номера 111111 прерван: сервер не ответил вовремя.";
    QTest::newRow("main: session closed after the cookie")
        << OscarServer::Fault::CloseAfterCookie << Bot << "Вход номера 111111 прерван: сервер закрыл соединение.";
    QTest::newRow("secondary: no login reply") << OscarServer::Fault::NoLoginReply << First
                                               << "Вход номера 222222 прерван: сервер не ответил вовремя.";
    QTest::newRow("secondary: session closed after the cookie")
        << OscarServer::Fault::CloseAfterCookie << First << "Вход номера 222222 прерван: сервер закрыл соединение.";
}

void tst_MultiBotOnline::stalledLoginTriedAgain()
{
    QFETCH(OscarServer::Fault, fault);
    QFETCH(QString, uin);
    QFETCH(QString, event);
    const int slot = uin == Bot ? 1 : 2;
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=30")});
    m_server->setFault(fault, uin);
    QSignalSpy failed(m_session.get(), &IcqSession::loginFailed);
    LoginForm form(*m_session);
    QCOMPARE(form.submit(Bot, BotPassword, false), LoginForm::Outcome::Started);

    // A stall runs out of time once the log-in has got as far as it can.
    if (fault == OscarServer::Fault::NoLoginReply) {
        QTRY_COMPARE_WITH_TIMEOUT(m_server->loginAttempts(uin), 1, Timeout);
        QVERIFY(m_session->loginDeadlinePending(slot));
        m_session->loginDeadlinePassed(slot);
    } else if (fault == OscarServer::Fault::SilentSession) {
        QTRY_COMPARE_WITH_TIMEOUT(m_session->loginPhase(slot), IcqSession::LoginPhase::SigningOn, Timeout);
        QVERIFY(m_session->loginDeadlinePending(slot));
        m_session->loginDeadlinePassed(slot);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), Timeout);
    QCOMPARE(failed.first().first().toInt(), slot);
    QVERIFY(logged(event));
    NamedTimer *perepodk = m_window->timers().timer(QStringLiteral("perepodk"));
    QTRY_VERIFY_WITH_TIMEOUT(perepodk->isEnabled(), Timeout);
    QCOMPARE(m_multiBot->watchdog().slotsDown(), QList<int>{slot});
    if (slot == 1) {
        QVERIFY(showsDisconnected());
    } else {
        // The chain goes on with the next line; the main bot is up and shown so.
        QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Second), Timeout);
        QVERIFY(showsOnline());
        QVERIFY(!m_server->isOnline(First));
    }

    m_server->clearFaults();
    perepodk->tick();
    QTRY_VERIFY_WITH_TIMEOUT(
        m_server->isOnline(Bot) && m_server->isOnline(First) && m_server->isOnline(Second), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(showsOnline(), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_multiBot->watchdog().slotsDown().isEmpty(), Timeout);
    QCOMPARE(m_server->loginAttempts(uin), 2);
    QCOMPARE(m_session->WorkSlotUin(slot), uin);
    // One login connection per attempt, the failed one and its retry included.
    QCOMPARE(m_server->loginConnectionsAccepted(), m_server->loginAttempts());
}

void tst_MultiBotOnline::reloginUsesLastSuccessfulLogin()
{
    // The stored login still has the old password; the operator logs in by hand with the new one.
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=1"),
              QStringLiteral("AutoEnter=1"), QStringLiteral("AutoICQNumber=") + scrambledNumber(Bot.toInt()),
              QStringLiteral("AutoPassword=") + scrambledPassword(QStringLiteral("oldpass"))});
    QSignalSpy refused(m_server.get(), &OscarServer::loginRefused);
    QVERIFY(logInAll());
    m_clock.advanceSecs(300);

    // The server drops the main bot: it comes back with the password that worked.
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(Bot) == 2 && m_server->isOnline(Bot) &&
                                 m_multiBot->presence().isSignedOn(1),
                             Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(showsOnline(), Timeout);

    // A probe that does not come back in time: the same.
    m_window->timers().timer(QStringLiteral("perepodk"))->tick();
    m_window->timers().timer(QStringLiteral("perepodk1"))->tick();
    QVERIFY(logged(QStringLiteral("Пробное сообщение номера 111111 не вернулось: соединение считается потерянным.")));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(Bot) == 3 && m_server->isOnline(Bot) &&
                                 m_multiBot->presence().isSignedOn(1),
                             Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(showsOnline(), Timeout);
    QCOMPARE(refused.size(), 0);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_MultiBotOnline::everyBotDroppedComesBackAtOnce()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=30")});
    QVERIFY(logInAll());
    // Every wait here is the clock's and the retry hook's: the minute tick must not come
    // by itself on a machine slow enough to spend a real minute in this test.
    m_window->timers().timer(QStringLiteral("perepodk"))->setInterval(24 * 60 * 60 * 1000);
    const QStringList bots = {Bot, First, Second};
    ReconnectWatchdog &watchdog = m_multiBot->watchdog();
    const auto allBack = [&](int attempts) {
        for (int slot = 1; slot <= 3; ++slot) {
            if (!m_server->isOnline(bots[slot - 1]) || m_server->loginAttempts(bots[slot - 1]) != attempts ||
                !m_multiBot->presence().isSignedOn(slot))
                return false;
        }
        return true;
    };

    // Earlier single drops, each bot back at once.
    for (const QString &uin : bots) {
        m_clock.advanceSecs(300);
        QVERIFY(m_server->closeSessionSilently(uin));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(uin) == 2 && m_server->isOnline(uin), Timeout);
    }
    QTRY_VERIFY_WITH_TIMEOUT(allBack(2), Timeout);

    // Then the server drops every bot at once: all back at once, no minute tick needed.
    m_clock.advanceSecs(300);
    for (const QString &uin : bots)
        QVERIFY(m_server->closeSessionSilently(uin));
    QTRY_VERIFY_WITH_TIMEOUT(allBack(3), Timeout);
    QVERIFY(watchdog.slotsDown().isEmpty());

    // A bot dropped right after its sign-on waits its 10 s before it logs in again.
    QVERIFY(m_server->closeSessionSilently(First));
    QTRY_COMPARE_WITH_TIMEOUT(watchdog.slotsDown(), QList<int>{2}, Timeout);
    QCOMPARE(watchdog.retryAt(2), m_clock.now().addSecs(10));
    QVERIFY(!m_session->loginInProgress(2));
    m_clock.advanceSecs(10);
    watchdog.retryWaiting();
    QVERIFY(m_session->loginInProgress(2));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(First) && m_multiBot->presence().isSignedOn(2), Timeout);
    QCOMPARE(m_server->loginAttempts(First), 4);
    QCOMPARE(m_server->loginConnectionsAccepted(), m_server->loginAttempts());
}

void tst_MultiBotOnline::quickDropWaitsThroughMainSignOn()
{
    startBot({QStringLiteral("ReConnect=1"), QStringLiteral("IntervalConnect=30")});
    QVERIFY(logInAll());
    m_window->timers().timer(QStringLiteral("perepodk"))->setInterval(24 * 60 * 60 * 1000);
    ReconnectWatchdog &watchdog = m_multiBot->watchdog();
    NamedTimer *rasperd = m_window->timers().timer(QStringLiteral("rasperd"));

    // The first bot held for minutes, came back at once and was dropped again at once:
    // it waits its 10 s.
    m_clock.advanceSecs(300);
    QVERIFY(m_server->closeSessionSilently(First));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(First) == 2 && m_multiBot->presence().isSignedOn(2), Timeout);
    QVERIFY(m_server->closeSessionSilently(First));
    QTRY_COMPARE_WITH_TIMEOUT(watchdog.slotsDown(), QList<int>{2}, Timeout);
    QCOMPARE(watchdog.retryAt(2), m_clock.now().addSecs(10));

    // Meanwhile the main bot is dropped after minutes online and signs on again at once;
    // the secondary bots' chain that follows leaves the waiting bot to its wait.
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(Bot) == 2 && m_multiBot->presence().isSignedOn(1), Timeout);
    rasperd->tick();
    QTRY_VERIFY_WITH_TIMEOUT(!rasperd->isEnabled(), Timeout);
    QVERIFY(!m_session->loginInProgress(2));
    QVERIFY(!m_multiBot->presence().isSignedOn(2));
    QCOMPARE(m_server->loginAttempts(First), 2);
    QCOMPARE(watchdog.slotsDown(), QList<int>{2});

    // Its wait over, it logs in once.
    m_clock.advanceSecs(10);
    watchdog.retryWaiting();
    QVERIFY(m_session->loginInProgress(2));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(First) && m_multiBot->presence().isSignedOn(2), Timeout);
    QCOMPARE(m_server->loginAttempts(First), 3);
    QVERIFY(m_server->isOnline(Second));
}

QTEST_MAIN(tst_MultiBotOnline)
#include "tst_multibotonline.moc"
