// The auto-mailing of the whole program on the local OSCAR server: a list and a range
// mailed from the main bot, paced, while another user is answered in between, and a
// mailing stopped midway.
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "records/automailing.h"
#include "recordwindows/automailing_window.h"
#include "support/onlinebot.h"
#include "support/programhome.h"
#include "support/typing.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int Timeout = 30000;
const QString Bot = QStringLiteral("111111");
const QString Secondary = QStringLiteral("222222");
const QString User = QStringLiteral("424242");
const QString Text = QStringLiteral("Новости бота: всё работает");

QStringList numbers(int first, int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result.append(QString::number(first + i));
    return result;
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
} // namespace

class tst_AutoMailingOnline : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listMailingIsPacedAnswersInBetweenAndStops();
    void rangeMailingReachesEveryNumber();
    void closingTheWindowEndsTheMailing();

private:
    // The bot's texts to these numbers on the server, in order: number and time.
    QStringList mailedTo(const QStringList &targets) const;
    void logIn();
    Form19 *openMailing();

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<BotApplication> m_bot;
};

void tst_AutoMailingOnline::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Bot, "botpass");
    m_server->addAccount(Secondary, "secret");
    m_server->addAccount(User, "userpw");
    for (const QString &uin : numbers(500001, 6) + numbers(600001, 4))
        m_server->addAccount(uin, "pw");
    QVERIFY(m_server->listen(QHostAddress::LocalHost));
    QVERIFY(TextFile::writeLines(
        GeneralSettings::FilePath,
        {QStringLiteral("Server=127.0.0.1"), QStringLiteral("Port=%1").arg(m_server->loginPort())}));
    QVERIFY(
        TextFile::writeLines(DistributionList::FilePath, {QStringLiteral("2 %1 secret 0").arg(Secondary)}));
    m_bot = std::make_unique<BotApplication>();
    logIn();
}

void tst_AutoMailingOnline::cleanup()
{
    m_bot.reset();
    m_server.reset();
    Dialogs::setInstance(nullptr);
    m_home.reset();
}

// The operator logs the bot in through the login window; the secondary bot follows.
void tst_AutoMailingOnline::logIn()
{
    m_bot->mainWindow().timers().timer(QStringLiteral("rasperd"))->setInterval(50);
    m_bot->start();
    QWidget *login = m_bot->mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
    typeInto(login->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("botpass"));
    QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Secondary), Timeout);
}

Form19 *tst_AutoMailingOnline::openMailing()
{
    m_bot->mainWindow().action(QStringLiteral("pod_auto_ras"))->trigger();
    return qobject_cast<Form19 *>(m_bot->mainWindow().findWindow(QStringLiteral("Form19")));
}

QStringList tst_AutoMailingOnline::mailedTo(const QStringList &targets) const
{
    QStringList result;
    for (const RoutedMessage &message : m_server->messagesSentBy(Bot)) {
        if (targets.contains(message.to))
            result.append(message.to);
    }
    return result;
}

