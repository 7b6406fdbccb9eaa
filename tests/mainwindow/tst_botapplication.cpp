// The program as the operator meets it: the main window hosts the login window, and a
// log-in typed there brings the bot online on the local OSCAR server.
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "session/icqsession.h"
#include "tools/server/oscarserver.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int Timeout = 10000;
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

private:
    void typeLogin(MDIForm1 &window);

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingDialogs m_dialogs;
    std::unique_ptr<OscarServer> m_server;
};

void tst_BotApplication::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    ProgramFolder::setHome(m_dir->path());
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

    // Closing the login window keeps the bot online.
    bot.mainWindow().findWindow(QStringLiteral("fMain"))->close();
    QTRY_VERIFY(!bot.mainWindow().findWindow(QStringLiteral("fMain")));
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

QTEST_MAIN(tst_BotApplication)
#include "tst_botapplication.moc"
