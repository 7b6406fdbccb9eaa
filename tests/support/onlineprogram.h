#pragma once

// The whole program on the local OSCAR server: the bot, its secondary bot and one user,
// the bot logged in by the operator through the login window. Header only: a test that
// includes it links Korvane::MainWindowUi, Korvane::OscarServer and Korvane::OscarPeer.

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "support/typing.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace OnlineProgram {

constexpr int Timeout = 30000;
inline const QString Bot = QStringLiteral("111111");
inline const QString Secondary = QStringLiteral("222222");
inline const QString User = QStringLiteral("424242");

// The bot, its secondary bot and the user on the local server; the program folder
// points the bot at it.
inline bool serveBotAndUser(OscarServer &server)
{
    server.addAccount(Bot, "botpass");
    server.addAccount(Secondary, "secret");
    server.addAccount(User, "userpw");
    return server.listen(QHostAddress::LocalHost) &&
           TextFile::writeLines(GeneralSettings::FilePath, {QStringLiteral("Server=127.0.0.1"),
                                                            QStringLiteral("Port=%1").arg(server.loginPort())}) &&
           TextFile::writeLines(DistributionList::FilePath, {QStringLiteral("2 %1 secret 0").arg(Secondary)});
}

// The operator logs the bot in through the login window; the secondary bot follows.
inline void logIn(BotApplication &bot, const OscarServer &server)
{
    bot.mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
    bot.start();
    QWidget *login = bot.mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
    typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("botpass"));
    QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(Bot), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(Secondary), Timeout);
}

// The user logs in and writes to the main bot, which hands him over to the secondary bot.
inline void handOverUser(OscarPeer &peer, QSignalSpy &received, const OscarServer &server)
{
    peer.logIn(QStringLiteral("127.0.0.1"), server.loginPort(), User, "userpw");
    QTRY_VERIFY_WITH_TIMEOUT(peer.isOnline(), Timeout);
    peer.sendText(Bot, QStringLiteral("погодка"));
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
    received.clear();
}

// The user writes to a bot and waits for its next message; "<no answer>" when none comes
// in time.
inline QString ask(OscarPeer &peer, QSignalSpy &received, const QString &to, const QString &text)
{
    received.clear();
    peer.sendText(to, text);
    if (!QTest::qWaitFor([&] { return !received.isEmpty(); }, Timeout))
        return QStringLiteral("<no answer>");
    return received.first().at(1).toString();
}

} // namespace OnlineProgram
