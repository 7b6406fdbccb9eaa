// The start-up sequence on a program folder: every step with its files, the settings
// applied in order, and the stored login reaching the local OSCAR server by itself.
#include "startupfixture.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "files/agreement.h"
#include "files/automessages.h"
#include "files/distributionlist.h"
#include "files/userblacklist.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/startup.h"
#include "session/icqsession.h"
#include "settings/autoopensettings.h"
#include "settings/settings_window.h"
#include "settings/settingspage.h"
#include "settings/tutorial.h"
#include "tools/server/oscarserver.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>

#include <sys/stat.h>

namespace {
constexpr int Timeout = 30000;
const QString Bot = QStringLiteral("123456789");
const QString BotPassword = QStringLiteral("pass1");
const QString ChatList = QStringLiteral("\\Подпрограммы\\Список_чата.txt");
const QString Room = QStringLiteral("\\Подпрограммы\\Комнаты\\Общая.txt");
const QString Queue = QStringLiteral("\\Подпрограммы\\Сообщения_в1.txt");
const QString SettingsFile = GeneralSettings::FilePath;

QMessageBox *openQuestion()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

QStringList modeMarks(MDIForm1 &window)
{
    QStringList checked;
    for (const char *name : {"rej_kom_m", "rej_auto_m", "rej_zerk_m"}) {
        if (window.action(QString::fromLatin1(name))->isChecked())
            checked << QString::fromLatin1(name);
    }
    return checked;
}
} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyFolderAsksForBotNumbers();
    void unreadableDistributionListIsNoFirstStart();
    void uncleanEndDeletesChatFiles_data();
    void uncleanEndDeletesChatFiles();
    void noAgreementShowsTheAgreementWindow();
    void unreadableAgreementEndsWithoutFirstStart();
    void settingsAppliedInOrder();
    void missingSettingsKeepDesignState();
    void storedLoginLogsInBySelf();
    void undecodableStoredNumberLeavesLoginUsable();
    void tutorial_data();
    void tutorial();
    void windowsOpenedAtStart_data();
    void windowsOpenedAtStart();
    void blacklistPurge_data();
    void blacklistPurge();
    void autoMessagesArmTheirTimer();
    void questionAnsweredLater_data();
    void questionAnsweredLater();
    void startWindowFollowsTheSequence();

private:
    // A folder past steps 1 to 3: bot numbers, clean exit, agreement accepted.
    void prepareRunnableFolder(bool tutorialDone = true);

    std::unique_ptr<StartupFixture> m_f;
};

void tst_Startup::init()
{
    m_f = std::make_unique<StartupFixture>();
}

void tst_Startup::cleanup()
{
    m_f.reset();
}

void tst_Startup::prepareRunnableFolder(bool tutorialDone)
{
    m_f->write(DistributionList::FilePath, "2 222222 secret 0\r\n");
    m_f->write(StartupSequence::CleanExitFile, "1\r\n");
    m_f->write(Agreement::MarkerPath, "1\r\n");
    if (tutorialDone)
        m_f->write(Tutorial::MarkerPath, " 1 \r\n");
}

