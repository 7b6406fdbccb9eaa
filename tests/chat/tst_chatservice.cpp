// The chat service over its files, with a recording send: the entry, registration and
// joining, chat lines and their delivery, the member commands, auto-messages and the
// reconnection notice.
#include "chat/chatcommand.h"
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/random.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "session/distribution.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Sent
{
    int slot;
    QString text;
    QString to;
    bool operator==(const Sent &) const = default;
};

const QString Vasya = QStringLiteral("1001");
const QString Petya = QStringLiteral("1002");
const QString Masha = QStringLiteral("1003");

} // namespace

Q_DECLARE_METATYPE(Sent)
Q_DECLARE_METATYPE(ChatCommand)

namespace QTest {
template <>
char *toString(const Sent &sent)
{
    return qstrdup(qPrintable(QStringLiteral("[%1 -> %2] %3").arg(sent.slot).arg(sent.to, sent.text)));
}
} // namespace QTest

class tst_ChatService : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chatOffLeavesTheMessageToTheEngine();
    void moderationTriesFirst();
    void registrationRefusals_data();
    void registrationRefusals();
    void registrationAndJoin();
    void deliveryInterval_data();
    void deliveryInterval();
    void chatLineQueuedAndDelivered();
    void prefixFromOptions();
    void forgedLineBreakStaysOneLine_data();
    void forgedLineBreakStaysOneLine();
    void lastCharacterRule_data();
    void lastCharacterRule();
    void obscenityWarns();
    void deliveryOnlyToMembersOfTheRoom();
    void deliveryDeliversQueuesOfDeletedRooms();
    void longDeliverySplitAtLines();
    void aBotThatIsDownHandsOver();
    void privateMessagesAndIgnore();
    void informationCommands();
    void historyLeavesOutPrivateLines();
    void roomsAndLeaving();
    void roomArgumentsWithPathCharacters();
    void autoMessagesInOrder();
    void autoMessagesRandomUniform();
    void autoMessageThatStaysLeavesTheFileAlone();
    void longAutoMessageReachesEveryRoomInParts();
    void reconnectionNotice();
    void joinAfterADisconnect();
    void perRunFilesGo();
    void commandParser_data();
    void commandParser();
    void splitMessage_data();
    void splitMessage();
    void memberWritesRefused_data();
    void memberWritesRefused();

private:
    StageOutcome say(const QString &uin, const QString &text, int slot = 1);
    // The replies to a number since the last call, texts only.
    QStringList repliesTo(const QString &uin);
    void registerMember(const QString &uin, const QString &nick);
    NamedTimer *timer10() const { return m_timers->timer(QStringLiteral("Timer10")); }

    std::unique_ptr<ProgramHome> m_dir;
    FixedClock m_clock;
    ScriptedRandom m_random;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<ChatService> m_chat;
    QList<Sent> m_sent;
    QSet<int> m_downSlots; // sends through these fail
    MessageState m_last;
};

void tst_ChatService::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
    m_random = ScriptedRandom();
    Random::setInstance(&m_random);
    m_timers = std::make_unique<TimerRegistry>();
    m_timers->add(QStringLiteral("Timer10"), 5000);
    m_timers->add(QStringLiteral("auto_soob"), 0);
    m_timers->add(QStringLiteral("chat_tim"), 10000);
    m_sent.clear();
    m_downSlots.clear();
    m_chat = std::make_unique<ChatService>(*m_timers, [this](int slot, const QString &txt, const QString &to) {
        if (m_downSlots.contains(slot))
            return false;
        m_sent.append(Sent{slot, txt, to});
        return true;
    });
    QVERIFY(ChatSwitch::write(true, QStringLiteral("7")));
}

void tst_ChatService::cleanup()
{
    m_chat.reset();
    m_timers.reset();
    Storage::instance().flushAll();
    Random::setInstance(nullptr);
    Clock::setInstance(nullptr);
    m_dir.reset();
}

StageOutcome tst_ChatService::say(const QString &uin, const QString &text, int slot)
{
    m_last = MessageState();
    m_last.SenderUin = uin;
    m_last.MessageText = text;
    m_last.slot = slot;
    return m_chat->HandleChatMessage(m_last);
}

QStringList tst_ChatService::repliesTo(const QString &uin)
{
    QStringList texts;
    for (qsizetype i = 0; i < m_sent.size();) {
        if (m_sent[i].to == uin) {
            texts.append(m_sent[i].text);
            m_sent.removeAt(i);
        } else {
            ++i;
        }
    }
    return texts;
}

void tst_ChatService::registerMember(const QString &uin, const QString &nick)
{
    QCOMPARE(say(uin, QStringLiteral("!рег ") + nick), StageOutcome::Stop);
    QVERIFY(ChatMemberList::find(uin));
    repliesTo(uin);
}

void tst_ChatService::chatOffLeavesTheMessageToTheEngine()
{
    QVERIFY(ChatSwitch::write(false, QString()));
    QCOMPARE(say(Vasya, QStringLiteral("!РЕГ Вася")), StageOutcome::Continue);
    QVERIFY(!m_last.MessageHandled);
    QVERIFY(m_sent.isEmpty());
    QVERIFY(!TextFile::exists(RegistrationList::FilePath));
}

void tst_ChatService::moderationTriesFirst()
{
    QStringList seen;
    m_chat->setModerationStage([&seen](MessageState &state) {
        seen.append(state.MessageText);
        if (state.MessageText.startsWith(QStringLiteral("!КИК")))
            state.MessageHandled = true;
        if (state.MessageText == QStringLiteral("!ответ"))
            return StageOutcome::SendNow;
        return StageOutcome::Continue;
    });
    QVERIFY(ChatSwitch::write(false, QString()));
    QCOMPARE(say(Vasya, QStringLiteral("!КИК Петя")), StageOutcome::Stop);
    QVERIFY(m_last.MessageHandled);
    // An answer the moderation leaves for the engine goes on to it.
    QCOMPARE(say(Vasya, QStringLiteral("!ответ")), StageOutcome::SendNow);
    QVERIFY(ChatSwitch::write(true, QStringLiteral("7")));
    registerMember(Vasya, QStringLiteral("Вася"));
    seen.clear();
    // A member's text is tried once as received and once shortened.
    say(Vasya, QStringLiteral("привет\n"));
    QCOMPARE(seen, (QStringList{"привет\n", "привет"}));
}

