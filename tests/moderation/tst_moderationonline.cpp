// Chat moderation in the program as it runs: the main bot and two secondary bots on the
// local OSCAR server, five chat members who write to their own bots, three of them
// staff. The program starts once; every test starts from fresh moderation files with
// everybody back in the chat.
#include "chat/chatfiles.h"
#include "chat/chatrecords.h"
#include "chat/chatreference.h"
#include "chat/chatservice.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/bancheck.h"
#include "files/chatbanlist.h"
#include "moderation/chatmoderation.h"
#include "moderation/warningfile.h"
#include "support/chatprogram.h"
#include "support/filemode.h"

#include <QDir>
#include <QTest>

namespace {

constexpr int Timeout = ChatProgram::Timeout;
const QString Bot = ChatProgram::Bot;
const QStringList Secondaries = ChatProgram::Secondaries;

struct User
{
    QString uin;
    QString nick;
};

const User Admin{QStringLiteral("700001"), QStringLiteral("Админ")};
const User Moder{QStringLiteral("700002"), QStringLiteral("Модер")};
const User Premod{QStringLiteral("700003"), QStringLiteral("Премод")};
const User Borya{QStringLiteral("700004"), QStringLiteral("Боря")};
const User Vasya{QStringLiteral("700005"), QStringLiteral("Вася")};
const QList<User> Everybody = {Admin, Moder, Premod, Borya, Vasya};

const User &byName(const QString &name)
{
    static const QHash<QString, User> users = {{"admin", Admin}, {"moder", Moder}, {"premod", Premod},
                                               {"borya", Borya}, {"vasya", Vasya}};
    return *users.find(name);
}

QStringList staffLines()
{
    return {QStringLiteral("Администратор:") + Admin.uin, QStringLiteral("Модератор:") + Moder.uin,
            QStringLiteral("Премодератор:") + Premod.uin};
}

} // namespace

class tst_ModerationOnline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void commandsByRole_data();
    void commandsByRole();
    void silentCommandsLeaveNoTrace();
    void timedBanEndsAndPermanentBanStays();
    void warningsEscalateToBans();
    void invisibilityHidesFromListsAndNotices();
    void roleGivenAndTakenByCommand();
    void prefixNumberHasNoRights();
    void kicksRemoveNobody_data();
    void kicksRemoveNobody();
    void renameToATakenNick_data();
    void renameToATakenNick();
    void unwritableBanListBansNobody_data();
    void unwritableBanListBansNobody();

private:
    void say(const User &user, const QString &text);
    // What the bots sent so far counts as seen.
    void mark();
    // Everything any bot sent the user since the last say() of anyone, oldest first per bot.
    QStringList fresh(const User &user) const;
    bool gotFresh(const User &user, const QString &text) const;
    // A chat line of the user that everybody sees: what went before it has arrived.
    void roundTrip(const User &user, const QString &line);
    void enterChat(const User &user);
    NamedTimer *timer(const char *name) const { return m_program.timer(name); }
    ChatBanList::Entry banOf(const QString &uin) const;

    ChatProgram m_program;
    ProgramHome *m_dir = nullptr;
    FixedClock &m_clock = m_program.clock();
    OscarServer *m_server = nullptr;
    QHash<QString, qsizetype> m_marks; // "bot>uin" -> texts seen
};

void tst_ModerationOnline::initTestCase()
{
    m_program.setUp();
    if (QTest::currentTestFailed())
        return;
    m_dir = &m_program.home();
    m_server = &m_program.server();
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, staffLines()));
    m_program.start();
    if (QTest::currentTestFailed())
        return;

    // Each user meets the bot, which hands him to a secondary bot, and signs up.
    for (const User &user : Everybody) {
        m_program.meetBot(user.uin);
        if (QTest::currentTestFailed())
            return;
        say(user, QStringLiteral("!рег ") + user.nick);
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(user, ChatService::RegisteredLines.first()), Timeout);
    }
}

void tst_ModerationOnline::cleanupTestCase()
{
    m_server = nullptr;
    m_dir = nullptr;
    m_program.tearDown();
}