void tst_Startup::emptyFolderAsksForBotNumbers()
{
    BotApplication bot;

    QCOMPARE(bot.run(), StartupSequence::Outcome::NoDistributionList);

    QCOMPARE(m_f->dialogs.shown.size(), 1);
    const RecordingDialogs::Shown box = m_f->dialogs.shown.first();
    QCOMPARE(box.title, QStringLiteral("Ощибка"));
    QCOMPARE(box.text,
             QStringLiteral("Бот с версии 1.9 является многономерным. Теперь для входа нужно не только "
                            "ввести номер главно бота, но и как минимум 1 второстепенный."));
    QCOMPARE(box.icon, Dialogs::Icon::Information);
    auto *settings = qobject_cast<Form1 *>(bot.mainWindow().findWindow(QStringLiteral("Form1")));
    QVERIFY(settings);
    QCOMPARE(settings->pages().size(), 8);
    for (QWidget *page : settings->pages())
        QCOMPARE(page->isVisibleTo(settings), page->objectName() == QStringLiteral("UserControl51"));
    // The login window still comes up as the start window.
    QVERIFY(bot.mainWindow().findWindow(QStringLiteral("fMain")));
    // Nothing else happened: no folder, no marker touched.
    QCOMPARE(QDir(m_f->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void tst_Startup::unreadableDistributionListIsNoFirstStart()
{
    prepareRunnableFolder();
    // Something that is there but cannot be read: a FIFO (unreadable even for root).
    const QString list = m_f->path(DistributionList::FilePath);
    QVERIFY(QFile::remove(list));
    QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);

    // Reported to the operator (a notice that names the file), never the first-start box.
    bool reported = false;
    for (const RecordingDialogs::Shown &box : std::as_const(m_f->dialogs.shown)) {
        QVERIFY2(box.title != QStringLiteral("Ощибка"), qPrintable(box.text));
        reported = reported || (box.icon == Dialogs::Icon::Warning && box.text.contains(list));
    }
    QVERIFY(reported);
    QVERIFY(!bot.mainWindow().findWindow(QStringLiteral("Form1")));
    // Left as it was: not rewritten as an empty list.
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(list).constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
}

void tst_Startup::uncleanEndDeletesChatFiles_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<bool>("writeMarker");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("no marker") << QByteArray() << false << true;
    QTest::newRow("clean exit") << QByteArray("1\r\n") << true << false;
    QTest::newRow("printed one") << QByteArray(" 1 \r\n") << true << false;
    QTest::newRow("zero") << QByteArray("0\r\n") << true << true;
    QTest::newRow("empty") << QByteArray() << true << true;
}

void tst_Startup::uncleanEndDeletesChatFiles()
{
    QFETCH(QByteArray, marker);
    QFETCH(bool, writeMarker);
    QFETCH(bool, deleted);
    prepareRunnableFolder();
    if (writeMarker)
        m_f->write(StartupSequence::CleanExitFile, marker);
    else
        QVERIFY(TextFile::remove(StartupSequence::CleanExitFile));
    const QString other = QStringLiteral("\\Подпрограммы\\Чат_настройки.txt");
    for (const QString &file : {ChatList, Room, Queue, other})
        m_f->write(file, "x\r\n");

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);

    for (const QString &file : {ChatList, Room, Queue})
        QCOMPARE(m_f->exists(file), !deleted);
    QVERIFY(m_f->exists(other));
    QVERIFY(!m_f->exists(StartupSequence::CleanExitFile));
}

void tst_Startup::noAgreementShowsTheAgreementWindow()
{
    m_f->write(DistributionList::FilePath, "2 222222 secret 0\r\n");
    m_f->write(Agreement::MarkerPath, "0\r\n");
    m_f->write(ChatList, "x\r\n");
    m_f->write(SettingsFile, "SaveRejim=2\r\n");

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::AgreementShown);

    QWidget *agreement = bot.mainWindow().findWindow(QStringLiteral("Form48"));
    QVERIFY(agreement);
    QVERIFY(agreement->isVisible());
    QCOMPARE(agreement->windowModality(), Qt::ApplicationModal);
    QCOMPARE(bot.state().AgreementAccepted, quint8(0));
    // Step 2 ran, nothing after step 3 did.
    QVERIFY(!m_f->exists(ChatList));
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Логи")));
    QVERIFY(bot.state().BotMode.isEmpty());
    QVERIFY(!bot.mainWindow().findWindow(QStringLiteral("fMain")));
    QVERIFY(m_f->dialogs.shown.isEmpty());
}

void tst_Startup::unreadableAgreementEndsWithoutFirstStart()
{
    m_f->write(DistributionList::FilePath, "2 222222 secret 0\r\n");
    // A FIFO cannot be read as a file, whoever runs the test.
    const QString agreement = m_f->path(Agreement::MarkerPath);
    QCOMPARE(::mkfifo(QFile::encodeName(agreement).constData(), 0600), 0);

    BotApplication bot;
    int ends = 0;
    bot.exitSequence().setEndProgram([&ends] { ++ends; });
    QCOMPARE(bot.run(), StartupSequence::Outcome::Unreadable);
    QTRY_COMPARE(ends, 1);

    QVERIFY(!bot.mainWindow().findWindow(QStringLiteral("Form48")));
    QVERIFY(!bot.mainWindow().findWindow(QStringLiteral("fMain")));
    QVERIFY(QFileInfo(agreement).isFile() == false && QFileInfo::exists(agreement));
    bool told = false;
    for (const RecordingDialogs::Shown &box : m_f->dialogs.shown) {
        if (box.kind == RecordingDialogs::Kind::Message && box.text.contains(agreement))
            told = box.title == StartupSequence::UnreadableTitle;
    }
    QVERIFY(told);
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Логи")));
}

