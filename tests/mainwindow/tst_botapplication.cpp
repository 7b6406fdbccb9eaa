// The program as the operator meets it: the main window hosts the login window, and a
// log-in typed there brings the bot online on the local OSCAR server.
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "session/icqsession.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"
#include "support/programhome.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int Timeout = 30000;
const QString Bot = QStringLiteral("111111");
const QByteArray BotPassword = "botpass";
} // namespace

class tst_BotApplication : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loginWindowLogsTheBotIn();
    void emptyDistributionListOpensSettings();
    void userIsAnsweredFromTheCommandBase();
    void toTrayItemTakesTheWindowAway();

private:
    void typeLogin(MDIForm1 &window);

    std::unique_ptr<ProgramHome> m_dir;
    RecordingDialogs m_dialogs;
    std::unique_ptr<OscarServer> m_server;
};

void tst_BotApplication::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs.shown.clear();
    Dialogs::setInstance(&m_dialogs);
    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Bot, BotPassword);
    QVERIFY(m_server->listen(QHostAddress::LocalHost));
    QVERIFY(TextFile::writeLines(
        GeneralSettings::FilePath,
        {QStringLiteral("Server=127.0.0.1"), QStringLiteral("Port=%1").arg(m_server->loginPort())}));
}

void tst_BotApplication::cleanup()
{
    m_server.reset();
    Dialogs::setInstance(nullptr);
    m_dir.reset();
}

void tst_BotApplication::typeLogin(MDIForm1 &window)
{
    auto *login = window.findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QVERIFY(qobject_cast<QMdiSubWindow *>(login->parentWidget()));
    QCOMPARE(login->windowTitle(), QStringLiteral("Вход"));
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
    QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text2")),
                     QString::fromLatin1(BotPassword));
    QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
}

void tst_BotApplication::loginWindowLogsTheBotIn()
{
    QVERIFY(TextFile::writeLines(QStringLiteral("\\Настройки\\Распределение.txt"),
                                 {QStringLiteral("2 222222 secret 0")}));
    BotApplication bot;
    QSignalSpy signedOn(&bot.session(), &IcqSession::signedOn);
    bot.start();
    typeLogin(bot.mainWindow());

    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 1, Timeout);
    QCOMPARE(signedOn.first().first().toInt(), 1);

    // The secondary bot's log-in shows the login window again; let it end first.
    QTRY_VERIFY_WITH_TIMEOUT(m_server->loginAttempts(QStringLiteral("222222")) >= 1 && !bot.session().loginInProgress(2),
                             Timeout);
    // Closing the login window keeps the bot online.
    bot.mainWindow().findWindow(QStringLiteral("fMain"))->close();
    QTRY_VERIFY_WITH_TIMEOUT(!bot.mainWindow().findWindow(QStringLiteral("fMain")), Timeout);
    QVERIFY(m_server->injectText(QStringLiteral("424242"), Bot, QStringLiteral("!версия")));
    QVERIFY(m_server->isOnline(Bot));
}

void tst_BotApplication::emptyDistributionListOpensSettings()
{
    BotApplication bot;
    bot.start();
    typeLogin(bot.mainWindow());
    QTRY_VERIFY_WITH_TIMEOUT(bot.mainWindow().findWindow(QStringLiteral("Form1")), Timeout);
    QCOMPARE(m_server->loginAttempts(), 0);
}

void tst_BotApplication::userIsAnsweredFromTheCommandBase()
{
    const QString secondary = QStringLiteral("222222");
    const QString user = QStringLiteral("424242");
    m_server->addAccount(secondary, "secret");
    m_server->addAccount(user, "userpw");
    QVERIFY(TextFile::writeLines(QStringLiteral("\\Настройки\\Распределение.txt"),
                                 {QStringLiteral("2 %1 secret 0").arg(secondary)}));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"),
                               QStringLiteral("Команда: привет\r\nДействие: Здравствуй!\r\n====\r\n")));

    BotApplication bot;
    bot.mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
    bot.start();
    typeLogin(bot.mainWindow());
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(secondary), Timeout);

    OscarPeer peer;
    QSignalSpy received(&peer, &OscarPeer::messageReceived);
    peer.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), user, "userpw");
    QTRY_VERIFY_WITH_TIMEOUT(peer.isOnline(), Timeout);

    // The main bot hands the new user over to the secondary bot, which answers him.
    peer.sendText(Bot, QStringLiteral("привет"));
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
    QCOMPARE(received.first().at(0).toString(), secondary);
    received.clear();
    peer.sendText(secondary, QStringLiteral("привет"));
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
    QCOMPARE(received.first().at(0).toString(), secondary);
    QCOMPARE(received.first().at(1).toString(), QStringLiteral("Здравствуй!"));
}

void tst_BotApplication::toTrayItemTakesTheWindowAway()
{
    BotApplication bot;
    bot.start();
    QVERIFY(bot.mainWindow().isVisible());
    bot.mainWindow().action(QStringLiteral("v_trey"))->trigger();
    // Without a tray the window is minimised instead of hidden.
    QTRY_VERIFY_WITH_TIMEOUT(!bot.mainWindow().isVisible() || bot.mainWindow().isMinimized(), Timeout);
}

QTEST_MAIN(tst_BotApplication)
#include "tst_botapplication.moc"
