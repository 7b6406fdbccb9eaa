// Chat moderation over its files with a recording send: the until texts and their
// expiry, the warning file, the ban line's fields, the timed ban's arguments, rooms and
// the order of the dispatcher's tests.
#include "chat/chatfiles.h"
#include "chat/chatreference.h"
#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/chatbanlist.h"
#include "moderation/chatmoderation.h"
#include "moderation/warningfile.h"
#include "support/programhome.h"

#include <QTest>

namespace {
const QString Admin = QStringLiteral("1001");
const QString Member = QStringLiteral("1002");
} // namespace

class tst_ModerationFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void untilTexts_data();
    void untilTexts();
    void expiry_data();
    void expiry();
    void expiryTickRewritesTheList();
    void warningCounts();
    void kickCountsOnce();
    void kickNotices_data();
    void kickNotices();
    void unban_data();
    void unban();
    void forbiddenWordsOfStaff_data();
    void forbiddenWordsOfStaff();
    void banFieldsCannotForgeANumber();
    void timedBanArguments_data();
    void timedBanArguments();
    void roomNumbers_data();
    void roomNumbers();
    void wordTests_data();
    void wordTests();
    void rolesCompareWholeNumbers();
    void renameProtectsStaff();
    void invisibleListLayout();

private:
    StageOutcome say(const QString &uin, const QString &text);
    QStringList replies();

    std::unique_ptr<ProgramHome> m_dir;
    FixedClock m_clock;
    std::unique_ptr<ChatModeration> m_moderation;
    QStringList m_sent;
    MessageState m_last;
};

void tst_ModerationFiles::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
    m_sent.clear();
    m_moderation = std::make_unique<ChatModeration>(nullptr, [this](int slot, const QString &txt, const QString &to) {
        m_sent.append(QStringLiteral("%1>%2:%3").arg(slot).arg(to, txt));
        return true;
    });
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, {QString(), QStringLiteral("Администратор:") + Admin}));
    QVERIFY(ChatMemberList::add({Member, QStringLiteral("Вася"), QStringLiteral("0")}));
    QVERIFY(RoomMembers::add(QStringLiteral("0"), Member, QStringLiteral("Вася")));
}

void tst_ModerationFiles::cleanup()
{
    m_moderation.reset();
    Storage::instance().flushAll();
    Clock::setInstance(nullptr);
    m_dir.reset();
}

StageOutcome tst_ModerationFiles::say(const QString &uin, const QString &text)
{
    m_last = MessageState();
    m_last.SenderUin = uin;
    m_last.MessageText = text;
    m_last.slot = 2;
    return m_moderation->HandleChatAdminCommand(m_last);
}

QStringList tst_ModerationFiles::replies()
{
    return std::exchange(m_sent, {});
}

void tst_ModerationFiles::untilTexts_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("minutes");
    QTest::addColumn<QString>("until");
    QTest::newRow("one minute") << QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)) << qint64(1) << "05.03.2008 9:06:07";
    QTest::newRow("to the full hour") << QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)) << qint64(55)
                                      << "05.03.2008 10:00:07";
    QTest::newRow("end of March") << QDateTime(QDate(2008, 3, 30), QTime(14, 5, 7)) << qint64(60)
                                  << "30.03.2008 15:05:07";
    QTest::newRow("leap day") << QDateTime(QDate(2008, 2, 28), QTime(23, 50)) << qint64(80) << "29.02.2008 1:10:00";
    QTest::newRow("no 29 February in 2100") << QDateTime(QDate(2100, 2, 28), QTime(23, 50)) << qint64(80)
                                            << "01.03.2100 1:10:00";
    QTest::newRow("new year") << QDateTime(QDate(2008, 12, 31), QTime(23, 30, 15)) << qint64(30)
                              << "01.01.2009 0:00:15";
    QTest::newRow("thirty days over January") << QDateTime(QDate(2008, 12, 31), QTime(10, 1)) << qint64(30 * 1440)
                                              << "30.01.2009 10:01:00";
    QTest::newRow("nothing") << QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)) << qint64(0) << "05.03.2008 9:05:07";
}

void tst_ModerationFiles::untilTexts()
{
    QFETCH(QDateTime, now);
    QFETCH(qint64, minutes);
    QFETCH(QString, until);
    m_clock.set(now);
    QCOMPARE(ChatModeration::ComputeCalendarUntil(minutes), until);
    QCOMPARE(ChatModeration::ComputeFixedUntil(minutes), until);
}