void tst_ChatService::registrationRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reply");
    QTest::newRow("two words") << "!РЕГ Вася Пупкин" << ChatService::NickBlankText;
    QTest::newRow("tab") << "!РЕГ Ва\tся" << ChatService::NickBlankText;
    QTest::newRow("control character") << QStringLiteral("!РЕГ Ва") + QChar(0x01) + QStringLiteral("ся")
                                      << ChatService::NickBlankText;
    QTest::newRow("line break inside") << "!РЕГ Ва\r\nся" << ChatService::NickBlankText;
    QTest::newRow("separator") << "!РЕГ a:^:b" << ChatService::NickForbiddenText;
    QTest::newRow("break code") << "!РЕГ a^&^&b" << ChatService::NickForbiddenText;
    QTest::newRow("16 letters") << "!РЕГ абвгдеёжзийклмно" << ChatService::NickTooLongText;
    QTest::newRow("taken") << "!РЕГ Петя" << ChatService::NickTakenText;
}

void tst_ChatService::registrationRefusals()
{
    QFETCH(QString, text);
    QFETCH(QString, reply);
    QVERIFY(RegistrationList::add(Registration{Petya, QStringLiteral("Петя")}));
    QCOMPARE(say(Vasya, text), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{reply});
    QVERIFY(!RegistrationList::find(Vasya));
    QVERIFY(!ChatMemberList::find(Vasya));
}

void tst_ChatService::registrationAndJoin()
{
    QSignalSpy members(m_chat.get(), &ChatService::membersChanged);
    QVERIFY(ChatOptions::write({true, true, true, true, true, false, false, false, false, false, false}));
    QCOMPARE(m_chat->ChatState(), QString());
    // The exclamation mark is no nick character; 15 letters pass.
    QCOMPARE(say(Vasya, QStringLiteral("!рег абвгдежзийклмно!")), StageOutcome::Stop);
    QVERIFY(m_last.MessageHandled);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::RegisteredLines.join(QStringLiteral("\r\n"))});
    QCOMPARE(RegistrationList::find(Vasya)->nick, QStringLiteral("абвгдежзийклмно"));
    QCOMPARE(ChatMemberList::find(Vasya)->room, QStringLiteral("0"));
    QCOMPARE(RoomMembers::count(QStringLiteral("0")), 1);
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")), QStringList{"  К нам присоединился: абвгдежзийклмно"});
    QCOMPARE(m_chat->ChatState(), ChatService::ConnectedState);
    QCOMPARE(members.size(), 1);
    QVERIFY(timer10()->isEnabled());
    QCOMPARE(timer10()->interval(), 7000);
    QCOMPARE(ChatLog::lines(),
             QStringList{"11.12.2026 9:05:07 Регистрация нового ника: 1001 - абвгдежзийклмно"});
    QCOMPARE(TextFile::readLines(ChatLog::HistoryPath), ChatLog::lines());

    // A registered number that left: one nick only, and "!ЧАТ" brings it back.
    QCOMPARE(say(Vasya, QStringLiteral("!EXIT")), StageOutcome::Stop);
    repliesTo(Vasya);
    QCOMPARE(say(Vasya, QStringLiteral("!REG другой")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::OneNickText});
    QCOMPARE(say(Vasya, QStringLiteral("!чат")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::JoinedText});
    QCOMPARE(say(Petya, QStringLiteral("!CHAT")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Petya), QStringList{ChatService::NotRegisteredText});
    // With an argument it is no join command: the engine has it.
    QCOMPARE(say(Petya, QStringLiteral("!CHAT now")), StageOutcome::Continue);
    QCOMPARE(say(Petya, QStringLiteral("!РЕГ")), StageOutcome::Continue);
    QVERIFY(m_sent.isEmpty());

    Storage::instance().flushAll();
    QCOMPARE(ChatStatistics::totalValues(), (QStringList{" 1 ", " 1 ", " 0 ", " 0 "}));
}

void tst_ChatService::deliveryInterval_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("interval");
    QTest::newRow("3 seconds") << "3" << 3000;
    QTest::newRow("empty") << "" << 5000;
    QTest::newRow("above the limit keeps") << "3601" << 1234;
    QTest::newRow("zero keeps") << "0" << 1234;
    QTest::newRow("word keeps") << "abc" << 1234;
    QTest::newRow("hour") << "3600" << 3600000;
}

void tst_ChatService::deliveryInterval()
{
    QFETCH(QString, line);
    QFETCH(int, interval);
    QVERIFY(TextFile::writeLines(ChatSwitch::FilePath, {ChatSwitch::OnText, line}));
    timer10()->setInterval(1234);
    registerMember(Vasya, QStringLiteral("Вася"));
    QCOMPARE(timer10()->interval(), interval);
    QVERIFY(timer10()->isEnabled());
}

