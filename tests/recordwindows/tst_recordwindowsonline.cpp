// The whole program on the local OSCAR server, users writing to the bot: a ban added in
// the blacklist window refuses the user's next message and its delete serves him again;
// the statistics, the log and the user list show what the users wrote; a message sent
// by hand arrives with its copies.
#include "core/datetexts.h"
#include "core/generalsettings.h"
#include "core/textfile.h"
#include "files/agreement.h"
#include "files/distributionlist.h"
#include "files/userblacklist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "mainwindow/startup.h"
#include "platform/recordingdialogs.h"
#include "records/messagelogmodel.h"
#include "records/operatormessage.h"
#include "recordwindows/day_chart.h"
#include "core/namedtimer.h"
#include "recordwindows/blacklist_windows.h"
#include "recordwindows/log_windows.h"
#include "recordwindows/send_message_window.h"
#include "recordwindows/statistics_windows.h"
#include "recordwindows/user_list_window.h"
#include "settings/tutorial.h"
#include "support/onlineprogram.h"
#include "support/programhome.h"
#include "support/typing.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {
using OnlineProgram::Bot;
using OnlineProgram::logIn;
using OnlineProgram::Timeout;
using OnlineProgram::User;
const QString Other = QStringLiteral("535353");

// The bot, its secondary bot and two users on the local server.
bool serveBotAndUsers(OscarServer &server)
{
    server.addAccount(Other, "otherpw");
    return OnlineProgram::serveBotAndUser(server);
}

// A user on the local server: his messages to the bot, and what the bot answers him.
class User_
{
public:
    User_(const OscarServer &server, const QString &uin, const QByteArray &password)
        : m_received(&m_peer, &OscarPeer::messageReceived)
    {
        m_peer.logIn(QStringLiteral("127.0.0.1"), server.loginPort(), uin, password);
    }
    // Online, and handed over by the main bot to the bot that serves him.
    bool online()
    {
        return QTest::qWaitFor([this] { return m_peer.isOnline(); }, Timeout) &&
               ask(QStringLiteral("привет")) != QStringLiteral("<no answer>");
    }
    // Writes to the bot (first the main bot, then whichever bot answered last) and
    // waits for its answer; "<no answer>" when none came.
    QString ask(const QString &text)
    {
        m_received.clear();
        m_peer.sendText(m_bot, text);
        if (!QTest::qWaitFor([this] { return !m_received.isEmpty(); }, Timeout))
            return QStringLiteral("<no answer>");
        m_bot = m_received.first().at(0).toString();
        return m_received.first().at(1).toString();
    }
    QList<QList<QVariant>> waitForMessages(int count)
    {
        [[maybe_unused]] const bool arrived = QTest::qWaitFor([&] { return m_received.size() >= count; }, Timeout);
        return m_received;
    }
    void clear() { m_received.clear(); }

private:
    OscarPeer m_peer;
    QSignalSpy m_received;
    QString m_bot = Bot;
};

void click(QAbstractButton *button)
{
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

bool pick(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    return found.first()->isSelected();
}

QStringList items(const QListWidget *list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result.append(list->item(row)->text());
    return result;
}
} // namespace

class tst_RecordWindowsOnline : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void banFromTheWindowRefusesTheNextMessage();
    void banAfterAPurgeThatKeptNothingHoldsAtOnce();
    void windowsShowWhatUsersWrote();
    void messageByHandArrivesWithItsCopies();

private:
    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<BotApplication> m_bot;
};

void tst_RecordWindowsOnline::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_server = std::make_unique<OscarServer>();
    QVERIFY(serveBotAndUsers(*m_server));
    m_bot = std::make_unique<BotApplication>();
    if (QTest::currentTestFunction() == QByteArrayView("banAfterAPurgeThatKeptNothingHoldsAtOnce")) {
        // The whole start-up runs, its purge over a blacklist of ended bans only.
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, QStringLiteral("1:^:01.01.2000:^:old\r\n")));
        QVERIFY(TextFile::writeAll(StartupSequence::CleanExitFile, QStringLiteral("1\r\n")));
        QVERIFY(TextFile::writeAll(Agreement::MarkerPath, QStringLiteral("1\r\n")));
        QVERIFY(TextFile::writeAll(Tutorial::MarkerPath, QStringLiteral(" 1 \r\n")));
        QCOMPARE(m_bot->run(), StartupSequence::Outcome::Completed);
    }
    logIn(*m_bot, *m_server);
}

void tst_RecordWindowsOnline::cleanup()
{
    m_bot.reset();
    m_server.reset();
    Dialogs::setInstance(nullptr);
    m_home.reset();
}