void tst_ModerationFiles::expiry_data()
{
    QTest::addColumn<QString>("until");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("expired");
    const QDateTime at1405(QDate(2008, 3, 5), QTime(14, 5, 30));
    QTest::newRow("the same minute") << "05.03.2008 14:05:00" << at1405 << false;
    QTest::newRow("seconds ignored") << "05.03.2008 14:05:59" << QDateTime(QDate(2008, 3, 5), QTime(14, 6)) << true;
    QTest::newRow("a minute before") << "05.03.2008 14:04:59" << at1405 << true;
    QTest::newRow("no leading zeros") << "5.3.2008 14:6:07" << at1405 << false;
    QTest::newRow("hour 24 is the next day") << "31.12.2008 24:10:00"
                                             << QDateTime(QDate(2009, 1, 1), QTime(0, 10)) << false;
    QTest::newRow("hour 24 passed") << "31.12.2008 24:10:00" << QDateTime(QDate(2009, 1, 1), QTime(0, 11)) << true;
    QTest::newRow("minute 60 is the next hour") << "05.03.2008 10:60:00"
                                                << QDateTime(QDate(2008, 3, 5), QTime(11, 1)) << true;
    QTest::newRow("permanent") << "02.03.3104 14:05:07" << QDateTime(QDate(2900, 1, 1), QTime(0, 0)) << false;
    QTest::newRow("unreadable") << "завтра" << at1405 << false;
    QTest::newRow("empty") << "" << at1405 << false;
}

void tst_ModerationFiles::expiry()
{
    QFETCH(QString, until);
    QFETCH(QDateTime, now);
    QFETCH(bool, expired);
    QCOMPARE(ChatModeration::hasExpired(until, now), expired);
}

void tst_ModerationFiles::expiryTickRewritesTheList()
{
    QVERIFY(ChatBanList::add({"a", "11", "05.03.2008 9:00:00", "x"}));
    QVERIFY(ChatBanList::add({"b", "12", "05.03.2008 9:05:00", "y"}));
    QVERIFY(ChatBanList::add({"c", "13", "5.3.2008 9:06:00", "z"}));
    m_moderation->ban_Timer();
    QCOMPARE(TextFile::readAll(ChatBanList::FilePath), QStringLiteral("b:^:12:^:05.03.2008 9:05:00:^:y\r\n"
                                                                      "c:^:13:^:5.3.2008 9:06:00:^:z\r\n"));
    m_clock.set(QDateTime(QDate(2008, 3, 5), QTime(10, 0)));
    m_moderation->ban_Timer();
    QCOMPARE(TextFile::readAll(ChatBanList::FilePath), QStringLiteral("\r\n"));
    m_moderation->ban_Timer();
    QCOMPARE(TextFile::readAll(ChatBanList::FilePath), QStringLiteral("\r\n"));
}

void tst_ModerationFiles::kickCountsOnce()
{
    // A second kick of a registered nick outside the chat counts once and is taken.
    QVERIFY(RegistrationList::add({QStringLiteral("1005"), QStringLiteral("Петя")}));
    QCOMPARE(say(Admin, QStringLiteral("!КИК Петя")), StageOutcome::Stop);
    QCOMPARE(say(Admin, QStringLiteral("!КИК Петя")), StageOutcome::Stop);
    QCOMPARE(WarningFile::count(QStringLiteral("Петя")), 2);
    QCOMPARE(replies(), (QStringList{QStringLiteral("2>1005:") + ChatModeration::WarnedText,
                                     QStringLiteral("2>1005:") + ChatModeration::WarnedText}));
    QVERIFY(ChatBanList::entries().isEmpty());
}

void tst_ModerationFiles::kickNotices_data()
{
    QTest::addColumn<QString>("warnings");
    QTest::addColumn<QStringList>("noticed");
    QTest::newRow("warning file missing") << QString() << QStringList{Member, QStringLiteral("1005")};
    QTest::newRow("warning file of another nick") << "Петя 1\r\n" << QStringList{Member};
    QTest::newRow("warning file of one empty line") << "\r\n" << QStringList{Member};
}