void tst_ChatService::chatLineQueuedAndDelivered()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(TextFile::writeLines(BotDistribution::AssignmentFile, {"2 " + Vasya, "3 " + Petya}));
    m_chat->Timer10_Timer(); // nothing queued: no notices are on
    QVERIFY(m_sent.isEmpty());

    timer10()->setEnabled(false);
    QCOMPARE(say(Vasya, QStringLiteral("привет всем")), StageOutcome::Stop);
    QVERIFY(m_last.MessageHandled);
    QVERIFY(m_sent.isEmpty()); // no reply of its own
    QVERIFY(timer10()->isEnabled());
    QCOMPARE(timer10()->interval(), 7000);
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")),
             QStringList{"1001:^:11.12.2026 9:05:07 1001 - Вася: привет всем"});
    QCOMPARE(ChatLog::lines().constFirst(), QStringLiteral("11.12.2026 9:05:07 1001 - Васягруппа:0: привет всем"));

    QSignalSpy delivered(m_chat.get(), &ChatService::delivered);
    m_chat->Timer10_Timer();
    const QString line = QStringLiteral("11.12.2026 9:05:07 1001 - Вася: привет всем");
    QCOMPARE(m_sent, (QList<Sent>{{2, line, Vasya}, {3, line, Petya}}));
    QCOMPARE(delivered.size(), 1);
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("0"))));
    m_sent.clear();
    m_chat->Timer10_Timer();
    QVERIFY(m_sent.isEmpty());
}

void tst_ChatService::prefixFromOptions()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    QVERIFY(ChatOptions::write({true, false, false, true, false, false, false, false, false, false, false}));
    say(Vasya, QStringLiteral("x"));
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")), QStringList{"1001:^:11.12.2026 Вася: x"});
}

void tst_ChatService::forgedLineBreakStaysOneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("seen");
    QTest::newRow("CR LF") << "a\r\n9999:^:forged" << "a^&^&9999:^:forged" << "a\r\n9999:^:forged";
    QTest::newRow("lone LF") << "a\n  forged notice" << "a^&^&  forged notice" << "a\r\n  forged notice";
    QTest::newRow("lone CR") << "a\rb" << "a^&^&b" << "a\r\nb";
    QTest::newRow("leading breaks") << "\r\n\r\nb" << "^&^&b" << "\r\nb";
    QTest::newRow("trailing break") << "a\r\n." << "a^&^&." << "a\r\n.";
}

void tst_ChatService::forgedLineBreakStaysOneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QFETCH(QString, seen);
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, false, false, false, false}));
    registerMember(Vasya, QStringLiteral("Вася"));
    say(Vasya, text);
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")), QStringList{Vasya + QStringLiteral(":^:Вася: ") + encoded});
    m_chat->Timer10_Timer();
    QCOMPARE(m_sent, (QList<Sent>{{1, QStringLiteral("Вася: ") + seen, Vasya}}));
}

void tst_ChatService::lastCharacterRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("nickSet");
    QTest::addColumn<QString>("result");
    QTest::newRow("question mark") << "как дела?" << false << "как дела?";
    QTest::newRow("line break") << "a\r\n" << false << "a\r";
    QTest::newRow("yo") << "ещё ё" << false << "ещё ";
    QTest::newRow("latin") << "abc" << false << "abc";
    QTest::newRow("cyrillic small") << "я" << false << "я";
    QTest::newRow("nick exclamation") << "Вася!" << true << "Вася";
    QTest::newRow("nick question") << "Вася?" << true << "Вася?";
    QTest::newRow("member exclamation") << "Вася!" << false << "Вася!";
    QTest::newRow("empty") << "" << false << "";
}

void tst_ChatService::lastCharacterRule()
{
    QFETCH(QString, text);
    QFETCH(bool, nickSet);
    QTEST(ChatService::ApplyLastCharacterRule(
              text, nickSet ? ChatService::CharacterSet::Nick : ChatService::CharacterSet::Member),
          "result");
}

void tst_ChatService::obscenityWarns()
{
    int warnings = 0;
    m_chat->setWarnSender([&warnings](MessageState &) { ++warnings; });
    QVERIFY(TextFile::writeLines(ObscenityLists::WordsPath, {"ХРЕН", "", "ПРИВЕТ"}));
    QVERIFY(TextFile::writeLines(ObscenityLists::ExceptionsPath, {"", "хреновина"}));
    registerMember(Vasya, QStringLiteral("Вася"));
    QCOMPARE(say(Vasya, QStringLiteral("ну хрен")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::ObscenityText});
    QCOMPARE(warnings, 1);
    QVERIFY(RoomQueue::lines(QStringLiteral("0")).isEmpty());
    // The exception forgives, and a word after the empty line is never tested.
    say(Vasya, QStringLiteral("эта хреновина, привет"));
    QVERIFY(repliesTo(Vasya).isEmpty());
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")).size(), 1);
    QCOMPARE(warnings, 1);
}

void tst_ChatService::deliveryOnlyToMembersOfTheRoom()
{
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, false, false, false, false}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    registerMember(Masha, QStringLiteral("Маша"));
    // A ghost: in the room's file, not in the member list (a disconnect, a ban).
    QVERIFY(TextFile::appendLine(RoomMembers::filePath(QStringLiteral("0")), QStringLiteral("5555 Призрак")));
    // Masha ignores Vasya's lines; a list of 10012 ignores nobody here.
    QVERIFY(IgnoreList::add(Masha, Vasya));
    QVERIFY(IgnoreList::add(Petya, QStringLiteral("10012")));
    say(Vasya, QStringLiteral("раз"));
    say(Petya, QStringLiteral("два"));
    m_chat->Timer10_Timer();
    QCOMPARE(repliesTo(Vasya), QStringList{"Вася: раз\r\nПетя: два"});
    QCOMPARE(repliesTo(Petya), QStringList{"Вася: раз\r\nПетя: два"});
    QCOMPARE(repliesTo(Masha), QStringList{"Петя: два"});
    QVERIFY(m_sent.isEmpty());

    // Only Vasya's lines: Masha gets nothing at all.
    say(Vasya, QStringLiteral("три"));
    m_chat->Timer10_Timer();
    QVERIFY(repliesTo(Masha).isEmpty());
    QCOMPARE(repliesTo(Petya), QStringList{"Вася: три"});
}