void tst_ModerationOnline::init()
{
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(12, 0)));
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, staffLines()));
    QVERIFY(QDir(m_dir->filePath(ChatBanList::FilePath)).removeRecursively());
    for (const QString &path : {ChatBanList::FilePath, WarningFile::FilePath, InvisibleList::FilePath,
                                ObscenityLists::WordsPath})
        TextFile::remove(path);
    QVERIFY(TextFile::writeLines(RoomList::FilePath, {QStringLiteral("7 Зал")}));
    for (const User &user : Everybody)
        enterChat(user);
    // A nick the last test changed is given back.
    for (const User &user : Everybody) {
        const std::optional<ChatMember> member = ChatMemberList::find(user.uin);
        QVERIFY(member);
        if (member->nick == user.nick)
            continue;
        say(Admin, QStringLiteral("!НИК %1 %2").arg(member->nick, user.nick));
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(user, ChatModeration::RenamedText + user.nick), Timeout);
    }
    mark();
}

void tst_ModerationOnline::enterChat(const User &user)
{
    if (ChatMemberList::find(user.uin))
        return;
    say(user, QStringLiteral("!chat"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(user, ChatService::JoinedText), Timeout);
}

void tst_ModerationOnline::say(const User &user, const QString &text)
{
    mark();
    QVERIFY(m_server->injectText(user.uin, m_program.botOf(user.uin), text));
}

void tst_ModerationOnline::mark()
{
    for (const QString &bot : QStringList{Bot} + Secondaries) {
        for (const User &other : Everybody)
            m_marks[bot + QLatin1Char('>') + other.uin] = textsSent(*m_server, bot, other.uin).size();
    }
}

QStringList tst_ModerationOnline::fresh(const User &user) const
{
    QStringList texts;
    for (const QString &bot : QStringList{Bot} + Secondaries)
        texts += textsSent(*m_server, bot, user.uin).mid(m_marks.value(bot + QLatin1Char('>') + user.uin));
    return texts;
}

bool tst_ModerationOnline::gotFresh(const User &user, const QString &text) const
{
    for (const QString &message : fresh(user)) {
        if (message.contains(text))
            return true;
    }
    return false;
}

void tst_ModerationOnline::roundTrip(const User &user, const QString &line)
{
    QVERIFY(m_server->injectText(user.uin, m_program.botOf(user.uin), line));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(user, user.nick + QStringLiteral(": ") + line), Timeout);
}

ChatBanList::Entry tst_ModerationOnline::banOf(const QString &uin) const
{
    for (const ChatBanList::Entry &entry : ChatBanList::entries()) {
        if (entry.number == uin)
            return entry;
    }
    return {};
}

void tst_ModerationOnline::commandsByRole_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");

    const QString refused = ChatModeration::NoStaffRightsText;
    QTest::newRow("room created by an administrator")
        << "admin" << "!CRROOM 5 Курилка" << "admin" << ChatModeration::RoomCreatedText;
    QTest::newRow("room number taken") << "admin" << "!crroom 7 Другой" << "admin" << ChatModeration::RoomExistsText;
    QTest::newRow("room number outside the grammar")
        << "admin" << "!CRROOM ../5 Зал" << "admin" << ChatModeration::RoomDataErrorText;
    QTest::newRow("room zero") << "admin" << "!CRROOM 0 Общая" << "admin" << ChatModeration::RoomDataErrorText;
    QTest::newRow("room not created by a moderator, a chat line instead")
        << "moder" << "!CRROOM 5 Курилка" << "moder" << "Модер: !CRROOM 5 Курилка";
    QTest::newRow("room deleted by an administrator")
        << "admin" << "!delroom 7" << "admin" << ChatModeration::RoomDeletedText;
    QTest::newRow("room not deleted by a moderator") << "moder" << "!DELROOM 7" << "moder" << "Модер: !DELROOM 7";
    QTest::newRow("unban by an administrator") << "admin" << "!УБАН Вася" << "vasya" << ChatModeration::UnbannedText;
    QTest::newRow("no unban by a moderator") << "moder" << "!UBAN Вася" << "moder" << "Модер: !UBAN Вася";
    QTest::newRow("kick by a premoderator") << "premod" << "!кик Вася" << "vasya" << ChatModeration::WarnedText;
    QTest::newRow("no kick by a member") << "borya" << "!QIQ Вася" << "borya" << refused;
    QTest::newRow("timed ban by a premoderator") << "premod" << "!БАН Вася 10 флуд" << "vasya"
                                                 << ChatModeration::BannedText;
    QTest::newRow("timed ban with a word for the time")
        << "premod" << "!БАН Вася" << "premod" << ChatModeration::BanUsageText;
    QTest::newRow("no timed ban by a member") << "borya" << "!BAN Вася 10" << "borya" << refused;
    QTest::newRow("permanent ban by a moderator") << "moder" << "!!БАН Вася хам" << "vasya"
                                                  << ChatModeration::BannedText;
    QTest::newRow("no permanent ban by a premoderator") << "premod" << "!!BAN Вася хам" << "premod" << refused;
    QTest::newRow("moderator protected from a moderator")
        << "moder" << "!БАН Модер 5" << "moder" << ChatModeration::ProtectedBanText;
    QTest::newRow("rename by a moderator") << "moder" << "!НИК Боря Борис" << "borya"
                                           << ChatModeration::RenamedText + "Борис";
    QTest::newRow("rename to a nick with the separator")
        << "moder" << "!НИК Боря a:^:700001:^:b" << "moder" << ChatModeration::NickForbiddenText;
    QTest::newRow("no rename by a premoderator") << "premod" << "!NIK Боря Борис" << "premod" << refused;
    QTest::newRow("invisible by a moderator") << "moder" << "!INVIZ ON" << "moder"
                                              << ChatModeration::InvisibleOnText;
    QTest::newRow("not invisible as a premoderator")
        << "premod" << "!inviz on" << "premod" << ChatModeration::NoInvisibleRightsText;
    QTest::newRow("visible again") << "admin" << "!INVIZ OFF" << "admin" << ChatModeration::InvisibleOffText;
    QTest::newRow("a member was not invisible")
        << "borya" << "!inviz off" << "borya" << ChatModeration::NotInvisibleText;
    QTest::newRow("role refused to a moderator, silently")
        << "moder" << "!SETGROUP ADMIN Боря" << "moder" << QString();
    QTest::newRow("role given by an administrator, silently")
        << "admin" << "!НАЗНАЧИТЬ PREMODERATOR Боря" << "admin" << QString();
    QTest::newRow("a number holds one role") << "admin" << "!SETGROUP ADMIN Модер" << "admin"
                                             << ChatModeration::UinExistsText;
}