void tst_Startup::settingsAppliedInOrder()
{
    prepareRunnableFolder();
    m_f->write(SettingsFile, "SaveStatus=0\r\nPlaySounds=0\r\nAutoUpdate=1\r\n\r\nReConnect=1\r\nHideTray=0\r\n"
                         "IntervalConnect=10\r\nAutoEnter\r\nSaveRejim=2\r\nAutoUpdate=1\r\n");

    // The sequence alone: what it leaves, before the program hands it on.
    BotApplication bot;
    ProgramState state;
    StartupSequence startup(bot.mainWindow(), bot.session(), state);
    QStringList effects;
    startup.hooks().checkForUpdate = [&effects] { effects << QStringLiteral("update"); };
    startup.hooks().hideToTray = [&effects] { effects << QStringLiteral("tray"); };
    QCOMPARE(startup.run(), StartupSequence::Outcome::Completed);

    QCOMPARE(effects, (QStringList{"update", "update", "tray"}));
    QCOMPARE(m_f->sound.played, QStringList{m_f->path(QStringLiteral("\\Sounds\\sndStartup.wav"))});
    QVERIFY(!bot.mainWindow().action(QStringLiteral("zap_st_m"))->isChecked());
    QCOMPARE(state.ReconnectInterval, qint16(10));
    QCOMPARE(state.AutoEnterOn, quint8(0));
    QCOMPARE(state.BotMode, QStringLiteral("2"));
    QCOMPARE(modeMarks(bot.mainWindow()), QStringList{"rej_auto_m"});
    QVERIFY(state.HideAfterLogin);
    for (const QString &folder : StartupSequence::DataFolders)
        QVERIFY2(TextFile::folderExists(folder), qPrintable(folder));
    QCOMPARE(startup.autoLoginSlot(), 0);
}

void tst_Startup::missingSettingsKeepDesignState()
{
    prepareRunnableFolder();
    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    QVERIFY(bot.state().BotMode.isEmpty());
    QCOMPARE(modeMarks(bot.mainWindow()), QStringList{"rej_kom_m"});
    QVERIFY(bot.mainWindow().action(QStringLiteral("zap_st_m"))->isChecked());
    QCOMPARE(bot.state().ReconnectInterval, qint16(0));
    QVERIFY(!bot.state().HideAfterLogin);
    QVERIFY(m_f->sound.played.isEmpty());
}

void tst_Startup::storedLoginLogsInBySelf()
{
    OscarServer server;
    server.addAccount(Bot, BotPassword.toLatin1());
    QVERIFY(server.listen(QHostAddress::LocalHost));
    prepareRunnableFolder();
    m_f->write(SettingsFile, QStringLiteral("Server=127.0.0.1\r\nPort=%1\r\nAutoEnter=1\r\nAutoICQNumber=%2\r\n"
                                        "AutoPassword=%3\r\n")
                             .arg(server.loginPort())
                             .arg(scrambledNumber(Bot.toLongLong()), scrambledPassword(BotPassword))
                             .toLatin1());

    BotApplication bot;
    QSignalSpy signedOn(&bot.session(), &IcqSession::signedOn);
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);

    QCOMPARE(bot.session().MainUin(), Bot.toInt());
    QCOMPARE(bot.session().MainPassword(), BotPassword);
    QCOMPARE(bot.startup().autoLoginSlot(), 1);
    QWidget *login = bot.mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QCOMPARE(login->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), Bot);
    QCOMPARE(login->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), BotPassword);
    for (const char *control : {"Command1", "Text1", "Text2"})
        QVERIFY(!login->findChild<QWidget *>(QString::fromLatin1(control))->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(server.isOnline(Bot), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 1, Timeout);
    QCOMPARE(signedOn.first().first().toInt(), 1);
}