void tst_ChatService::deliveryDeliversQueuesOfDeletedRooms()
{
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, false, false, false, false}));
    QVERIFY(RoomList::add(Room{QStringLiteral("2"), QStringLiteral("Игры")}));
    registerMember(Vasya, QStringLiteral("Вася"));
    QCOMPARE(say(Vasya, QStringLiteral("!room 2")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::RoomChangedText});
    say(Vasya, QStringLiteral("в игровой"));
    QVERIFY(m_chat->removeRoom(QStringLiteral("2")));
    m_chat->Timer10_Timer();
    QCOMPARE(repliesTo(Vasya), QStringList{"Вася: в игровой"});
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("2"))));
}

void tst_ChatService::longDeliverySplitAtLines()
{
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, false, false, false, false}));
    registerMember(Vasya, QStringLiteral("В"));
    const QString chunk(1500, QLatin1Char('x'));
    say(Vasya, chunk);
    say(Vasya, chunk);
    m_chat->Timer10_Timer();
    QCOMPARE(repliesTo(Vasya), (QStringList{"В: " + chunk, "В: " + chunk}));
}

void tst_ChatService::aBotThatIsDownHandsOver()
{
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, true, false, false, false}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(TextFile::writeLines(BotDistribution::AssignmentFile, {"2 " + Vasya, "3 " + Petya}));
    m_downSlots = {3};
    say(Vasya, QStringLiteral("слышно?"));
    m_chat->Timer10_Timer();
    QCOMPARE(m_sent, (QList<Sent>{{2, QStringLiteral("Вася: слышно?"), Vasya}, {1, QStringLiteral("Вася: слышно?"), Petya}}));
    m_sent.clear();
    // A whisper falls back to the bot that received it.
    say(Vasya, QStringLiteral(">>Петя тихо"), 2);
    QCOMPARE(m_sent, (QList<Sent>{{2, QStringLiteral("Вам приватное сообщение от: Вася\r\nтихо"), Petya}}));
}

void tst_ChatService::privateMessagesAndIgnore()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(TextFile::writeLines(BotDistribution::AssignmentFile, {"3 " + Petya}));
    QCOMPARE(say(Vasya, QStringLiteral(">>Петя привет, Петя"), 2), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::PrivateOffText});

    QVERIFY(ChatOptions::write({true, true, true, true, false, false, false, true, false, false, false}));
    say(Vasya, QStringLiteral(">>Петя привет, Петя"), 2);
    // Through the recipient's own bot.
    QCOMPARE(m_sent, (QList<Sent>{{3, QStringLiteral("Вам приватное сообщение от: Вася\r\nпривет, Петя"), Petya}}));
    m_sent.clear();
    say(Petya, QStringLiteral(">>Вася ответ"), 3);
    QCOMPARE(m_sent, (QList<Sent>{{3, QStringLiteral("Вам приватное сообщение от: Петя\r\nответ"), Vasya}}));
    m_sent.clear();
    say(Vasya, QStringLiteral(">>петя нет"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::NoSuchNickText});
    say(Vasya, QStringLiteral(">>Петя"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::NoSuchNickText});
    QVERIFY(RoomQueue::lines(QStringLiteral("0")).isEmpty());
    QVERIFY(ChatLog::lines().constFirst().startsWith(
        QStringLiteral("11.12.2026 9:05:07 Послано приватное сообщение от: 1002 к Вася >>Вася ответ")));

    say(Masha, QStringLiteral("x"));
    QCOMPARE(say(Vasya, QStringLiteral("!игнор Маша")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::NoSuchMemberText});
    QVERIFY(!TextFile::exists(IgnoreList::filePath(Vasya)));
    QCOMPARE(say(Vasya, QStringLiteral("!уигнор Петя")), StageOutcome::Stop);
    QVERIFY(repliesTo(Vasya).isEmpty());
    say(Vasya, QStringLiteral("!ignor Петя"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::IgnoredText});
    QCOMPARE(TextFile::readBytes(IgnoreList::filePath(Vasya)), QByteArray("\r\n1002\r\n"));
    say(Vasya, QStringLiteral("!UIGNOR Петя"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::UnignoredText});
    QVERIFY(!IgnoreList::ignores(Vasya, Petya));
    // "!IGNOR" alone is a chat line.
    say(Vasya, QStringLiteral("!IGNOR"));
    QCOMPARE(RoomQueue::lines(QStringLiteral("0")).size(), 1);
}

void tst_ChatService::informationCommands()
{
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, {"Администратор:" + Vasya, "Премодератор:" + Petya,
                                                       "без двоеточия", "Модератор:9999"}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(InvisibleList::add(Vasya));
    say(Petya, QStringLiteral("!adm"));
    QCOMPARE(repliesTo(Petya),
             QStringList{"Администраторы:\r\nВася\r\n\r\nМодераторы:\r\n\r\n\r\nПремодераторы:\r\nПетя"});

    Storage::instance().flushAll();
    say(Petya, QStringLiteral("!stat"));
    QCOMPARE(repliesTo(Petya), QStringList{"Статистика за сегодня:\r\nЗарегестрировано:  2 \r\nАвторизовано:  0 \r\n"
                                           "Сообщений:  0 \r\nЗабанено:  0 \r\n\r\nВсего:\r\n"
                                           "Зарегестрировано:  2 \r\nАвторизовано:  0 \r\nСообщений:  0 \r\n"
                                           "Забанено:  0 "});

    say(Petya, QStringLiteral("!СПИСОК"));
    QCOMPARE(repliesTo(Petya), QStringList{ChatService::FunctionOffText});
    QVERIFY(ChatOptions::write({true, true, true, true, false, true, true, false, false, false, false}));
    say(Petya, QStringLiteral("!список"));
    // The invisible administrator is not listed.
    QCOMPARE(repliesTo(Petya), QStringList{"Список пользователей чата:\r\nПетя - 1002 - 0"});
    QVERIFY(ChatOptions::write({true, true, true, true, false, true, false, false, false, false, false}));
    say(Petya, QStringLiteral("!СПИСОК"));
    QCOMPARE(repliesTo(Petya), QStringList{"Список пользователей чата:\r\nПетя - 0"});
    QVERIFY(ChatLog::lines().constFirst().endsWith(
        QStringLiteral("Сделан запрос на показ списка пользователей чата: от 1002")));
    QCOMPARE(say(Petya, QStringLiteral("!ИСТОРИЯ")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Petya), QStringList{ChatService::FunctionOffText});
}

