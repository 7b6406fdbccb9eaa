// The whole program on the local OSCAR server: a command added through the command
// manager and the wizard is answered to the next user who asks for it; groups, numbers
// and commands made in the group manager are answered as their files say.
#include "commandwindows/answer_pages_window.h"
#include "support/onlineprogram.h"
#include "support/typing.h"
#include "support/programhome.h"
#include "files/distributionlist.h"
#include "commandwindows/command_manager_window.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/group_windows.h"
#include "commandwindows/side_windows.h"
#include "commandwindows/answer_pages.h"
#include <QComboBox>
#include "commands/commandsettings.h"
#include "commands/sidetexts.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <type_traits>

using namespace OnlineProgram;

class tst_CommandWindowsOnline : public QObject
{
    Q_OBJECT

private slots:
    void commandAddedInTheWindowIsAnswered();
    void groupCommandsAnsweredAsTheFilesSay();
};

void tst_CommandWindowsOnline::commandAddedInTheWindowIsAnswered()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    OscarServer server;
    QVERIFY(serveBotAndUser(server));

    {
        BotApplication bot;
        logIn(bot, server);
        if (QTest::currentTestFailed())
            return;

        // The operator adds the command through the menu's command manager.
        bot.mainWindow().action(QStringLiteral("komand_m"))->trigger();
        auto *manager = qobject_cast<Form9 *>(bot.mainWindow().findWindow(QStringLiteral("Form9")));
        QVERIFY(manager);
        QTest::mouseClick(manager->Command1, Qt::LeftButton);
        auto *step1 = qobject_cast<Form12 *>(bot.mainWindow().findWindow(QStringLiteral("Form12")));
        QVERIFY(step1);
        typeInto(step1->Text1, QStringLiteral("погодка"));
        QTest::mouseClick(step1->Option1, Qt::LeftButton, {}, QPoint(6, step1->Option1->height() / 2));
        QTest::mouseClick(step1->Command1, Qt::LeftButton);
        auto *step2 = qobject_cast<Form14 *>(bot.mainWindow().findWindow(QStringLiteral("Form14")));
        QVERIFY(step2);
        typeInto(step2->add_t1->Text1, QStringLiteral("Солнечно!"));
        QTest::mouseClick(step2->add_t1->Command1, Qt::LeftButton);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(manager->commandNames(), QStringList({QStringLiteral("погодка")}));

        OscarPeer peer;
        QSignalSpy received(&peer, &OscarPeer::messageReceived);
        handOverUser(peer, received, server);
        if (QTest::currentTestFailed())
            return;
        peer.sendText(Secondary, QStringLiteral("погодка"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        QCOMPARE(received.first().at(0).toString(), Secondary);
        QCOMPARE(received.first().at(1).toString(), QStringLiteral("Солнечно!"));
    }
    Dialogs::setInstance(nullptr);
}

// Groups made in the group manager, a number put into one, a command added to it
// through the group manager and one to the common group through the command manager:
// the group's member gets the group's answer, and once his number is deleted, the
// common one.
void tst_CommandWindowsOnline::groupCommandsAnsweredAsTheFilesSay()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    OscarServer server;
    QVERIFY(serveBotAndUser(server));
    const auto click = [](QAbstractButton *button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    };
    const auto pick = [](QListWidget *list, const QString &text) {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
        return found.first()->isSelected();
    };
    {
        BotApplication bot;
        logIn(bot, server);
        if (QTest::currentTestFailed())
            return;

        bot.mainWindow().action(QStringLiteral("grups_m"))->trigger();
        auto *groups = qobject_cast<Form11 *>(bot.mainWindow().findWindow(QStringLiteral("Form11")));
        QVERIFY(groups);
        for (const QString &name : {QStringLiteral("Друзья"), QStringLiteral("Чужие")}) {
            dialogs.queueText(name);
            click(groups->Command5);
        }
        QVERIFY(pick(groups->List1, QStringLiteral("Друзья")));
        dialogs.queueText(User);
        click(groups->Command1);
        QCOMPARE(TextFile::readAll(QStringLiteral("\\Группы\\Номера.txt")), User + QStringLiteral(":Друзья\r\n"));

        const auto addCommand = [&](QAbstractButton *start, const QString &name, const QString &answer) {
            click(start);
            auto *step1 = qobject_cast<Form12 *>(bot.mainWindow().findWindow(QStringLiteral("Form12")));
            QVERIFY(step1);
            typeInto(step1->Text1, name);
            click(step1->Option1);
            click(step1->Command1);
            auto *step2 = qobject_cast<Form14 *>(bot.mainWindow().findWindow(QStringLiteral("Form14")));
            QVERIFY(step2);
            step2->add_t1->Text1->clear();
            typeInto(step2->add_t1->Text1, answer);
            click(step2->add_t1->Command1);
        };
        addCommand(groups->Command3, QStringLiteral("погодка"), QStringLiteral("Для друзей"));
        QCOMPARE(groups->List3->count(), 1);
        // Help on reaching the admin embedded into the group's command.
        HelpEmbedding::setKind(HelpEmbedding::AdminContact);
        auto *help = qobject_cast<Form36 *>(bot.mainWindow().showWindow(QStringLiteral("Form36")));
        QVERIFY(help);
        help->Combo1->lineEdit()->selectAll();
        help->Combo1->lineEdit()->del();
        typeInto(help->Combo1->lineEdit(), QStringLiteral("Друзья"));
        QVERIFY(pick(help->List1, QStringLiteral("погодка")));
        QTest::mouseClick(help->Command1, Qt::LeftButton);
        bot.mainWindow().action(QStringLiteral("komand_m"))->trigger();
        auto *manager = qobject_cast<Form9 *>(bot.mainWindow().findWindow(QStringLiteral("Form9")));
        QVERIFY(manager);
        QVERIFY(manager->Command5->isEnabled());
        addCommand(manager->Command1, QStringLiteral("погодка"), QStringLiteral("Для всех"));
        QVERIFY(dialogs.shown.size() == 3); // the two group names and the number
        QVERIFY(TextFile::exists(QStringLiteral("\\Команды\\Друзья.txt")));
        QVERIFY(!TextFile::exists(QStringLiteral("\\Команды\\Чужие.txt")));

        OscarPeer peer;
        QSignalSpy received(&peer, &OscarPeer::messageReceived);
        handOverUser(peer, received, server);
        if (QTest::currentTestFailed())
            return;
        peer.sendText(Secondary, QStringLiteral("погодка"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        QCOMPARE(received.first().at(0).toString(), Secondary);
        const QString answer = received.first().at(1).toString();
        QVERIFY2(answer.startsWith(QStringLiteral("Для друзей")), qPrintable(answer));
        QVERIFY2(answer.contains(QStringLiteral("---Встроенная функция - Связь с админом---")), qPrintable(answer));

        // A random-answer command of the group, opened to "!add" and extended by the user.
        click(groups->Command3);
        auto *step1 = qobject_cast<Form12 *>(bot.mainWindow().findWindow(QStringLiteral("Form12")));
        QVERIFY(step1);
        typeInto(step1->Text1, QStringLiteral("шутка"));
        click(step1->Option8);
        click(step1->Command1);
        auto *step2 = qobject_cast<Form14 *>(bot.mainWindow().findWindow(QStringLiteral("Form14")));
        QVERIFY(step2);
        typeInto(step2->add_so1->Text2, QStringLiteral("%%"));
        click(step2->add_so1->Option2);
        // Every answer stands before a line of the separator, as "!add" adds them.
        step2->add_so1->Text3->setFocus();
        step2->add_so1->Text3->insertPlainText(QStringLiteral("раз\n%%"));
        QTest::mouseClick(step2->add_so1->Command2, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 3);
        QCOMPARE(groups->List3->count(), 2);
        bot.mainWindow().action(QStringLiteral("dob_kom"))->trigger();
        auto *additional = qobject_cast<Form49 *>(bot.mainWindow().findWindow(QStringLiteral("Form49")));
        QVERIFY(additional);
        QTest::mouseClick(additional->Command1, Qt::LeftButton);
        auto *addWindow = qobject_cast<Form50 *>(bot.mainWindow().findWindow(QStringLiteral("Form50")));
        QVERIFY(addWindow);
        addWindow->Combo1->lineEdit()->selectAll();
        addWindow->Combo1->lineEdit()->del();
        typeInto(addWindow->Combo1->lineEdit(), QStringLiteral("Друзья"));
        QVERIFY(pick(addWindow->List1, QStringLiteral("шутка")));
        QTest::mouseClick(addWindow->Command1, Qt::LeftButton);
        QCOMPARE(TextFile::readAll(QStringLiteral("\\Команды\\Добавочные.txt")), QStringLiteral("Друзья шутка\r\n"));
        peer.sendText(Secondary, QStringLiteral("!add шутка два"));
        QTRY_VERIFY_WITH_TIMEOUT(
            TextFile::readAll(QStringLiteral("\\Команды\\Друзья.txt")).contains(QStringLiteral("два")), Timeout);
        received.clear();
        peer.sendText(Secondary, QStringLiteral("шутка"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        const QString joke = received.first().at(1).toString();
        QVERIFY2(joke == QStringLiteral("раз") || joke == QStringLiteral("два"), joke.toUtf8().toPercentEncoding().constData());

        // The group's command deleted through the group manager: the common answer.
        QVERIFY(pick(groups->List3, QStringLiteral("погодка")));
        click(groups->Command4);
        click(step1->Option7);
        click(step1->Command1);
        QCOMPARE(groups->List3->count(), 1);
        QVERIFY(!TextFile::readAll(QStringLiteral("\\Команды\\Друзья.txt")).contains(QStringLiteral("Для друзей")));
        received.clear();
        peer.sendText(Secondary, QStringLiteral("погодка"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        QCOMPARE(received.first().at(1).toString(), QStringLiteral("Для всех"));

        // Out of the group: the group's commands are unknown to him.
        QVERIFY(pick(groups->List1, QStringLiteral("Друзья")));
        QVERIFY(pick(groups->List2, User));
        click(groups->Command2);
        QVERIFY(!TextFile::exists(QStringLiteral("\\Группы\\Номера.txt")));
        received.clear();
        peer.sendText(Secondary, QStringLiteral("шутка"));
        QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), Timeout);
        QCOMPARE(received.first().at(1).toString(), UnknownCommand::DefaultReply);
    }
    Dialogs::setInstance(nullptr);
}

QTEST_MAIN(tst_CommandWindowsOnline)
#include "tst_commandwindowsonline.moc"
