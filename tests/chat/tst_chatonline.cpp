// The chat in the program as it runs: the main bot and two secondary bots on the local
// OSCAR server, users spread over the secondary bots, each talking to his own bot. Every
// test runs in a fresh program folder.
#include "chat/chatfiles.h"
#include "chat/install.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/namedtimer.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "session/watchdog.h"
#include "support/chatprogram.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Timeout = ChatProgram::Timeout;
const QString Bot = ChatProgram::Bot;

struct User
{
    QString uin;
    QString bot; // the secondary bot that serves him
};

const User Anya{QStringLiteral("700001"), ChatProgram::First};
const User Borya{QStringLiteral("700002"), ChatProgram::Second};
const User Katya{QStringLiteral("700003"), ChatProgram::Second};

} // namespace

class tst_ChatOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chatLinesReachEveryMemberThroughHisOwnBot();
    void memberCommandsOverTheWire();
    void autoMessagesAndReconnectionNotice();

private:
    void startProgram();
    void meetBot(const User &user);
    // Sends a text to the user's own bot.
    void say(const User &user, const QString &text);
    QStringList received(const User &user) const { return textsSent(m_program.server(), user.bot, user.uin); }
    // The user's bot sent him a message that holds text.
    bool got(const User &user, const QString &text) const;
    NamedTimer *timer(const char *name) const { return m_program.timer(name); }

    ChatProgram m_program;
    OscarServer *m_server = nullptr;
    BotApplication *m_bot = nullptr;
};

void tst_ChatOnline::init()
{
    m_program.setUp();
    if (!QTest::currentTestFailed())
        m_server = &m_program.server();
}

void tst_ChatOnline::cleanup()
{
    m_bot = nullptr;
    m_server = nullptr;
    m_program.tearDown();
}

void tst_ChatOnline::startProgram()
{
    m_program.start();
    m_bot = &m_program.bot();
    if (QTest::currentTestFailed())
        return;
    for (const User &user : {Anya, Borya, Katya})
        meetBot(user);
}

void tst_ChatOnline::meetBot(const User &user)
{
    m_program.meetBot(user.uin);
    QCOMPARE(m_program.botOf(user.uin), user.bot);
}

void tst_ChatOnline::say(const User &user, const QString &text)
{
    QVERIFY(m_server->injectText(user.uin, user.bot, text));
}

bool tst_ChatOnline::got(const User &user, const QString &text) const
{
    for (const QString &message : received(user)) {
        if (message.contains(text))
            return true;
    }
    return false;
}