void tst_ChatService::historyLeavesOutPrivateLines()
{
    QVERIFY(ChatOptions::write({false, false, false, true, false, false, false, true, false, false, true}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    // A whisper whose line breaks would make lines of their own, one of them a forged event.
    say(Vasya, QStringLiteral(">>Петя секрет\r\n11.12.2026 9:05:07 Из чата вышел: от 1003 Маша\nещё секрет"));
    QCOMPARE(ChatLog::lines().size(), 3);
    say(Vasya, QStringLiteral("открыто"));
    m_sent.clear();
    QCOMPARE(say(Petya, QStringLiteral("!История")), StageOutcome::Continue);
    QVERIFY(!m_last.MessageHandled);
    QVERIFY(m_sent.isEmpty());
    QVERIFY(m_last.ReplyText.startsWith(ChatService::HistoryHeading + QStringLiteral("\r\n")));
    QVERIFY(m_last.ReplyText.contains(QStringLiteral("открыто")));
    QVERIFY(!m_last.ReplyText.contains(QStringLiteral("секрет")));
    QVERIFY(!m_last.ReplyText.contains(ChatService::LogLeft));
    QVERIFY(!m_last.ReplyText.contains(QStringLiteral("запрос на показ истории")));

    // A long log: only the newest whole lines that fit.
    for (int i = 0; i < 60; ++i)
        say(Vasya, QStringLiteral("строка %1 ").arg(i) + QString(40, QLatin1Char('z')));
    // The newest lines are read where they wait; the log is not rewritten for a request.
    const QString logFile = TextFile::filePath(ChatLog::FilePath);
    QVERIFY(QFile::exists(Storage::journalPath(logFile)));
    const std::optional<Storage::Stamp> logBefore = Storage::stampOf(logFile);
    say(Petya, QStringLiteral("!ИСТОРИЯ"));
    QCOMPARE(Storage::stampOf(logFile), logBefore);
    QVERIFY(QFile::exists(Storage::journalPath(logFile)));
    QVERIFY(m_last.ReplyText.size() <= ChatService::MaxMessageLength);
    const QStringList lines = m_last.ReplyText.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QVERIFY(lines.value(1).contains(QStringLiteral("строка 59 ")));
    QVERIFY(lines.constLast().contains(QStringLiteral("строка ")));
}

void tst_ChatService::roomsAndLeaving()
{
    QVERIFY(ChatOptions::write({false, false, false, true, true, false, false, false, false, false, false}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    registerMember(Masha, QStringLiteral("Маша"));
    QCOMPARE(say(Vasya, QStringLiteral("!ROOM 2")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::NoRoomsText});
    QVERIFY(m_chat->addRoom(Room{QStringLiteral("1"), QStringLiteral("Флуд")}));
    QVERIFY(m_chat->addRoom(Room{QStringLiteral("2"), QStringLiteral("Игры")}));
    // Without its argument it is a chat line.
    say(Vasya, QStringLiteral("!ROOM"));
    QVERIFY(repliesTo(Vasya).isEmpty());
    QVERIFY(RoomQueue::lines(QStringLiteral("0")).constLast().endsWith(QStringLiteral("Вася: !ROOM")));
    m_chat->Timer10_Timer();
    m_sent.clear();

    QSignalSpy moved(m_chat.get(), &ChatService::memberRoomChanged);
    say(Masha, QStringLiteral("!room 2"));
    QCOMPARE(repliesTo(Masha), QStringList{ChatService::RoomChangedText});
    QCOMPARE(moved.size(), 1);
    QCOMPARE(ChatMemberList::find(Masha)->room, QStringLiteral("2"));
    QCOMPARE(RoomQueue::lines(QStringLiteral("2")), QStringList{"  К нам присоединился: Маша"});
    say(Masha, QStringLiteral("!room 0"));
    QCOMPARE(repliesTo(Masha), QStringList{ChatService::NoSuchRoomText});

    say(Vasya, QStringLiteral("!спкомнат"));
    QCOMPARE(repliesTo(Vasya), QStringList{"0 - Общая(2)\r\n1 - Флуд(0)\r\n2 - Игры(1)"});
    say(Vasya, QStringLiteral("!inroom 0"));
    QCOMPARE(repliesTo(Vasya), QStringList{"Вася\r\nПетя"});
    QVERIFY(ChatOptions::write({false, false, false, true, true, false, true, false, false, false, false}));
    say(Vasya, QStringLiteral("!ВКОМНАТЕ 2"));
    QCOMPARE(repliesTo(Vasya), QStringList{"1003 Маша"});
    say(Vasya, QStringLiteral("!inroom 1"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::EmptyRoomText});

    // Leaving: the last member out stops the delivery.
    say(Masha, QStringLiteral("!выход"));
    QCOMPARE(repliesTo(Masha), QStringList{ChatService::LeftText});
    QVERIFY(!TextFile::exists(RoomMembers::filePath(QStringLiteral("2"))));
    QVERIFY(RoomQueue::lines(QStringLiteral("2")).contains(QStringLiteral("  Чат покинул : Маша")));
    QVERIFY(timer10()->isEnabled());
    say(Vasya, QStringLiteral("!EXIT"));
    say(Petya, QStringLiteral("!EXIT"));
    QVERIFY(!timer10()->isEnabled());
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
    QVERIFY(!TextFile::exists(RoomMembers::filePath(QStringLiteral("0"))));
    // The common room works again after it emptied.
    say(Vasya, QStringLiteral("!ЧАТ"));
    QCOMPARE(repliesTo(Vasya).constLast(), ChatService::JoinedText);
    say(Vasya, QStringLiteral("снова тут"));
    m_sent.clear();
    m_chat->Timer10_Timer();
    QVERIFY(repliesTo(Vasya).constLast().contains(QStringLiteral("Вася: снова тут")));
}

void tst_ChatService::roomArgumentsWithPathCharacters()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    QVERIFY(RoomList::add(Room{QStringLiteral("2"), QStringLiteral("Игры")}));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), QStringLiteral("Secret=1\r\n")));
    say(Vasya, QStringLiteral("!inroom ..\\..\\Настройки\\Общие"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::EmptyRoomText});
    say(Vasya, QStringLiteral("!room ../2"));
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::NoSuchRoomText});
    QCOMPARE(ChatMemberList::find(Vasya)->room, QStringLiteral("0"));
}