void tst_ModerationOnline::commandsByRole()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    // What some commands act on.
    const QString word = text.section(QLatin1Char(' '), 0, 0).toUpper();
    if (word == QStringLiteral("!УБАН") || word == QLatin1String("!UBAN"))
        QVERIFY(ChatBanList::add({Vasya.nick, Vasya.uin, QStringLiteral("11.12.2026 13:00:00"), QStringLiteral("x")}));
    if (text.toUpper() == QStringLiteral("!INVIZ OFF"))
        QVERIFY(InvisibleList::add(Admin.uin));
    const QStringList staffBefore = TextFile::readLines(ChatStaff::FilePath);

    say(byName(sender), text);
    if (!expected.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(byName(to), expected), Timeout);
        return;
    }
    // A silent command: a chat line sent after it arrives with nothing before it.
    roundTrip(byName(sender), QStringLiteral("пинг"));
    QCOMPARE(fresh(byName(sender)).filter(QStringLiteral("SETGROUP")), QStringList());
    QCOMPARE(fresh(byName(sender)).filter(QStringLiteral("НАЗНАЧИТЬ")), QStringList());
    if (sender == QLatin1String("admin"))
        QTRY_VERIFY_WITH_TIMEOUT(ChatStaff::holds(Borya.uin, ChatStaff::Premoderator), Timeout);
    else
        QCOMPARE(TextFile::readLines(ChatStaff::FilePath), staffBefore);
}

void tst_ModerationOnline::silentCommandsLeaveNoTrace()
{
    // A moderator's unban and an administrator's unban of a nick nobody holds.
    QVERIFY(ChatBanList::add({QStringLiteral("Гость"), QStringLiteral("700099"), QStringLiteral("11.12.2026 13:00:00"),
                              QStringLiteral("x")}));
    say(Admin, QStringLiteral("!УБАН Никто"));
    roundTrip(Admin, QStringLiteral("пинг"));
    QCOMPARE(fresh(Admin).size(), 1);
    QVERIFY(ChatBanList::isBanned(QStringLiteral("700099")));
}