void tst_ModerationFiles::kickNotices()
{
    QFETCH(QString, warnings);
    QFETCH(QStringList, noticed);
    if (!warnings.isEmpty())
        QVERIFY(TextFile::writeAll(WarningFile::FilePath, warnings));
    // Two registrations carry the nick (a hand-edited list).
    QVERIFY(RegistrationList::add({Member, QStringLiteral("Вася")}));
    QVERIFY(RegistrationList::add({QStringLiteral("1005"), QStringLiteral("Вася")}));
    QCOMPARE(say(Admin, QStringLiteral("!КИК Вася")), StageOutcome::Stop);
    QStringList expected;
    for (const QString &uin : noticed)
        expected.append(QStringLiteral("2>%1:").arg(uin) + ChatModeration::WarnedText);
    QCOMPARE(replies(), expected);
    // A first warning takes nobody out of the chat.
    QVERIFY(ChatMemberList::find(Member));
    QVERIFY(RoomMembers::contains(QStringLiteral("0"), Member));
}

void tst_ModerationFiles::unban_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("sent");
    const QString unbanned = QStringLiteral("1>1002:") + ChatModeration::UnbannedText;
    QTest::newRow("missing list") << QString() << "!УБАН Вася" << false << QString() << QStringList{};
    QTest::newRow("list of empty lines") << "\r\n\r\n" << "!УБАН Вася" << true << "\r\n\r\n" << QStringList{};
    QTest::newRow("nick with a colon, whole")
        << "Ва:ся:^:1002:^:1.1.2027 1:00:00:^:x\r\nПетя:^:1005:^:1.1.2027 1:00:00:^:y\r\n"
        << "!УБАН Ва:ся" << true << "Петя:^:1005:^:1.1.2027 1:00:00:^:y\r\n" << QStringList{unbanned};
    QTest::newRow("nick with a colon, up to it")
        << "Ва:ся:^:1002:^:1.1.2027 1:00:00:^:x\r\n" << "!UBAN Ва" << true << "\r\n" << QStringList{unbanned};
    QTest::newRow("nobody of that nick") << "Петя:^:1005:^:1.1.2027 1:00:00:^:y\r\n" << "!убан Ва:ся" << true
                                         << "Петя:^:1005:^:1.1.2027 1:00:00:^:y\r\n" << QStringList{};
}

void tst_ModerationFiles::unban()
{
    QFETCH(QString, list);
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QFETCH(QString, after);
    if (!list.isEmpty())
        QVERIFY(TextFile::writeAll(ChatBanList::FilePath, list));
    QCOMPARE(say(Admin, text), taken ? StageOutcome::Stop : StageOutcome::Continue);
    QCOMPARE(TextFile::readAll(ChatBanList::FilePath), after);
    QTEST(replies(), "sent");
}

void tst_ModerationFiles::forbiddenWordsOfStaff_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("banned");
    QTest::newRow("member") << QString() << true;
    QTest::newRow("premoderator") << ChatStaff::Premoderator << true;
    QTest::newRow("moderator") << ChatStaff::Moderator << false;
    QTest::newRow("administrator") << ChatStaff::Administrator << true;
}

void tst_ModerationFiles::forbiddenWordsOfStaff()
{
    QFETCH(QString, role);
    QFETCH(bool, banned);
    if (!role.isEmpty())
        QVERIFY(ChatStaff::add(role, Member));
    MessageState state;
    state.SenderUin = Member;
    state.slot = 2;
    m_moderation->WarnChatSender(state);
    QVERIFY(state.MessageHandled);
    QCOMPARE(replies(), QStringList{});
    QVERIFY(ChatBanList::entries().isEmpty());

    state.MessageHandled = false;
    m_moderation->WarnChatSender(state);
    QVERIFY(state.MessageHandled);
    QCOMPARE(WarningFile::count(QStringLiteral("Вася")), 2);
    if (!banned) {
        QCOMPARE(replies(), QStringList{QStringLiteral("2>1002:") + ChatModeration::ProtectedBanText});
        QVERIFY(ChatBanList::entries().isEmpty());
        return;
    }
    QCOMPARE(replies(), QStringList{QStringLiteral("1>1002:") + ChatModeration::BannedText});
    QCOMPARE(ChatBanList::entries(),
             (QList<ChatBanList::Entry>{{QStringLiteral("Вася"), Member, QStringLiteral("05.03.2008 11:05:07"),
                                         QStringLiteral("Получил 2 предупреждений. Последнее предупреждение дал: Вася")}}));
}