void tst_Startup::undecodableStoredNumberLeavesLoginUsable()
{
    prepareRunnableFolder();
    m_f->write(SettingsFile, "AutoEnter=1\r\nAutoICQNumber=\r\nAutoPassword=0113\r\n");
    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    QCOMPARE(bot.state().AutoEnterOn, quint8(1));
    QCOMPARE(bot.startup().autoLoginSlot(), 0);
    QVERIFY(bot.session().NetSlotUin(1).isEmpty());
    QWidget *login = bot.mainWindow().findWindow(QStringLiteral("fMain"));
    QVERIFY(login);
    QVERIFY(login->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(login->findChild<QLineEdit *>(QStringLiteral("Text1"))->isEnabled());
}

void tst_Startup::tutorial_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("answer"); // -1 no question expected
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("tutorialOpen");
    QTest::addColumn<QByteArray>("markerAfter");

    QTest::newRow("first start, yes")
        << QByteArray() << int(Dialogs::Button::Yes) << "1" << true << QByteArray();
    QTest::newRow("first start, no") << QByteArray() << int(Dialogs::Button::No) << "1" << false
                                     << QByteArray(" 1 \r\n");
    QTest::newRow("unfinished tutorial")
        << QByteArray("0\r\n") << int(Dialogs::Button::Yes) << "1" << true << QByteArray("0\r\n");
    QTest::newRow("tutorial done") << QByteArray(" 1 \r\n") << -1 << "3" << false << QByteArray(" 1 \r\n");
}

void tst_Startup::tutorial()
{
    QFETCH(QByteArray, marker);
    QFETCH(int, answer);
    QFETCH(QString, mode);
    QFETCH(bool, tutorialOpen);
    QFETCH(QByteArray, markerAfter);
    prepareRunnableFolder(false);
    if (!marker.isEmpty())
        m_f->write(Tutorial::MarkerPath, marker);
    m_f->write(SettingsFile, "SaveRejim=3\r\n");
    if (answer >= 0)
        m_f->dialogs.queueButton(Dialogs::Button(answer));

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);

    QList<RecordingDialogs::Shown> expected;
    if (answer >= 0) {
        expected.append({RecordingDialogs::Kind::Message, QStringLiteral("Помощь"),
                         QStringLiteral("Вы запустили программу в первый раз. Хотите ли Вы пройти обучение?"),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo, QString()});
    }
    if (Dialogs::Button(answer) == Dialogs::Button::No) {
        expected.append(
            {RecordingDialogs::Kind::Notify, QStringLiteral("Обучение"),
             QStringLiteral("Если Вы захотите пройти обучение, нажмите на меню 'О программе', далее "
                            "нажмите 'Пройти обучение'"),
             Dialogs::Icon::Information, Dialogs::Buttons::Ok, QString()});
    }
    QCOMPARE(m_f->dialogs.shown.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(m_f->dialogs.shown.at(i).kind, expected.at(i).kind);
        QCOMPARE(m_f->dialogs.shown.at(i).title, expected.at(i).title);
        QCOMPARE(m_f->dialogs.shown.at(i).text, expected.at(i).text);
        QCOMPARE(m_f->dialogs.shown.at(i).icon, expected.at(i).icon);
        if (expected.at(i).kind == RecordingDialogs::Kind::Message)
            QCOMPARE(m_f->dialogs.shown.at(i).buttons, expected.at(i).buttons);
    }
    QCOMPARE(bot.state().BotMode, mode);
    // The check marks follow the mode the tutorial sets.
    QCOMPARE(modeMarks(bot.mainWindow()), QStringList{mode == "1" ? "rej_kom_m" : "rej_zerk_m"});
    QCOMPARE(bool(bot.mainWindow().findWindow(QStringLiteral("Form26"))), tutorialOpen);
    QCOMPARE(m_f->bytes(Tutorial::MarkerPath), markerAfter);
}

void tst_Startup::windowsOpenedAtStart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("writeFile");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("first and third") << QByteArray(" 1 \r\n 0 \r\n 1 \r\n") << true
                                     << QStringList{"Form1", "Form5"};
    QTest::newRow("missing file") << QByteArray() << false << QStringList{};
    QTest::newRow("all nine") << QByteArray("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n") << true
                              << StartupSequence::AutoOpenWindows;
    QTest::newRow("last only, no line end")
        << QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n1") << true << QStringList{"Form28"};
}

void tst_Startup::windowsOpenedAtStart()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, writeFile);
    QFETCH(QStringList, opened);
    prepareRunnableFolder();
    if (writeFile)
        m_f->write(AutoOpenSettings::FilePath, file);

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    for (const QString &window : StartupSequence::AutoOpenWindows)
        QCOMPARE(bool(bot.mainWindow().findWindow(window)), opened.contains(window));
}

namespace {
QString report(int expired, int malformed)
{
    return UserBlacklist::purgeReport({expired, malformed});
}
} // namespace