void tst_RecordWindowsOnline::banFromTheWindowRefusesTheNextMessage()
{
    User_ user(*m_server, User, "userpw");
    QVERIFY(user.online());
    const QString served = user.ask(QStringLiteral("привет"));
    QVERIFY(served != QStringLiteral("<no answer>"));

    MDIForm1 &main = m_bot->mainWindow();
    main.action(QStringLiteral("cher_m"))->trigger();
    auto *list = qobject_cast<Form5 *>(main.findWindow(QStringLiteral("Form5")));
    QVERIFY(list);
    click(list->Command1);
    auto *entry = qobject_cast<Form6 *>(main.findWindow(QStringLiteral("Form6")));
    QVERIFY(entry);
    typeInto(entry->Text1, User);
    typeInto(entry->Text3, QStringLiteral("флуд"));
    const QString until = entry->Text2->text();
    click(entry->Command1);
    QCOMPARE(list->ListView1->model()->rowCount(), 1);

    QCOMPARE(user.ask(QStringLiteral("привет")),
             QStringLiteral("Вы забанены до: ") + until + QStringLiteral("\r\nПричина бана: флуд"));

    // Deleted in the window, the ban is gone and the user is served again.
    QTest::mouseClick(list->ListView1->viewport(), Qt::LeftButton, {},
                      list->ListView1->visualRect(list->ListView1->model()->index(0, 0)).center());
    click(list->Command3);
    QCOMPARE(list->ListView1->model()->rowCount(), 0);
    QCOMPARE(user.ask(QStringLiteral("привет")), served);
}

void tst_RecordWindowsOnline::banAfterAPurgeThatKeptNothingHoldsAtOnce()
{
    // The program went through its whole start-up over a blacklist of ended bans only
    // (see init()).
    QVERIFY(!TextFile::exists(UserBlacklist::FilePath));
    const auto told = std::find_if(m_dialogs.shown.cbegin(), m_dialogs.shown.cend(), [](const auto &box) {
        return box.kind == RecordingDialogs::Kind::Notify && box.text == UserBlacklist::purgeReport({1, 0});
    });
    QVERIFY(told != m_dialogs.shown.cend());

    User_ user(*m_server, User, "userpw");
    QVERIFY(user.online());
    MDIForm1 &main = m_bot->mainWindow();
    main.action(QStringLiteral("cher_m"))->trigger();
    auto *list = qobject_cast<Form5 *>(main.findWindow(QStringLiteral("Form5")));
    QVERIFY(list);
    click(list->Command1);
    auto *entry = qobject_cast<Form6 *>(main.findWindow(QStringLiteral("Form6")));
    QVERIFY(entry);
    typeInto(entry->Text1, User);
    typeInto(entry->Text3, QStringLiteral("флуд"));
    const QString until = entry->Text2->text();
    click(entry->Command1);
    QCOMPARE(user.ask(QStringLiteral("привет")),
             QStringLiteral("Вы забанены до: ") + until + QStringLiteral("\r\nПричина бана: флуд"));
}