void tst_ModerationFiles::warningCounts()
{
    QCOMPARE(WarningFile::addWarning(QStringLiteral("Вася")), 1);
    QCOMPARE(TextFile::readAll(WarningFile::FilePath), QStringLiteral("\r\nВася 1\r\n"));
    QCOMPARE(WarningFile::addWarning(QStringLiteral("вася")), 1);
    QCOMPARE(WarningFile::addWarning(QStringLiteral("Вася")), 2);
    // A nick with blanks is its own entry and does not touch the first word's.
    QCOMPARE(WarningFile::addWarning(QStringLiteral("Вася за мат")), 1);
    QCOMPARE(WarningFile::addWarning(QStringLiteral("Вася")), 3);
    QCOMPARE(WarningFile::count(QStringLiteral("Вася за мат")), 1);
    // The rewrite leaves out the empty line the new file began with.
    QCOMPARE(TextFile::readAll(WarningFile::FilePath), QStringLiteral("Вася 3\r\nвася 1\r\nВася за мат 1\r\n"));
    // A line break would forge another nick's line.
    QCOMPARE(WarningFile::addWarning(QStringLiteral("x 5\r\nПетя")), 0);
    QCOMPARE(WarningFile::count(QStringLiteral("x")), 0);
}

void tst_ModerationFiles::banFieldsCannotForgeANumber()
{
    QCOMPARE(say(Admin, QStringLiteral("!!БАН Вася злой:^:1001:^:умысел\r\nещё")), StageOutcome::Stop);
    QVERIFY(ChatBanList::isBanned(Member));
    QVERIFY(!ChatBanList::isBanned(Admin));
    QCOMPARE(ChatBanList::entries().size(), 1);
    QVERIFY(!ChatBanList::entries().first().reason.contains(QStringLiteral(":^:")));
    QCOMPARE(ChatModeration::banField(QStringLiteral("a:^:^:b")), QStringLiteral("a: : :b"));
    QVERIFY(!ChatModeration::banField(QStringLiteral("a:^:^:^:b")).contains(QStringLiteral(":^:")));
}

void tst_ModerationFiles::timedBanArguments_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("until"); // empty: refused with the usage text
    QTest::addColumn<QString>("reason");
    QTest::newRow("all three") << "Вася 120 за мат в чате" << "05.03.2008 11:05:07" << "за мат в чате";
    QTest::newRow("no reason") << "Вася 120" << "05.03.2008 11:05:07" << ChatModeration::NoReasonText;
    QTest::newRow("nothing after the blank") << "Вася " << "05.03.2008 10:05:07" << ChatModeration::NoReasonText;
    QTest::newRow("two blanks") << "Вася  за мат" << "05.03.2008 10:05:07" << "за мат";
    QTest::newRow("no time") << "Вася" << "" << "";
    QTest::newRow("negative") << "Вася -5" << "" << "";
    QTest::newRow("beyond a permanent ban") << "Вася 1e20" << "" << "";
}

void tst_ModerationFiles::timedBanArguments()
{
    QFETCH(QString, arguments);
    QFETCH(QString, until);
    QFETCH(QString, reason);
    QCOMPARE(say(Admin, QStringLiteral("!БАН ") + arguments), StageOutcome::Stop);
    QVERIFY(m_last.MessageHandled);
    if (until.isEmpty()) {
        QCOMPARE(replies(), QStringList{QStringLiteral("2>1001:") + ChatModeration::BanUsageText});
        QVERIFY(ChatBanList::entries().isEmpty());
        return;
    }
    QCOMPARE(ChatBanList::entries(),
             (QList<ChatBanList::Entry>{{QStringLiteral("Вася"), Member, until, reason}}));
    // The notice goes through the main bot; the member is out of the chat and his room.
    QCOMPARE(replies(), QStringList{QStringLiteral("1>1002:") + ChatModeration::BannedText});
    QVERIFY(!ChatMemberList::find(Member));
    QVERIFY(!RoomMembers::contains(QStringLiteral("0"), Member));
}