void tst_Startup::blacklistPurge_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("report");

    // Today is 10.12.2026.
    QTest::newRow("tomorrow stays, yesterday goes")
        << QByteArray("111:^:11.12.2026:^:спам\r\n222:^:09.12.2026:^:мат\r\n")
        << QByteArray("111:^:11.12.2026:^:спам\r\n") << report(1, 0);
    QTest::newRow("today goes") << QByteArray("111:^:10.12.2026\r\n333:^:01.01.2027\r\n")
                                << QByteArray("333:^:01.01.2027\r\n") << report(1, 0);
    // Nothing kept: the file goes, so no empty line stops the ban check before a later ban.
    QTest::newRow("empty until goes") << QByteArray("111:^::^:x\r\n222\r\n") << QByteArray() << report(0, 2);
    QTest::newRow("unreadable date stays") << QByteArray("111:^:навсегда:^:x\r\n222:^:31.02.2026\r\n")
                                           << QByteArray("111:^:навсегда:^:x\r\n222:^:31.02.2026\r\n") << QString();
    QTest::newRow("all past") << QByteArray("111:^:1.1.2000\r\n") << QByteArray() << report(1, 0);
    QTest::newRow("single line end goes") << QByteArray("\r\n") << QByteArray() << QString();
}

void tst_Startup::blacklistPurge()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    prepareRunnableFolder();
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, QString::fromUtf8(before)));

    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    if (after.isEmpty())
        QVERIFY(!TextFile::exists(UserBlacklist::FilePath));
    else
        QCOMPARE(TextFile::readAll(UserBlacklist::FilePath), QString::fromUtf8(after));
    // How many went is told without a blocking box.
    QFETCH(QString, report);
    QStringList told;
    for (const RecordingDialogs::Shown &box : std::as_const(m_f->dialogs.shown)) {
        if (box.notifyKind == QStringLiteral("blacklist purge")) {
            QCOMPARE(box.kind, RecordingDialogs::Kind::Notify);
            told.append(box.text);
        }
    }
    QCOMPARE(told, report.isEmpty() ? QStringList() : QStringList{report});
}

void tst_Startup::autoMessagesArmTheirTimer()
{
    prepareRunnableFolder();
    m_f->write(AutoMessages::FilePath, "600\r\n1\r\nПривет\r\n");
    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    NamedTimer *timer = bot.mainWindow().timers().timer(QStringLiteral("auto_soob"));
    QVERIFY(timer->isEnabled());
    QCOMPARE(timer->interval(), 1000);
    // The header is the chat's to read, at its ticks.
    const AutoMessages::File header = AutoMessages::read();
    QCOMPARE(header.interval(), std::optional<int>(600));
    QVERIFY(header.random());
}

void tst_Startup::questionAnsweredLater_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void tst_Startup::questionAnsweredLater()
{
    QFETCH(bool, yes);
    prepareRunnableFolder(false);
    m_f->write(AutoOpenSettings::FilePath, "0\r\n1\r\n");
    BotApplication bot;
    bot.startup().hooks().askQuestion = StartupSequence::questionWithoutBlocking(&bot.mainWindow());

    // The sequence does not wait for the operator: it has run to its end.
    QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
    QVERIFY(bot.mainWindow().findWindow(QStringLiteral("Form2")));
    QMessageBox *box = openQuestion();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), StartupSequence::TutorialTitle);
    QCOMPARE(box->text(), StartupSequence::TutorialText);
    QVERIFY(!m_f->exists(Tutorial::MarkerPath));

    QTest::mouseClick(box->button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
    QTRY_VERIFY(!openQuestion());
    QCOMPARE(bool(bot.mainWindow().findWindow(QStringLiteral("Form26"))), yes);
    QCOMPARE(m_f->exists(Tutorial::MarkerPath), !yes);
    QCOMPARE(m_f->dialogs.shown.size(), yes ? 0 : 1);
}

void tst_Startup::startWindowFollowsTheSequence()
{
    prepareRunnableFolder();
    {
        BotApplication bot;
        QCOMPARE(bot.run(), StartupSequence::Outcome::Completed);
        QVERIFY(bot.mainWindow().isVisible());
        QVERIFY(bot.mainWindow().findWindow(QStringLiteral("fMain")));
    }
    QVERIFY(TextFile::remove(Agreement::MarkerPath));
    BotApplication bot;
    QCOMPARE(bot.run(), StartupSequence::Outcome::AgreementShown);
    QVERIFY(!bot.mainWindow().isVisible());
    QVERIFY(bot.mainWindow().findWindow(QStringLiteral("Form48")));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