void tst_ModerationOnline::timedBanEndsAndPermanentBanStays()
{
    NamedTimer *ban = timer("ban");
    QVERIFY(ban);
    QVERIFY(ban->isEnabled());
    QCOMPARE(ban->interval(), 60000);

    const double bansBefore = VbValues::toNumber(ChatStatistics::totalValues().value(2)).value_or(0);
    say(Premod, QStringLiteral("!БАН Вася 30 флуд"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, ChatModeration::BannedText), Timeout);
    const ChatBanList::Entry timed = banOf(Vasya.uin);
    QCOMPARE(timed.nick, Vasya.nick);
    QCOMPARE(timed.until, QStringLiteral("11.12.2026 12:30:00"));
    QCOMPARE(timed.reason, QStringLiteral("флуд"));
    // Out of the chat at once: no member line, no room line.
    QVERIFY(!ChatMemberList::find(Vasya.uin));
    QVERIFY(!RoomMembers::contains(QStringLiteral("0"), Vasya.uin));
    roundTrip(Borya, QStringLiteral("без Васи"));
    QVERIFY(!gotFresh(Vasya, QStringLiteral("без Васи")));

    say(Moder, QStringLiteral("!!БАН Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::BannedText), Timeout);
    // The notice goes through the main bot.
    QVERIFY(textsSent(*m_server, Bot, Borya.uin).contains(ChatModeration::BannedText));
    const ChatBanList::Entry permanent = banOf(Borya.uin);
    QCOMPARE(permanent.reason, ChatModeration::NoReasonText);
    QCOMPARE(permanent.until, DateTexts::dateText(QDate(2026, 12, 11).addDays(400000)) + " 12:00:00");
    QTRY_COMPARE_WITH_TIMEOUT(VbValues::toNumber(ChatStatistics::totalValues().value(2)).value_or(0), bansBefore + 2,
                              Timeout);

    // Banned from the whole bot.
    say(Vasya, QStringLiteral("!chat"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, BanCheck::ChatBanText), Timeout);

    // The end minute itself still holds the ban; the next one lifts it.
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(12, 30, 59)));
    ban->tick();
    QVERIFY(ChatBanList::isBanned(Vasya.uin));
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(12, 31)));
    ban->tick();
    QVERIFY(!ChatBanList::isBanned(Vasya.uin));
    QVERIFY(ChatBanList::isBanned(Borya.uin));
    // Years later the permanent ban stands. (The clock goes back at once: the program's
    // other timers read it too.)
    m_clock.advanceDays(1000);
    ban->tick();
    m_clock.set(QDateTime(QDate(2026, 12, 11), QTime(12, 0)));
    enterChat(Vasya);
    say(Borya, QStringLiteral("!chat"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, BanCheck::ChatBanText), Timeout);

    // Its unban lets him back.
    say(Admin, QStringLiteral("!убан Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::UnbannedText), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(VbValues::toNumber(ChatStatistics::totalValues().value(2)).value_or(0), bansBefore + 1,
                              Timeout);
    enterChat(Borya);
}