void tst_ChatService::autoMessagesInOrder()
{
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath, {"2", " 0 ", "первое&^1&^<", "второе&^+&&^=", "третье&^0&^>"}));
    QVERIFY(RoomList::add(Room{QStringLiteral("3"), QStringLiteral("Пусто")}));
    QVERIFY(RoomList::add(Room{QStringLiteral("5"), QStringLiteral("Занято")}));
    // Nobody joined yet: the seconds are not counted.
    for (int i = 0; i < 5; ++i)
        m_chat->auto_soob_Timer();
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("0"))));

    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    say(Petya, QStringLiteral("!room 5"));
    QStringList sent;
    for (int i = 0; i < 10; ++i) {
        m_chat->auto_soob_Timer();
        const QStringList queued = RoomQueue::take(QStringLiteral("0"));
        if (!queued.isEmpty()) {
            sent += queued;
            QCOMPARE(RoomQueue::take(QStringLiteral("5")), queued);
            QVERIFY(RoomQueue::take(QStringLiteral("3")).isEmpty());
        }
    }
    // Every second tick; entries in turn; "первое" goes twice (count 1, then 0) and leaves.
    QCOMPARE(sent, (QStringList{"  Автоматическое сообщение: первое", "  Автоматическое сообщение: второе",
                                "  Автоматическое сообщение: третье", "  Автоматическое сообщение: первое",
                                "  Автоматическое сообщение: второе"}));
    QCOMPARE(TextFile::readLines(AutoMessages::FilePath),
             (QStringList{"2", " 0 ", "второе&^+&&^=", "третье&^1&^>"}));
}

void tst_ChatService::autoMessagesRandomUniform()
{
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath, {"1", " 1 ", "a&^+&&^<", "b&^+&&^<", "c&^+&&^<"}));
    registerMember(Vasya, QStringLiteral("Вася"));
    m_random.queue({2, 0, 1});
    QStringList sent;
    for (int i = 0; i < 3; ++i) {
        m_chat->auto_soob_Timer();
        sent += RoomQueue::take(QStringLiteral("0"));
    }
    QCOMPARE(sent, (QStringList{"  Автоматическое сообщение: c", "  Автоматическое сообщение: a",
                                "  Автоматическое сообщение: b"}));
}

void tst_ChatService::autoMessageThatStaysLeavesTheFileAlone()
{
    // Hand-edited (bare LF line ends): a rewrite would show in its bytes.
    const QByteArray bytes = "1\n 0 \nвсегда&^+&&^<\nровно&^7&^=\n";
    QVERIFY(TextFile::writeBytes(AutoMessages::FilePath, Cp1251::encode(QString::fromUtf8(bytes))));
    registerMember(Vasya, QStringLiteral("Вася"));
    QStringList sent;
    for (int i = 0; i < 3; ++i) {
        m_chat->auto_soob_Timer();
        sent += RoomQueue::take(QStringLiteral("0"));
    }
    QCOMPARE(sent, (QStringList{"  Автоматическое сообщение: всегда", "  Автоматическое сообщение: ровно",
                                "  Автоматическое сообщение: всегда"}));
    QFile file(TextFile::filePath(AutoMessages::FilePath));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), Cp1251::encode(QString::fromUtf8(bytes)));
}