void tst_AutoMailingOnline::listMailingIsPacedAnswersInBetweenAndStops()
{
    constexpr int Pause = 400;
    const QStringList subscribers = numbers(500001, 6);
    // What is no number is passed over.
    QStringList file = subscribers;
    file.insert(1, QString());
    file.insert(3, QStringLiteral("Вася"));
    QVERIFY(TextFile::writeLines(SubscriberList::FilePath, file));
    const QList<int> rows = {0, 2, 4, 5, 6, 7};

    // The first subscriber is online and reads the mailing; the user writes to the bot.
    OscarPeer reader;
    QSignalSpy read(&reader, &OscarPeer::messageReceived);
    reader.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), subscribers.first(), "pw");
    OscarPeer user;
    QSignalSpy answered(&user, &OscarPeer::messageReceived);
    user.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), User, "userpw");
    QTRY_VERIFY_WITH_TIMEOUT(reader.isOnline() && user.isOnline(), Timeout);

    QElapsedTimer clock;
    clock.start();
    QList<qint64> mailedAt;
    QObject watching; // ends the connection with this function
    connect(m_server.get(), &OscarServer::messageRouted, &watching,
            [&](const QString &from, const QString &to, const QByteArray &) {
                if (from == Bot && subscribers.contains(to))
                    mailedAt.append(clock.elapsed());
            });

    Form19 *form = openMailing();
    QVERIFY(form);
    QCOMPARE(form->List1->model()->rowCount(), file.size());
    form->setPause(Pause);
    click(form->Option2);
    typeInto(form->Text1, Text);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(!form->Command1->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(!read.isEmpty(), Timeout);
    QCOMPARE(read.first().at(0).toString(), Bot);
    QCOMPARE(read.first().at(1).toString(), Text);

    // Between two messages the bot answers whoever writes to it.
    bool mailingRanAtAnswer = false;
    connect(&user, &OscarPeer::messageReceived, this,
            [&] { mailingRanAtAnswer = form->mailing().isRunning(); });
    QVERIFY(user.sendText(Bot, QStringLiteral("привет")));
    QTRY_VERIFY_WITH_TIMEOUT(!answered.isEmpty(), Timeout);
    QVERIFY(mailingRanAtAnswer);

    // The operator stops it: no later message goes out.
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    QVERIFY(!form->mailing().isRunning());
    QVERIFY(form->Command1->isEnabled());
    const qint64 sent = form->mailing().sentCount();
    QVERIFY2(sent >= 1 && sent < subscribers.size(), qPrintable(QString::number(sent)));
    QCOMPARE(form->ProgressBar1->format(), QStringLiteral("%1 из 6").arg(sent));
    // The selection shows the subscriber last mailed to.
    QCOMPARE(form->List1->currentIndex().row(), rows.at(int(sent - 1)));

    // An answer takes longer than a pause: had a message been due, it would be there by now.
    answered.clear();
    QVERIFY(user.sendText(Bot, QStringLiteral("ещё раз")));
    QTRY_VERIFY_WITH_TIMEOUT(!answered.isEmpty(), Timeout);
    QCOMPARE(mailedTo(subscribers), subscribers.mid(0, int(sent)));
    QCOMPARE(mailedAt.size(), int(sent));
    // Paced: the timer may fire a few percent early.
    for (int i = 1; i < mailedAt.size(); ++i)
        QVERIFY2(mailedAt.at(i) - mailedAt.at(i - 1) >= Pause * 9 / 10,
                 qPrintable(QString::number(mailedAt.at(i) - mailedAt.at(i - 1))));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_AutoMailingOnline::rangeMailingReachesEveryNumber()
{
    const QStringList range = numbers(600001, 4);
    Form19 *form = openMailing();
    QVERIFY(form);
    // The range needs no subscriber.
    QCOMPARE(form->List1->model()->rowCount(), 0);
    form->setPause(30);
    click(form->Option1);
    typeInto(form->Text1, Text);
    typeInto(form->Text2, range.first());
    typeInto(form->Text3, range.last());
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(m_dialogs.shown.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!form->mailing().isRunning(), Timeout);
    QCOMPARE(form->mailing().sentCount(), qint64(4));
    QTRY_COMPARE_WITH_TIMEOUT(mailedTo(range), range, Timeout);
    for (const QString &number : range)
        QCOMPARE(textsSent(*m_server, Bot, number), QStringList({Text}));
    QCOMPARE(form->Label6->text(), range.last());
    QCOMPARE(form->ProgressBar1->format(), QStringLiteral("4 из 4"));
    QCOMPARE(form->ProgressBar1->value(), 4);
    QVERIFY(form->Command1->isEnabled());
}

void tst_AutoMailingOnline::closingTheWindowEndsTheMailing()
{
    const QStringList range = numbers(600001, 4);
    OscarPeer user;
    QSignalSpy answered(&user, &OscarPeer::messageReceived);
    user.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), User, "userpw");
    QTRY_VERIFY_WITH_TIMEOUT(user.isOnline(), Timeout);

    Form19 *form = openMailing();
    QVERIFY(form);
    form->setPause(400);
    click(form->Option1);
    typeInto(form->Text1, Text);
    typeInto(form->Text2, range.first());
    typeInto(form->Text3, range.last());
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!mailedTo(range).isEmpty(), Timeout);
    const qsizetype sent = mailedTo(range).size();
    m_dialogs.shown.clear();
    QVERIFY(form->parentWidget()->close());
    QTRY_VERIFY_WITH_TIMEOUT(!m_bot->mainWindow().findWindow(QStringLiteral("Form19")), Timeout);
    // The operator is told the mailing stopped, and how far it got.
    QTRY_COMPARE_WITH_TIMEOUT(m_dialogs.shown.size(), 1, Timeout);
    QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Notify);
    const QString told = m_dialogs.shown.first().text;
    const QString head = Form19::ClosedDuringMailing.left(Form19::ClosedDuringMailing.indexOf(QLatin1String("%1")));
    QVERIFY2(told.startsWith(head) && told.endsWith(QStringLiteral(" из %1.").arg(range.size())), qPrintable(told));

    // An answer takes longer than a pause: a message still due would be there by now.
    QVERIFY(user.sendText(Bot, QStringLiteral("привет")));
    QTRY_VERIFY_WITH_TIMEOUT(!answered.isEmpty(), Timeout);
    QCOMPARE(mailedTo(range), range.mid(0, int(sent)));
}

QTEST_MAIN(tst_AutoMailingOnline)
#include "tst_automailingonline.moc"