void tst_ChatOnline::chatLinesReachEveryMemberThroughHisOwnBot()
{
    QVERIFY(TextFile::writeLines(ObscenityLists::WordsPath, {QStringLiteral("ХРЕН")}));
    QVERIFY(TextFile::writeLines(ObscenityLists::ExceptionsPath, {QString(), QStringLiteral("хреновина")}));
    startProgram();

    say(Anya, QStringLiteral("!рег Аня"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Anya, ChatService::RegisteredLines.first()), Timeout);
    say(Borya, QStringLiteral("!REG Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, ChatService::RegisteredLines.first()), Timeout);
    say(Katya, QStringLiteral("!рег Катя"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, ChatService::RegisteredLines.first()), Timeout);
    QVERIFY(timer("Timer10")->isEnabled());
    QCOMPARE(timer("Timer10")->interval(), 1000);
    // A taken nick, from the same bot.
    const User stranger{QStringLiteral("700009"), ChatProgram::Second};
    meetBot(stranger);
    say(stranger, QStringLiteral("!рег Аня"));
    QTRY_VERIFY_WITH_TIMEOUT(got(stranger, ChatService::NickTakenText), Timeout);

    // One line: every member, the writer included, through his own bot on the next tick.
    say(Anya, QStringLiteral("всем привет"));
    for (const User &user : {Anya, Borya, Katya})
        QTRY_VERIFY_WITH_TIMEOUT(got(user, QStringLiteral("Аня: всем привет")), Timeout);
    QVERIFY(!got(stranger, QStringLiteral("всем привет")));
    QVERIFY(!textsSent(*m_server, Bot, Anya.uin).join(QString()).contains(QStringLiteral("всем привет")));

    // The obscenity test, with an exception.
    say(Borya, QStringLiteral("ну ХреН"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, ChatService::ObscenityText), Timeout);
    say(Borya, QStringLiteral("эта хреновина"));
    for (const User &user : {Anya, Borya, Katya})
        QTRY_VERIFY_WITH_TIMEOUT(got(user, QStringLiteral("Боря: эта хреновина")), Timeout);
    QVERIFY(!got(Anya, QStringLiteral("ну ХреН")));

    // A forged line break arrives inside one message of the writer's line.
    say(Katya, QStringLiteral("раз\r\n700001:^:Аня: подделка\n  К нам присоединился: никто."));
    QTRY_VERIFY_WITH_TIMEOUT(got(Anya, QStringLiteral("Катя: раз\r\n700001:^:Аня: подделка\r\n  К нам")), Timeout);
    for (const QString &message : received(Anya))
        QVERIFY2(!message.startsWith(QStringLiteral("Аня: подделка")), qPrintable(message));

    // A room number with path characters names no file.
    say(Anya, QStringLiteral("!inroom ..\\..\\Настройки\\Общие"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Anya, ChatService::EmptyRoomText), Timeout);

    // Everybody leaves; the common room works again afterwards.
    for (const User &user : {Anya, Borya, Katya}) {
        say(user, QStringLiteral("!exit"));
        QTRY_VERIFY_WITH_TIMEOUT(got(user, ChatService::LeftText), Timeout);
    }
    QVERIFY(!timer("Timer10")->isEnabled());
    QVERIFY(!TextFile::exists(RoomMembers::filePath(QStringLiteral("0"))));
    say(Borya, QStringLiteral("!chat"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, ChatService::JoinedText), Timeout);
    say(Borya, QStringLiteral("снова тут"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, QStringLiteral("Боря: снова тут")), Timeout);

    // "Отключиться": the chat hears that its members are gone.
    QSignalSpy members(m_bot->chat().service.get(), &ChatService::membersChanged);
    m_bot->mainWindow().action(QStringLiteral("otkl_m"))->trigger();
    QCOMPARE(members.size(), 1);
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
    QVERIFY(!timer("Timer10")->isEnabled());
}

void tst_ChatOnline::memberCommandsOverTheWire()
{
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, {QStringLiteral("Администратор:") + Anya.uin}));
    QVERIFY(TextFile::writeLines(RoomList::FilePath, {QStringLiteral("1 Флуд"), QStringLiteral("2 Игры")}));
    startProgram();
    say(Anya, QStringLiteral("!рег Аня"));
    say(Borya, QStringLiteral("!рег Боря"));
    say(Katya, QStringLiteral("!рег Катя"));
    for (const User &user : {Anya, Borya, Katya})
        QTRY_VERIFY_WITH_TIMEOUT(got(user, ChatService::RegisteredLines.first()), Timeout);

    // A whisper by nick goes through the recipient's own bot.
    say(Anya, QStringLiteral(">>Катя только тебе"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, QStringLiteral("Вам приватное сообщение от: Аня\r\nтолько тебе")), Timeout);
    QVERIFY(!got(Borya, QStringLiteral("только тебе")));

    // Katya ignores Anya: Anya's lines no longer reach her, Borya's do.
    say(Katya, QStringLiteral("!игнор Аня"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, ChatService::IgnoredText), Timeout);
    say(Anya, QStringLiteral("не для Кати"));
    say(Borya, QStringLiteral("для всех"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, QStringLiteral("Боря: для всех")), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(got(Anya, QStringLiteral("Боря: для всех")), Timeout);
    QVERIFY(!got(Katya, QStringLiteral("не для Кати")));

    // The information commands' replies.
    say(Borya, QStringLiteral("!adm"));
    QTRY_VERIFY_WITH_TIMEOUT(received(Borya).contains(
                                 QStringLiteral("Администраторы:\r\nАня\r\n\r\nМодераторы:\r\n\r\n\r\nПремодераторы:\r\n")),
                             Timeout);
    say(Borya, QStringLiteral("!СПИСОК"));
    QTRY_VERIFY_WITH_TIMEOUT(
        received(Borya).contains(QStringLiteral("Список пользователей чата:\r\nАня - 0\r\nБоря - 0\r\nКатя - 0")),
        Timeout);
    // A whisper with line breaks, one of them a forged event line: it reaches Katya
    // whole and stays one line of the log.
    const QString forged = QStringLiteral("11.12.2026 12:00:00 Из чата вышел: от 700003 Катя");
    say(Anya, QStringLiteral(">>Катя тайна\r\n") + forged + QStringLiteral("\nещё тайна"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, QStringLiteral("Аня\r\nтайна\r\n") + forged), Timeout);
    for (const QString &line : ChatLog::lines()) {
        if (line.contains(QStringLiteral("тайна")) || line.contains(ChatService::LogLeft))
            QVERIFY2(line.contains(ChatService::LogPrivate), qPrintable(line));
    }
    say(Borya, QStringLiteral("!ИСТОРИЯ"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, ChatService::HistoryHeading + QStringLiteral("\r\n")), Timeout);
    QVERIFY(got(Borya, QStringLiteral("700002 - Борягруппа:0: для всех")));
    QVERIFY(!got(Borya, QStringLiteral("только тебе")));
    QVERIFY(!got(Borya, QStringLiteral("тайна")));
    QVERIFY(!got(Borya, ChatService::LogLeft));

    // Rooms: the list, a change, and the lines of the new room.
    say(Katya, QStringLiteral("!room 2"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, ChatService::RoomChangedText), Timeout);
    say(Borya, QStringLiteral("!allroom"));
    QTRY_VERIFY_WITH_TIMEOUT(received(Borya).contains(QStringLiteral("0 - Общая(2)\r\n1 - Флуд(0)\r\n2 - Игры(1)")),
                             Timeout);
    say(Katya, QStringLiteral("в игровой"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Katya, QStringLiteral("Катя: в игровой")), Timeout);
    say(Borya, QStringLiteral("в общей"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Anya, QStringLiteral("Боря: в общей")), Timeout);
    QVERIFY(!got(Borya, QStringLiteral("в игровой")));
    QVERIFY(!got(Katya, QStringLiteral("в общей")));

    // Leaving: the last member out stops the delivery.
    for (const User &user : {Anya, Borya, Katya}) {
        say(user, QStringLiteral("!ВЫХОД"));
        QTRY_VERIFY_WITH_TIMEOUT(got(user, ChatService::LeftText), Timeout);
    }
    QVERIFY(!timer("Timer10")->isEnabled());
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
}

void tst_ChatOnline::autoMessagesAndReconnectionNotice()
{
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath,
                                 {QStringLiteral("2"), QStringLiteral(" 0 "), QStringLiteral("Первое&^+&&^="),
                                  QStringLiteral("Второе&^+&&^=")}));
    QVERIFY(TextFile::writeLines(RoomList::FilePath, {QStringLiteral("2 Игры"), QStringLiteral("3 Пусто")}));
    startProgram();
    say(Anya, QStringLiteral("!рег Аня"));
    say(Borya, QStringLiteral("!рег Боря"));
    for (const User &user : {Anya, Borya})
        QTRY_VERIFY_WITH_TIMEOUT(got(user, ChatService::RegisteredLines.first()), Timeout);
    say(Borya, QStringLiteral("!room 2"));
    QTRY_VERIFY_WITH_TIMEOUT(got(Borya, ChatService::RoomChangedText), Timeout);

    // The start-up arms the timer when the file holds auto-messages; here it is armed as
    // the start-up does, at a short interval.
    NamedTimer *autoSoob = timer("auto_soob");
    autoSoob->setInterval(50);
    autoSoob->setEnabled(true);
    // Into both occupied rooms, in order.
    for (const User &user : {Anya, Borya}) {
        QTRY_VERIFY_WITH_TIMEOUT(got(user, QStringLiteral("Автоматическое сообщение: Первое")), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(got(user, QStringLiteral("Автоматическое сообщение: Второе")), Timeout);
    }
    autoSoob->setEnabled(false);
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("3"))));
    const QString anya = received(Anya).join(QStringLiteral("\r\n"));
    QVERIFY(anya.indexOf(QStringLiteral("Первое")) < anya.indexOf(QStringLiteral("Второе")));

    // The main bot's session dies silently; the watchdog logs it in again and the
    // members hear that the chat goes on, each through his own bot.
    ReconnectWatchdog &watchdog = m_bot->multiBot().watchdog();
    watchdog.setReconnectInterval(1);
    m_bot->state().AgreementAccepted = 1;
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->isOnline(Bot), Timeout);
    timer("perepodk")->tick();
    timer("perepodk1")->tick();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    NamedTimer *chatTim = timer("chat_tim");
    QTRY_VERIFY_WITH_TIMEOUT(chatTim->isEnabled(), Timeout);
    chatTim->tick();
    QVERIFY(!chatTim->isEnabled());
    for (const User &user : {Anya, Borya})
        QTRY_VERIFY_WITH_TIMEOUT(received(user).contains(ChatService::ReconnectedText), Timeout);
}

QTEST_MAIN(tst_ChatOnline)
#include "tst_chatonline.moc"