void tst_ChatService::longAutoMessageReachesEveryRoomInParts()
{
    // Separators of other files go out as they stand.
    const QString text = QString(2500, QChar(0x0436)) + QStringLiteral(":^:====") + QString(10, QLatin1Char('a'));
    QVERIFY(TextFile::writeLines(AutoMessages::FilePath, {"1", " 0 ", text + "&^+&&^="}));
    QVERIFY(RoomList::add(Room{QStringLiteral("5"), QStringLiteral("Занято")}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    say(Petya, QStringLiteral("!room 5"));
    m_chat->Timer10_Timer();
    m_sent.clear();
    m_chat->auto_soob_Timer();
    m_chat->Timer10_Timer();
    const QString whole = QStringLiteral("Автоматическое сообщение: ") + text;
    const QStringList parts = {whole.left(2000), whole.mid(2000)};
    QCOMPARE(repliesTo(Vasya), parts);
    QCOMPARE(repliesTo(Petya), parts);
    // The entry stays as it was.
    QCOMPARE(TextFile::readLines(AutoMessages::FilePath), (QStringList{"1", " 0 ", text + "&^+&&^="}));
}

void tst_ChatService::reconnectionNotice()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(TextFile::writeLines(BotDistribution::AssignmentFile, {"2 " + Petya}));
    NamedTimer *chatTim = m_timers->timer(QStringLiteral("chat_tim"));
    m_chat->noteSignedOn(1);
    QVERIFY(!chatTim->isEnabled());
    m_chat->setNotifyChatAfterLogin(true);
    m_chat->noteSignedOn(1);
    QVERIFY(chatTim->isEnabled());
    QVERIFY(!m_chat->NotifyChatAfterLogin());
    m_chat->chat_tim_Timer();
    QVERIFY(!chatTim->isEnabled());
    QCOMPARE(m_sent, (QList<Sent>{{1, ChatService::ReconnectedText, Vasya}, {2, ChatService::ReconnectedText, Petya}}));

    m_sent.clear();
    QVERIFY(ChatSwitch::write(false, QString()));
    m_chat->chat_tim_Timer();
    QVERIFY(m_sent.isEmpty());
}

void tst_ChatService::joinAfterADisconnect()
{
    QVERIFY(RoomList::add(Room{QStringLiteral("2"), QStringLiteral("Игры")}));
    registerMember(Vasya, QStringLiteral("Вася"));
    say(Vasya, QStringLiteral("!ROOM 2"));
    repliesTo(Vasya);
    // The disconnect deletes the member list only; the room files stay.
    QVERIFY(ChatMemberList::clear());
    QVERIFY(RoomMembers::add(QStringLiteral("0"), Vasya, QStringLiteral("Вася")));
    QVERIFY(RoomMembers::contains(QStringLiteral("2"), Vasya));
    QCOMPARE(say(Vasya, QStringLiteral("!ЧАТ")), StageOutcome::Stop);
    QCOMPARE(repliesTo(Vasya), QStringList{ChatService::JoinedText});
    QCOMPARE(RoomMembers::count(QStringLiteral("0")), 1);
    QVERIFY(!RoomMembers::contains(QStringLiteral("2"), Vasya));
    // Notices off: the join is logged, the history is left alone.
    QVERIFY(ChatLog::lines().constFirst().endsWith(QStringLiteral("Авторизовался: 1001 - Вася")));
    QVERIFY(ChatHistory::lines().isEmpty());
    QVERIFY(RoomQueue::lines(QStringLiteral("0")).isEmpty());
}

void tst_ChatService::perRunFilesGo()
{
    registerMember(Vasya, QStringLiteral("Вася"));
    say(Vasya, QStringLiteral("строка"));
    QSignalSpy members(m_chat.get(), &ChatService::membersChanged);
    m_chat->cleanUpPerRunFiles();
    QCOMPARE(members.size(), 1);
    QVERIFY(!TextFile::exists(ChatMemberList::FilePath));
    QVERIFY(!TextFile::exists(RoomMembers::filePath(QStringLiteral("0"))));
    QVERIFY(!TextFile::exists(RoomQueue::filePath(QStringLiteral("0"))));
    QVERIFY(TextFile::exists(RegistrationList::FilePath));
    QVERIFY(TextFile::exists(ChatSwitch::FilePath));
}

void tst_ChatService::splitMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    const QString a(1500, QLatin1Char('a'));
    const QString b(600, QLatin1Char('b'));
    const QString c(2500, QLatin1Char('c'));
    QTest::newRow("short") << "x\r\ny" << QStringList{"x\r\ny"};
    QTest::newRow("at a line end") << a + "\r\n" + b << QStringList{a, b};
    QTest::newRow("one long line") << c << QStringList{c.left(2000), c.mid(2000)};
    QTest::newRow("exactly 2000") << QString(2000, QLatin1Char('d')) << QStringList{QString(2000, QLatin1Char('d'))};
    QTest::newRow("empty") << QString() << QStringList{QString()};
    QTest::newRow("a long line between short ones")
        << "x\r\n" + c + "\r\ny" << QStringList{"x", c.left(2000), c.mid(2000) + "\r\ny"};
    QTest::newRow("lines that just fit") << a + "\r\n" + QString(498, QLatin1Char('e')) + "\r\n"
                                         << QStringList{a + "\r\n" + QString(498, QLatin1Char('e')), QString()};
}

void tst_ChatService::splitMessage()
{
    QFETCH(QString, text);
    QTEST(ChatService::splitMessage(text), "parts");
}

void tst_ChatService::memberWritesRefused_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::newRow("registration") << Masha << "!рег Маша";
    QTest::newRow("join") << Petya << "!чат";
    QTest::newRow("ignore") << Vasya << "!игнор Петя";
    QTest::newRow("unignore") << Vasya << "!уигнор Петя";
    QTest::newRow("room change") << Vasya << "!room 5";
    QTest::newRow("leaving") << Vasya << "!выход";
}

void tst_ChatService::memberWritesRefused()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    QVERIFY(TextFile::writeLines(RoomList::FilePath, {QStringLiteral("5 Зал")}));
    registerMember(Vasya, QStringLiteral("Вася"));
    registerMember(Petya, QStringLiteral("Петя"));
    QVERIFY(IgnoreList::add(Vasya, Petya));
    if (sender == Petya) {
        say(Petya, QStringLiteral("!выход"));
        repliesTo(Petya);
    }
    Storage::instance().flushAll();
    const QStringList files = {ChatMemberList::FilePath, RegistrationList::FilePath, RoomMembers::filePath("0"),
                               RoomMembers::filePath("5"), IgnoreList::filePath(Vasya), ChatLog::FilePath};
    QStringList before;
    for (const QString &file : files)
        before.append(TextFile::readAll(file));
    QSignalSpy members(m_chat.get(), &ChatService::membersChanged);
    QSignalSpy rooms(m_chat.get(), &ChatService::memberRoomChanged);
    {
        // The disk takes no byte.
        FileProbe::FileSizeLimit full(0);
        QVERIFY(full.ok());
        QCOMPARE(say(sender, text), StageOutcome::Stop);
    }
    QCOMPARE(repliesTo(sender), QStringList{ChatService::SaveFailedText});
    QCOMPARE(m_sent, QList<Sent>{});
    QCOMPARE(members.size(), 0);
    QCOMPARE(rooms.size(), 0);
    for (qsizetype i = 0; i < files.size(); ++i)
        QCOMPARE(TextFile::readAll(files[i]), before[i]);
}

