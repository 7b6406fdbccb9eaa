#pragma once

// The whole program with the chat on, over the local OSCAR server: the main bot and two
// secondary bots, users who meet the main bot and are handed to a secondary one, the bot
// logged in by the operator through the login window. Boxes and sounds are recorded and
// the clock stands at 11.12.2026 12:00. Header only: a test that includes it links
// Korvane::MainWindowUi and Korvane::OscarServer.

#include "chat/chatfiles.h"
#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingsound.h"
#include "session/distribution.h"
#include "session/icqsession.h"
#include "support/onlinebot.h"
#include "support/programhome.h"
#include "tools/server/oscarserver.h"

#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class ChatProgram
{
public:
    static constexpr int Timeout = 20000;
    static inline const QString Bot = QStringLiteral("111111");
    static inline const QString BotPassword = QStringLiteral("botpass");
    static inline const QString First = QStringLiteral("222222");
    static inline const QString Second = QStringLiteral("333333");
    static inline const QStringList Secondaries = {First, Second};

    // A fresh program folder and the server with the three bots' accounts: the first
    // secondary bot takes one more user, the second the rest. The chat is on, delivered
    // every second, with the nick prefix, join and leave notices and the member list.
    // The caller checks QTest::currentTestFailed().
    void setUp()
    {
        m_dir = std::make_unique<ProgramHome>();
        QVERIFY(m_dir->isValid());
        m_dialogs.shown.clear();
        Dialogs::setInstance(&m_dialogs);
        Sound::setInstance(&m_sound);
        m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(12, 0)));
        Clock::setInstance(&m_clock);

        m_server = std::make_unique<OscarServer>();
        m_server->addAccount(Bot, BotPassword.toLatin1());
        m_server->addAccount(First, "first");
        m_server->addAccount(Second, "second");
        QVERIFY2(m_server->listen(QHostAddress::LocalHost), qPrintable(m_server->errorString()));
        QVERIFY(
            TextFile::writeLines(DistributionList::FilePath, {QStringLiteral("2 %1 first 9").arg(First),
                                                              QStringLiteral("3 %1 second 0").arg(Second)}));
        QVERIFY(TextFile::writeLines(GeneralSettings::FilePath,
                                     {QStringLiteral("Server=127.0.0.1"),
                                      QStringLiteral("Port=%1").arg(m_server->loginPort()),
                                      QStringLiteral("PlaySounds=0")}));
        QVERIFY(ChatSwitch::write(true, QStringLiteral("1")));
        QVERIFY(ChatOptions::write({false, false, false, true, true, true, false, true, false, false, true}));
    }

    // The program starts and the operator logs the main bot in; the secondary bots follow.
    void start()
    {
        m_bot = std::make_unique<BotApplication>();
        m_bot->start();
        QWidget *login = m_bot->mainWindow().findWindow(QStringLiteral("fMain"));
        QVERIFY(login);
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("Text2")), BotPassword);
        QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_server->isOnline(Bot) && m_server->isOnline(First) && m_server->isOnline(Second), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_bot->session().isSignedOn(3), Timeout);
    }

    // The user writes to the main bot, which hands him over to a secondary bot
    // (botOf() then names it).
    void meetBot(const QString &uin)
    {
        auto assignedBy = [this, &uin](const QString &bot) {
            return textsSent(*m_server, bot, uin).contains(BotDistribution::AssignedText);
        };
        QVERIFY(m_server->injectText(uin, Bot, QStringLiteral("привет")));
        QTRY_VERIFY_WITH_TIMEOUT(assignedBy(First) || assignedBy(Second), Timeout);
        m_botOf.insert(uin, assignedBy(First) ? First : Second);
    }
    QString botOf(const QString &uin) const { return m_botOf.value(uin); }

    // The program goes first, then the server, the fakes and the folder.
    void tearDown()
    {
        m_bot.reset();
        m_server.reset();
        Clock::setInstance(nullptr);
        Sound::setInstance(nullptr);
        Dialogs::setInstance(nullptr);
        m_dir.reset();
        m_botOf.clear();
    }

    ProgramHome &home() { return *m_dir; }
    OscarServer &server() { return *m_server; }
    const OscarServer &server() const { return *m_server; }
    BotApplication &bot() { return *m_bot; }
    FixedClock &clock() { return m_clock; }
    NamedTimer *timer(const char *name) const
    {
        return m_bot->mainWindow().timers().timer(QString::fromLatin1(name));
    }

private:
    std::unique_ptr<ProgramHome> m_dir;
    RecordingDialogs m_dialogs;
    RecordingSound m_sound;
    FixedClock m_clock;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<BotApplication> m_bot;
    QHash<QString, QString> m_botOf;
};