void tst_ModerationOnline::warningsEscalateToBans()
{
    QVERIFY(TextFile::writeLines(ObscenityLists::WordsPath, {QStringLiteral("ХРЕН")}));
    say(Vasya, QStringLiteral("ну хрен"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, ChatService::ObscenityText), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(WarningFile::count(Vasya.nick), 1, Timeout);
    QVERIFY(!ChatBanList::isBanned(Vasya.uin));
    QVERIFY(ChatMemberList::find(Vasya.uin));

    say(Vasya, QStringLiteral("опять хрен"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, ChatModeration::BannedText), Timeout);
    QCOMPARE(WarningFile::count(Vasya.nick), 2);
    ChatBanList::Entry entry = banOf(Vasya.uin);
    QCOMPARE(entry.until, QStringLiteral("11.12.2026 14:00:00"));
    QCOMPARE(entry.reason, QStringLiteral("Получил 2 предупреждений. Последнее предупреждение дал: Вася"));

    // By the kick: the first only warns, the second bans.
    say(Moder, QStringLiteral("!КИК Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::WarnedText), Timeout);
    roundTrip(Borya, QStringLiteral("всё ещё тут"));
    QVERIFY(!ChatBanList::isBanned(Borya.uin));
    say(Moder, QStringLiteral("!кик Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::BannedText), Timeout);
    entry = banOf(Borya.uin);
    QCOMPARE(entry.until, QStringLiteral("11.12.2026 14:00:00"));
    QCOMPARE(entry.reason, QStringLiteral("Получил 2 предупреждений. Последнее предупреждение дал: Модер"));

    // A third kick after the unban bans for three hours.
    say(Admin, QStringLiteral("!УБАН Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::UnbannedText), Timeout);
    enterChat(Borya);
    say(Premod, QStringLiteral("!КИК Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::BannedText), Timeout);
    QCOMPARE(ChatBanList::entries().last().until, QStringLiteral("11.12.2026 15:00:00"));
    QCOMPARE(WarningFile::count(Borya.nick), 3);
}

void tst_ModerationOnline::invisibilityHidesFromListsAndNotices()
{
    say(Moder, QStringLiteral("!inviz on"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatModeration::InvisibleOnText), Timeout);
    say(Moder, QStringLiteral("!INVIZ ON"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatModeration::AlreadyInvisibleText), Timeout);

    say(Borya, QStringLiteral("!СПИСОК"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatService::MemberListHeading), Timeout);
    QVERIFY(!fresh(Borya).join(QString()).contains(Moder.nick));
    QVERIFY(fresh(Borya).join(QString()).contains(Admin.nick));

    // Leaving and coming back: nobody hears of it.
    say(Moder, QStringLiteral("!exit"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatService::LeftText), Timeout);
    QVERIFY(m_server->injectText(Moder.uin, m_program.botOf(Moder.uin), QStringLiteral("!chat")));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatService::JoinedText), Timeout);
    roundTrip(Borya, QStringLiteral("кто тут"));
    QVERIFY(!gotFresh(Borya, ChatService::LeaveNotice + Moder.nick));
    QVERIFY(!gotFresh(Borya, ChatService::JoinNotice + Moder.nick));
    // Anyone else's coming and going is told.
    say(Admin, QStringLiteral("!exit"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatService::LeaveNotice + Admin.nick), Timeout);
    enterChat(Admin);

    say(Moder, QStringLiteral("!INVIZ OFF"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatModeration::InvisibleOffText), Timeout);
    say(Borya, QStringLiteral("!СПИСОК"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatService::MemberListHeading), Timeout);
    QVERIFY(fresh(Borya).join(QString()).contains(Moder.nick));
}

void tst_ModerationOnline::roleGivenAndTakenByCommand()
{
    say(Borya, QStringLiteral("!!БАН Вася"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::NoStaffRightsText), Timeout);

    say(Admin, QStringLiteral("!НАЗНАЧИТЬ moderator Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(ChatStaff::holds(Borya.uin, ChatStaff::Moderator), Timeout);
    say(Borya, QStringLiteral("!!БАН Вася спам"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, ChatModeration::BannedText), Timeout);
    QCOMPARE(banOf(Vasya.uin).reason, QStringLiteral("спам"));

    say(Admin, QStringLiteral("!SETGROUP USER Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(!ChatStaff::isStaff(Borya.uin), Timeout);
    QCOMPARE(TextFile::readLines(ChatStaff::FilePath), staffLines());
    say(Borya, QStringLiteral("!!БАН Админ"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::NoStaffRightsText), Timeout);
    QVERIFY(!ChatBanList::isBanned(Admin.uin));
}

void tst_ModerationOnline::prefixNumberHasNoRights()
{
    // The staff number starts with the sender's number: he is no administrator.
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, {QStringLiteral("Администратор:") + Admin.uin + "1",
                                                       QStringLiteral("Модератор:") + Moder.uin + "23"}));
    say(Admin, QStringLiteral("!!БАН Вася"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Admin, ChatModeration::NoStaffRightsText), Timeout);
    say(Moder, QStringLiteral("!inviz on"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatModeration::NoInvisibleRightsText), Timeout);
    say(Admin, QStringLiteral("!CRROOM 9 Зал"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Admin, QStringLiteral("Админ: !CRROOM 9 Зал")), Timeout);
    QVERIFY(!RoomList::find(QStringLiteral("9")));
    QVERIFY(!ChatBanList::isBanned(Vasya.uin));
}

void tst_ModerationOnline::kicksRemoveNobody_data()
{
    QTest::addColumn<QString>("kicker");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("banned");
    QTest::newRow("premoderator kicks the administrator") << "premod" << "admin" << false;
    QTest::newRow("premoderator kicks a moderator") << "premod" << "moder" << false;
    QTest::newRow("moderator kicks the administrator") << "moder" << "admin" << false;
    QTest::newRow("administrator kicks a moderator") << "admin" << "moder" << true;
}

void tst_ModerationOnline::kicksRemoveNobody()
{
    QFETCH(QString, kicker);
    QFETCH(QString, target);
    QFETCH(bool, banned);
    const User &from = byName(kicker);
    const User &to = byName(target);
    const QString kick = QStringLiteral("!КИК ") + to.nick;

    // The first warning is counted and told, nothing more.
    say(from, kick);
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(to, ChatModeration::WarnedText), Timeout);
    roundTrip(to, QStringLiteral("я ещё тут"));
    QVERIFY(ChatMemberList::find(to.uin));

    // The second goes through the ban routine and its protection of the staff.
    say(from, kick);
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(to, ChatModeration::WarnedText), Timeout);
    if (banned) {
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(to, ChatModeration::BannedText), Timeout);
        QVERIFY(!ChatMemberList::find(to.uin));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(from, ChatModeration::ProtectedBanText), Timeout);
        roundTrip(to, QStringLiteral("и сейчас тут"));
        QVERIFY(ChatMemberList::find(to.uin));
        QVERIFY(!ChatBanList::isBanned(to.uin));
    }
    // The rewrite drops the empty line the new warning file began with.
    QCOMPARE(FileProbe::bytes(m_dir->filePath(WarningFile::FilePath)), Cp1251::encode(to.nick + " 2\r\n"));
}

void tst_ModerationOnline::renameToATakenNick_data()
{
    QTest::addColumn<bool>("holderInChat");
    QTest::newRow("nick of a member in the chat") << true;
    QTest::newRow("nick of a registration out of the chat") << false;
}

void tst_ModerationOnline::renameToATakenNick()
{
    QFETCH(bool, holderInChat);
    if (!holderInChat) {
        say(Vasya, QStringLiteral("!exit"));
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Vasya, ChatService::LeftText), Timeout);
    }
    const QStringList registrations = TextFile::readLines(RegistrationList::FilePath);
    say(Moder, QStringLiteral("!НИК Боря Вася"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Moder, ChatService::NickTakenText), Timeout);
    QVERIFY(!gotFresh(Borya, ChatModeration::RenamedText));
    QCOMPARE(ChatMemberList::find(Borya.uin)->nick, Borya.nick);

    // A rename that goes through leaves the registrations as they were.
    say(Moder, QStringLiteral("!НИК Боря Борис"));
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(Borya, ChatModeration::RenamedText + QStringLiteral("Борис")), Timeout);
    QCOMPARE(TextFile::readLines(RegistrationList::FilePath), registrations);

    // Roles by nick reach the number that registered it.
    say(Admin, QStringLiteral("!SETGROUP PREMODERATOR Вася"));
    say(Admin, QStringLiteral("!SETGROUP MODERATOR Боря"));
    QTRY_VERIFY_WITH_TIMEOUT(ChatStaff::holds(Borya.uin, ChatStaff::Moderator), Timeout);
    QVERIFY(ChatStaff::holds(Vasya.uin, ChatStaff::Premoderator));
    QVERIFY(!ChatStaff::holds(Borya.uin, ChatStaff::Premoderator));
}

void tst_ModerationOnline::unwritableBanListBansNobody_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("times");
    QTest::newRow("timed ban") << "premod" << "!БАН Вася 10 флуд" << 1;
    QTest::newRow("permanent ban") << "moder" << "!!БАН Вася" << 1;
    QTest::newRow("second kick") << "admin" << "!КИК Вася" << 2;
}

void tst_ModerationOnline::unwritableBanListBansNobody()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    QFETCH(int, times);
    // A folder where the ban list should be: no ban line can be written.
    QVERIFY(QDir().mkpath(m_dir->filePath(ChatBanList::FilePath)));
    Storage::instance().flushAll();
    const QStringList bansBefore = ChatStatistics::totalValues();
    for (int i = 0; i < times; ++i) {
        say(byName(sender), text);
        QTRY_VERIFY_WITH_TIMEOUT(gotFresh(byName(sender), ChatService::SaveFailedText) ||
                                     gotFresh(Vasya, ChatModeration::WarnedText),
                                 Timeout);
    }
    QTRY_VERIFY_WITH_TIMEOUT(gotFresh(byName(sender), ChatService::SaveFailedText), Timeout);
    roundTrip(Vasya, QStringLiteral("не забанен"));
    QVERIFY(!gotFresh(Vasya, ChatModeration::BannedText));
    QVERIFY(ChatMemberList::find(Vasya.uin));
    Storage::instance().flushAll();
    QCOMPARE(ChatStatistics::totalValues().value(2), bansBefore.value(2));
}

QTEST_MAIN(tst_ModerationOnline)
#include "tst_moderationonline.moc"