void tst_ChatService::commandParser_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<ChatCommand>("command");
    QTest::addColumn<QString>("argument");
    using C = ChatCommand;

    // A stranger's.
    QTest::newRow("join") << "!chat" << C::Join << "";
    QTest::newRow("join in Cyrillic, mixed case") << "!ЧаТ" << C::Join << "";
    QTest::newRow("join with a blank after it") << "!chat " << C::None << "";
    QTest::newRow("register") << "!рег Вася" << C::Register << "Вася";
    QTest::newRow("register, Latin") << "!REG Вася" << C::Register << "Вася";
    QTest::newRow("register keeps the rest as written") << "!reg  Вася Пупкин" << C::Register << " Вася Пупкин";
    QTest::newRow("register without a blank") << "!reg" << C::None << "";
    QTest::newRow("a blank first: no word") << " !reg Вася" << C::None << "!reg Вася";
    // A member's.
    QTest::newRow("whisper") << ">>Катя только тебе" << C::Private << "только тебе";
    QTest::newRow("whisper without text") << ">>Катя" << C::Private << "";
    QTest::newRow("ignore") << "!игнор Аня" << C::Ignore << "Аня";
    QTest::newRow("ignore, Latin") << "!Ignor Аня" << C::Ignore << "Аня";
    QTest::newRow("unignore") << "!УИГНОР Аня" << C::Unignore << "Аня";
    QTest::newRow("staff") << "!Адм" << C::StaffList << "";
    QTest::newRow("statistics") << "!сатистика" << C::Statistics << "";
    QTest::newRow("statistics, Latin") << "!stat" << C::Statistics << "";
    QTest::newRow("history") << "!история" << C::History << "";
    QTest::newRow("member list") << "!СПИСОК" << C::MemberList << "";
    QTest::newRow("room list") << "!allroom" << C::RoomList << "";
    QTest::newRow("room list, Cyrillic") << "!спкомнат" << C::RoomList << "";
    QTest::newRow("room members") << "!inroom 2" << C::RoomMembers << "2";
    QTest::newRow("room members, Cyrillic") << "!вкомнате ..\\1" << C::RoomMembers << "..\\1";
    QTest::newRow("room change") << "!room 2" << C::ChangeRoom << "2";
    QTest::newRow("room change without a room") << "!room " << C::ChangeRoom << "";
    QTest::newRow("leave") << "!выход" << C::Leave << "";
    QTest::newRow("leave, Latin") << "!Exit" << C::Leave << "";
    // The staff's.
    QTest::newRow("delete a room") << "!delroom 7" << C::DeleteRoom << "7";
    QTest::newRow("create a room") << "!CRROOM 5 Курилка" << C::CreateRoom << "5 Курилка";
    QTest::newRow("unban") << "!убан Вася" << C::Unban << "Вася";
    QTest::newRow("kick") << "!кик Вася" << C::Kick << "Вася";
    QTest::newRow("kick, Latin") << "!qiq Вася" << C::Kick << "Вася";
    QTest::newRow("ban") << "!бан Вася 10 флуд" << C::Ban << "Вася 10 флуд";
    QTest::newRow("permanent ban") << "!!BAN Вася" << C::PermanentBan << "Вася";
    QTest::newRow("rename") << "!ник Боря Борис" << C::Rename << "Боря Борис";
    QTest::newRow("invisible off") << "!inviz off" << C::InvisibleOff << "off";
    QTest::newRow("invisible on") << "!INVIZ ON" << C::InvisibleOn << "ON";
    QTest::newRow("invisible with two blanks") << "!inviz  on" << C::None << " on";
    QTest::newRow("role") << "!SETGROUP ADMIN Боря" << C::SetGroup << "ADMIN Боря";
    QTest::newRow("role, Cyrillic") << "!НАЗНАЧИТЬ USER Боря" << C::SetGroup << "USER Боря";
    QTest::newRow("role in small letters is no command") << "!setgroup ADMIN Боря" << C::None << "ADMIN Боря";
    // Letters outside Windows-1251 never make a command word, even where Unicode's
    // upper case would ("ı" becomes "I", "ſ" becomes "S").
    QTest::newRow("dotless i") << "!qıq Вася" << C::None << "Вася";
    QTest::newRow("long s") << "!ſtat" << C::None << "";
    QTest::newRow("ligature") << "!inviz oﬀ" << C::None << "oﬀ";
    // Line breaks and separators are no blanks.
    QTest::newRow("CR LF after the word") << "!reg\r\nВася" << C::None << "";
    QTest::newRow("CR LF after a whole command") << "!chat\r\n" << C::None << "";
    QTest::newRow("separator") << "!adm:^:" << C::None << "";
    QTest::newRow("empty") << "" << C::None << "";
    const QString longText = QStringLiteral("!room ") + QString(100000, QLatin1Char('x'));
    QTest::newRow("a long message") << longText << C::ChangeRoom << longText.mid(6);
    QTest::newRow("a long chat line") << QString(100000, QLatin1Char('x')) << C::None << "";
}

void tst_ChatService::commandParser()
{
    QFETCH(QString, input);
    QFETCH(ChatCommand, command);
    QFETCH(QString, argument);
    const ChatCommandLine line = ChatCommands::parse(input);
    QCOMPARE(line.command, command);
    QCOMPARE(line.argument, argument);
}

QTEST_GUILESS_MAIN(tst_ChatService)
#include "tst_chatservice.moc"