void tst_ModerationFiles::roomNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("rooms");
    const QString error = ChatModeration::RoomDataErrorText;
    QTest::newRow("created") << "!CRROOM 5 Зал для игр" << ChatModeration::RoomCreatedText
                             << QStringList{"3 Флуд", "5 Зал для игр"};
    QTest::newRow("negative and fractional") << "!crroom -2,5 Подвал" << ChatModeration::RoomCreatedText
                                             << QStringList{"3 Флуд", "-2,5 Подвал"};
    QTest::newRow("taken") << "!CRROOM 3 Ещё" << ChatModeration::RoomExistsText << QStringList{"3 Флуд"};
    QTest::newRow("zero") << "!CRROOM 0 Общая" << error << QStringList{"3 Флуд"};
    QTest::newRow("zero written otherwise") << "!CRROOM 00 Общая" << error << QStringList{"3 Флуд"};
    QTest::newRow("no name") << "!CRROOM 7" << error << QStringList{"3 Флуд"};
    QTest::newRow("empty name") << "!CRROOM 7 " << error << QStringList{"3 Флуд"};
    QTest::newRow("a word") << "!CRROOM семь Зал" << error << QStringList{"3 Флуд"};
    QTest::newRow("exponent") << "!CRROOM 1E3 Зал" << error << QStringList{"3 Флуд"};
    QTest::newRow("path") << "!CRROOM ..\\3 Зал" << error << QStringList{"3 Флуд"};
    QTest::newRow("deleted") << "!DELROOM 3" << ChatModeration::RoomDeletedText << QStringList{};
    QTest::newRow("deleted by its text only") << "!DELROOM 03" << ChatModeration::RoomDeletedText
                                              << QStringList{"3 Флуд"};
    QTest::newRow("delete with a name") << "!DELROOM 3 Флуд" << error << QStringList{"3 Флуд"};
}

void tst_ModerationFiles::roomNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, reply);
    QFETCH(QStringList, rooms);
    QVERIFY(TextFile::writeLines(RoomList::FilePath, {QStringLiteral("3 Флуд")}));
    QCOMPARE(say(Admin, text), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{QStringLiteral("2>1001:") + reply});
    QStringList lines;
    for (const Room &room : RoomList::rooms())
        lines.append(room.line());
    QCOMPARE(lines, rooms);
}

void tst_ModerationFiles::wordTests_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QStringList>("sent");
    const QString refusal = QStringLiteral("2>1002:") + ChatModeration::NoStaffRightsText;
    QTest::newRow("kick without a blank") << Admin << "!КИК" << false << QStringList{};
    QTest::newRow("blank before the word") << Admin << " !КИК Вася" << false << QStringList{};
    QTest::newRow("setgroup in lower case") << Admin << "!setgroup ADMIN Вася" << false << QStringList{};
    QTest::newRow("inviz with a trailing blank") << Admin << "!INVIZ ON " << false << QStringList{};
    QTest::newRow("inviz with two blanks") << Admin << "!INVIZ  ON" << false << QStringList{};
    QTest::newRow("member's delroom passes") << Member << "!delroom 3" << false << QStringList{};
    QTest::newRow("member's unban passes") << Member << "!uban Вася" << false << QStringList{};
    QTest::newRow("member's kick refused") << Member << "!кик Вася" << true << QStringList{refusal};
    QTest::newRow("member's setgroup silent") << Member << "!SETGROUP ADMIN Вася" << true << QStringList{};
    QTest::newRow("ban of nobody passes") << Admin << "!БАН Петя 5" << false << QStringList{};
    QTest::newRow("kick of a nick with a line break") << Admin << "!КИК x 5\r\nПетя" << true << QStringList{};
    QTest::newRow("rename of nobody passes") << Admin << "!НИК Петя Пётр" << false << QStringList{};
}

void tst_ModerationFiles::wordTests()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QFETCH(QStringList, sent);
    QCOMPARE(say(sender, text), taken ? StageOutcome::Stop : StageOutcome::Continue);
    QCOMPARE(m_last.MessageHandled, taken);
    QCOMPARE(replies(), sent);
}

