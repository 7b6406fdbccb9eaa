// The whole program on the local OSCAR server: the chat switched on and off from the chat
// window changes what a user gets, and the window's member list follows him.
#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chatwindow.h"
#include "commands/commandsettings.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "support/programhome.h"
#include "support/typing.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int Timeout = 10000;
const QString Bot = QStringLiteral("111111");
const QString Secondary = QStringLiteral("222222");
const QString User = QStringLiteral("424242");

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QStringList rows(const QListView *list)
{
    QStringList result;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        result.append(list->model()->index(row, 0).data().toString());
    return result;
}
} // namespace

class tst_ChatWindowsOnline : public QObject
{
    Q_OBJECT

private slots:
    void chatSwitchedFromTheWindow();
};

void tst_ChatWindowsOnline::chatSwitchedFromTheWindow()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    OscarServer server;
    server.addAccount(Bot, "botpass");
    server.addAccount(Secondary, "secret");
    server.addAccount(User, "userpw");
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QVERIFY(
        TextFile::writeLines(GeneralSettings::FilePath, {QStringLiteral("Server=127.0.0.1"),
                                                         QStringLiteral("Port=%1").arg(server.loginPort())}));
    QVERIFY(
        TextFile::writeLines(DistributionList::FilePath, {QStringLiteral("2 %1 secret 0").arg(Secondary)}));
    {
        BotApplication bot;
        bot.mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
        bot.start();
        QWidget *login = bot.mainWindow().findWindow(QStringLiteral("fMain"));
        QVERIFY(login);
        typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
        typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("botpass"));
        QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(Bot), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(Secondary), Timeout);

        OscarPeer peer;
        QSignalSpy received(&peer, &OscarPeer::messageReceived);
        peer.logIn(QStringLiteral("127.0.0.1"), server.loginPort(), User, "userpw");
        QTRY_VERIFY_WITH_TIMEOUT(peer.isOnline(), Timeout);
        // The main bot hands the new user over to the secondary bot, which serves him.
        peer.sendText(Bot, QStringLiteral("привет"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        const auto ask = [&](const QString &text) {
            received.clear();
            peer.sendText(Secondary, text);
            if (!received.wait(Timeout) && received.isEmpty())
                return QStringLiteral("<no answer>");
            return received.first().at(1).toString();
        };

        bot.mainWindow().action(QStringLiteral("chat_menu"))->trigger();
        auto *chat = qobject_cast<Form33 *>(bot.mainWindow().findWindow(QStringLiteral("Form33")));
        QVERIFY(chat);
        click(chat->Command7);

        // Off (no chat switch yet): the chat command is an unknown command.
        QVERIFY(ask(QStringLiteral("!РЕГ Вася")).contains(UnknownCommand::DefaultReply));
        QVERIFY(!RegistrationList::find(User));

        // On, with deliveries every second.
        click(chat->Check1);
        chat->Text1->clear();
        typeInto(chat->Text1, QStringLiteral("1"));
        click(chat->Command6);
        QVERIFY(ChatSwitch::isOn());
        QVERIFY(ask(QStringLiteral("!РЕГ Вася")).startsWith(ChatService::RegisteredLines.first()));
        QTRY_COMPARE_WITH_TIMEOUT(rows(chat->List1), QStringList{User + QStringLiteral(" - Вася - 0")},
                                  Timeout);
        QVERIFY(ask(QStringLiteral("всем привет")).endsWith(QStringLiteral("всем привет")));

        // Off again: the member's text goes to the commands.
        click(chat->Check1);
        click(chat->Command6);
        QVERIFY(!TextFile::exists(ChatSwitch::FilePath));
        QVERIFY(ask(QStringLiteral("!EXIT")).contains(UnknownCommand::DefaultReply));
        QCOMPARE(rows(chat->List1), QStringList{User + QStringLiteral(" - Вася - 0")});

        // And on: he can leave, and the window's list shows it.
        click(chat->Check1);
        click(chat->Command6);
        QCOMPARE(ask(QStringLiteral("!EXIT")), ChatService::LeftText);
        QTRY_VERIFY_WITH_TIMEOUT(rows(chat->List1).isEmpty(), Timeout);
    }
    Dialogs::setInstance(nullptr);
}

QTEST_MAIN(tst_ChatWindowsOnline)
#include "tst_chatwindowsonline.moc"