void tst_RecordWindowsOnline::windowsShowWhatUsersWrote()
{
    MDIForm1 &main = m_bot->mainWindow();
    main.action(QStringLiteral("spis_pols_m"))->trigger();
    auto *users = qobject_cast<Form28 *>(main.findWindow(QStringLiteral("Form28")));
    QVERIFY(users);
    QVERIFY(items(users->List1).isEmpty());

    User_ user(*m_server, User, "userpw");
    User_ other(*m_server, Other, "otherpw");
    QVERIFY(user.online());
    QVERIFY(other.online());
    QVERIFY(user.ask(QStringLiteral("первое")) != QStringLiteral("<no answer>"));
    QTRY_COMPARE_WITH_TIMEOUT(items(users->List1), QStringList{User}, Timeout);
    QVERIFY(other.ask(QStringLiteral("чужое")) != QStringLiteral("<no answer>"));
    QVERIFY(user.ask(QStringLiteral("второе")) != QStringLiteral("<no answer>"));
    QTRY_COMPARE_WITH_TIMEOUT(items(users->List1), QStringList({User, Other}), Timeout);

    const QString today = DateTexts::dateText(QDate::currentDate());
    main.action(QStringLiteral("stat_Mm"))->trigger();
    auto *stats = qobject_cast<Form16 *>(main.findWindow(QStringLiteral("Form16")));
    QVERIFY(stats);
    QCOMPARE(stats->Label5->text(), QStringLiteral("3"));
    QCOMPARE(items(stats->List1), QStringList({User, Other}));
    QCOMPARE(stats->Chart1->days().last().requests, 3);
    QVERIFY(pick(stats->List1, User));
    click(stats->Command2);
    auto *messages = qobject_cast<Form17 *>(main.findWindow(QStringLiteral("Form17")));
    QVERIFY(messages);
    const QStringList lines = messages->Text1->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(today + QStringLiteral(" - ")));
    QVERIFY(lines.at(0).endsWith(QStringLiteral(" - ") + User + QStringLiteral(" : первое")));
    QVERIFY(lines.at(1).endsWith(QStringLiteral(" - ") + User + QStringLiteral(" : второе")));
    // The filter by date and the exact time of the second message.
    const QString secondTime = lines.at(1).section(QStringLiteral(" - "), 1, 1);
    typeInto(messages->Text2, today);
    typeInto(messages->Text3, secondTime);
    click(messages->Command1);
    QVERIFY(messages->Text1->toPlainText().endsWith(QStringLiteral(" : второе")));
    QVERIFY(!messages->Text1->toPlainText().contains(QStringLiteral("первое")) ||
            lines.at(0).section(QStringLiteral(" - "), 1, 1) == secondTime);

    // The log, newest first, all of it and today's.
    main.action(QStringLiteral("log_m"))->trigger();
    auto *log = qobject_cast<Form7 *>(main.findWindow(QStringLiteral("Form7")));
    QVERIFY(log);
    QTRY_VERIFY(!log->log().isLoading());
    QStringList logged = log->log().text().split(QStringLiteral("\r\n"));
    QCOMPARE(logged.size(), 3);
    QVERIFY(logged.at(0).endsWith(User + QStringLiteral(" : второе")));
    QVERIFY(logged.at(1).endsWith(Other + QStringLiteral(" : чужое")));
    QVERIFY(logged.at(2).endsWith(User + QStringLiteral(" : первое")));
    typeInto(log->Text2, today);
    click(log->Command1);
    QTRY_VERIFY(!log->log().isLoading());
    QCOMPARE(log->Text1->model()->rowCount(), 3);
    log->Text2->clear();
    typeInto(log->Text2, DateTexts::dateText(QDate::currentDate().addDays(-1)));
    click(log->Command1);
    QTRY_VERIFY(!log->log().isLoading());
    QCOMPARE(log->Text1->model()->rowCount(), 0);
}

void tst_RecordWindowsOnline::messageByHandArrivesWithItsCopies()
{
    User_ user(*m_server, User, "userpw");
    User_ other(*m_server, Other, "otherpw");
    QVERIFY(user.online());
    QVERIFY(other.online());
    QVERIFY(TextFile::writeAll("\\Списки пользователей\\Контакты.txt",
                               QStringLiteral("Вася:^:") + User + QStringLiteral(":^::^::^::^::^:\r\n")));

    MDIForm1 &main = m_bot->mainWindow();
    main.action(QStringLiteral("posl_m"))->trigger();
    auto *send = qobject_cast<Form2 *>(main.findWindow(QStringLiteral("Form2")));
    QVERIFY(send);
    QCOMPARE(send->Combo1->count(), 1);
    QCOMPARE(send->Combo1->itemText(0), User + QStringLiteral(" - Вася"));
    send->Combo1->setCurrentIndex(0);
    typeInto(send->Text2, Other + QStringLiteral("; мусор"));
    typeInto(send->Text3, QStringLiteral("Новости"));
    typeInto(send->Text4, QStringLiteral("Бот работает\nкруглосуточно"));
    QSignalSpy done(&send->sender(), &OperatorMessage::copiesDone);
    user.clear();
    other.clear();
    click(send->Command1);
    QCOMPARE(send->Text2->text(), Other + QStringLiteral("; мусор;"));
    const QString expected = QStringLiteral("Тема письма: Новости\r\nСообщение: Бот работает\r\nкруглосуточно");
    const QList<QList<QVariant>> toUser = user.waitForMessages(1);
    QCOMPARE(toUser.size(), 1);
    QCOMPARE(toUser.first().at(0).toString(), Bot);
    QCOMPARE(toUser.first().at(1).toString(), expected);
    // The copies may have gone out while the first message was awaited.
    QTRY_VERIFY_WITH_TIMEOUT(!done.isEmpty(), Timeout);
    const QList<QList<QVariant>> toOther = other.waitForMessages(1);
    QCOMPARE(toOther.size(), 1);
    QCOMPARE(toOther.first().at(0).toString(), Bot);
    QCOMPARE(toOther.first().at(1).toString(), expected);
}

QTEST_MAIN(tst_RecordWindowsOnline)
#include "tst_recordwindowsonline.moc"