void tst_ModerationFiles::rolesCompareWholeNumbers()
{
    const QString longer = Member + QStringLiteral("1");
    QVERIFY(ChatStaff::add(ChatStaff::Moderator, longer));
    QVERIFY(RegistrationList::add({Member, QStringLiteral("Вася")}));
    // The member's number is a prefix of a staff number: he holds no role yet.
    QCOMPARE(say(Member, QStringLiteral("!!БАН Вася")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{QStringLiteral("2>1002:") + ChatModeration::NoStaffRightsText});
    QCOMPARE(say(Admin, QStringLiteral("!SETGROUP moderator Вася")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{});
    QVERIFY(ChatStaff::holds(Member, ChatStaff::Moderator));
    QCOMPARE(say(Admin, QStringLiteral("!НАЗНАЧИТЬ ADMIN Вася")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{QStringLiteral("2>1001:") + ChatModeration::UinExistsText});
    QCOMPARE(say(Admin, QStringLiteral("!SETGROUP KING Вася")), StageOutcome::Stop);
    QCOMPARE(say(Admin, QStringLiteral("!SETGROUP USER Вася")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{});
    QCOMPARE(TextFile::readLines(ChatStaff::FilePath),
             (QStringList{QStringLiteral("Администратор:") + Admin, QStringLiteral("Модератор:") + longer}));
}

void tst_ModerationFiles::renameProtectsStaff()
{
    const QString moderator = QStringLiteral("1003");
    QVERIFY(ChatStaff::add(ChatStaff::Moderator, moderator));
    QVERIFY(ChatStaff::add(ChatStaff::Moderator, Member));
    QCOMPARE(say(moderator, QStringLiteral("!НИК Вася Петя")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{QStringLiteral("2>1003:") + ChatModeration::ProtectedRenameText});
    QCOMPARE(ChatMemberList::find(Member)->nick, QStringLiteral("Вася"));
    QCOMPARE(say(Admin, QStringLiteral("!nik Вася Василий Петрович")), StageOutcome::Stop);
    QCOMPARE(replies(), QStringList{QStringLiteral("2>1002:") + ChatModeration::RenamedText + "Василий Петрович"});
    QCOMPARE(ChatMemberList::find(Member)->nick, QStringLiteral("Василий Петрович"));
    QCOMPARE(RoomMembers::entries(QStringLiteral("0")).first().nick, QStringLiteral("Василий Петрович"));
    // No new nick after the blank: the nick stays.
    QCOMPARE(say(Admin, QStringLiteral("!НИК Василий ")), StageOutcome::Continue);
    QCOMPARE(say(Admin, QStringLiteral("!НИК Василий Петрович ")), StageOutcome::Continue);
    QVERIFY(TextFile::writeLines(ChatMemberList::FilePath, {Member + QStringLiteral(" - Вася - 0")}));
    QCOMPARE(say(Admin, QStringLiteral("!НИК Вася ")), StageOutcome::Stop);
    QCOMPARE(ChatMemberList::find(Member)->nick, QStringLiteral("Вася"));
}

void tst_ModerationFiles::invisibleListLayout()
{
    QCOMPARE(say(Admin, QStringLiteral("!inviz on")), StageOutcome::Stop);
    QCOMPARE(TextFile::readAll(InvisibleList::FilePath), QStringLiteral("\r\n1001\r\n"));
    QCOMPARE(say(Admin, QStringLiteral("!INVIZ ON")), StageOutcome::Stop);
    QCOMPARE(say(Admin, QStringLiteral("!INVIZ OFF")), StageOutcome::Stop);
    QCOMPARE(TextFile::readAll(InvisibleList::FilePath), QStringLiteral("\r\n"));
    QCOMPARE(say(Member, QStringLiteral("!INVIZ OFF")), StageOutcome::Stop);
    QCOMPARE(say(Member, QStringLiteral("!INVIZ ON")), StageOutcome::Stop);
    QCOMPARE(replies(), (QStringList{QStringLiteral("2>1001:") + ChatModeration::InvisibleOnText,
                                     QStringLiteral("2>1001:") + ChatModeration::AlreadyInvisibleText,
                                     QStringLiteral("2>1001:") + ChatModeration::InvisibleOffText,
                                     QStringLiteral("2>1002:") + ChatModeration::NotInvisibleText,
                                     QStringLiteral("2>1002:") + ChatModeration::NoInvisibleRightsText}));
    // Without staff both are silent, and still taken.
    QVERIFY(TextFile::writeLines(ChatStaff::FilePath, {QString()}));
    QCOMPARE(say(Admin, QStringLiteral("!INVIZ ON")), StageOutcome::Stop);
    QCOMPARE(say(Admin, QStringLiteral("!КИК Вася")), StageOutcome::Continue);
    QCOMPARE(replies(), QStringList{});
}

QTEST_MAIN(tst_ModerationFiles)
#include "tst_moderationfiles.moc"
