// The whole program on the local OSCAR server: the chat switched on and off from the chat
// window changes what a user gets, and the window's member list follows him.
#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chat_window.h"
#include "commands/commandsettings.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "platform/recordingdialogs.h"
#include "support/onlineprogram.h"
#include "support/programhome.h"
#include "support/typing.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

namespace {
using OnlineProgram::Secondary;
using OnlineProgram::Timeout;
using OnlineProgram::User;

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
    const auto restoreDialogs = qScopeGuard([] { Dialogs::setInstance(nullptr); });
    OscarServer server;
    QVERIFY(OnlineProgram::serveBotAndUser(server));
    {
        BotApplication bot;
        OnlineProgram::logIn(bot, server);
        if (QTest::currentTestFailed())
            return;
        OscarPeer peer;
        QSignalSpy received(&peer, &OscarPeer::messageReceived);
        OnlineProgram::handOverUser(peer, received, server);
        if (QTest::currentTestFailed())
            return;
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
}

QTEST_MAIN(tst_ChatWindowsOnline)
#include "tst_chatwindowsonline.moc"
