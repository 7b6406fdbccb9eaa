// The whole program on the local OSCAR server: the chat switched on and off from the chat
// window changes what a user gets, and the window's member list follows him.
#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chat_window.h"
#include "commands/commandsettings.h"
#include "core/datetexts.h"
#include "files/userblacklist.h"
#include "recordwindows/blacklist_windows.h"
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
#include <QTreeView>

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
    void memberHandedToTheBlacklistIsRefused();
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
        const auto ask = [&](const QString &text) { return OnlineProgram::ask(peer, received, Secondary, text); };

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

// The entry window shows another entry when the operator hands a chat member over: the
// ban is written all the same, and the bot refuses the member from then on.
void tst_ChatWindowsOnline::memberHandedToTheBlacklistIsRefused()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    const auto restoreDialogs = qScopeGuard([] { Dialogs::setInstance(nullptr); });
    OscarServer server;
    QVERIFY(OnlineProgram::serveBotAndUser(server));
    const QString other = QStringLiteral("999:^:01.01.2099:^:спам\r\n");
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, other));
    QVERIFY(TextFile::writeLines(ChatSwitch::FilePath, {QStringLiteral(" 1 "), QStringLiteral("1")}));
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
        const auto ask = [&](const QString &text) { return OnlineProgram::ask(peer, received, Secondary, text); };
        QVERIFY(ask(QStringLiteral("!РЕГ Вася")).startsWith(ChatService::RegisteredLines.first()));

        // The entry window is open on another entry, in change mode.
        MDIForm1 &main = bot.mainWindow();
        main.action(QStringLiteral("cher_m"))->trigger();
        auto *list = qobject_cast<Form5 *>(main.findWindow(QStringLiteral("Form5")));
        QVERIFY(list);
        const QModelIndex row = list->ListView1->model()->index(0, 0);
        QVERIFY(row.isValid());
        QTest::mouseClick(list->ListView1->viewport(), Qt::LeftButton, {}, list->ListView1->visualRect(row).center());
        QTest::mouseClick(list->Command2, Qt::LeftButton);
        auto *entry = qobject_cast<Form6 *>(main.findWindow(QStringLiteral("Form6")));
        QVERIFY(entry);
        QCOMPARE(entry->Command1->text(), QStringLiteral("Изменить"));

        // The chat window hands the member over.
        main.action(QStringLiteral("chat_menu"))->trigger();
        auto *chat = qobject_cast<Form33 *>(main.findWindow(QStringLiteral("Form33")));
        QVERIFY(chat);
        QTRY_COMPARE_WITH_TIMEOUT(rows(chat->List1), QStringList{User + QStringLiteral(" - Вася - 0")}, Timeout);
        const QModelIndex member = chat->List1->model()->index(0, 0);
        QTest::mouseClick(chat->List1->viewport(), Qt::LeftButton, {}, chat->List1->visualRect(member).center());
        QVERIFY(chat->Command1->isEnabled());
        QTest::mouseClick(chat->Command1, Qt::LeftButton);
        QCOMPARE(entry->Command1->text(), QStringLiteral("Добавить"));
        QCOMPARE(entry->Text1->text(), User);
        const QString until = entry->Text2->text();
        QCOMPARE(until, DateTexts::dateText(QDate::currentDate().addDays(1)));
        QTest::mouseClick(entry->Command1, Qt::LeftButton);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(TextFile::readAll(UserBlacklist::FilePath),
                 other + User + QStringLiteral(":^:") + until + QStringLiteral(":^:") + Form6::ChatReason +
                     QStringLiteral("\r\n"));
        QCOMPARE(ask(QStringLiteral("привет")), QStringLiteral("Вы забанены до: ") + until +
                                                    QStringLiteral("\r\nПричина бана: ") + Form6::ChatReason);
    }
}

QTEST_MAIN(tst_ChatWindowsOnline)
#include "tst_chatwindowsonline.moc"
