// Users spread over the secondary bots: assignment, referral, activity and release, and
// the distribution list's own reading and rewriting. Every test runs in a fresh program folder.
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "session/distribution.h"
#include "files/distributionlist.h"
#include "support/badlinereport.h"
#include "support/programhome.h"

#include <QFile>
#include <QSet>
#include <QTest>

#include <functional>

namespace {

struct Sent
{
    int slot;
    QString text;
    QString to;
    bool operator==(const Sent &) const = default;
};

const QDateTime Start(QDate(2026, 3, 31), QTime(23, 50, 0));

} // namespace

Q_DECLARE_METATYPE(Sent)
Q_DECLARE_METATYPE(QList<Sent>)

namespace QTest {
template<> char *toString(const Sent &sent)
{
    return qstrdup(qPrintable(QStringLiteral("%1 -> %2: %3").arg(sent.slot).arg(sent.to, sent.text)));
}
} // namespace QTest

class tst_Distribution : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listLines_data();
    void listLines();
    void countRewriteKeepsOtherLinesAndOwnerOnly();
    void countChangeStaysInRange_data();
    void countChangeStaysInRange();

    void newUserGetsFirstSignedOnBotWithRoom_data();
    void newUserGetsFirstSignedOnBotWithRoom();
    void noRoomLeavesFilesAlone_data();
    void noRoomLeavesFilesAlone();
    void assignedUserWritingToMainBot();
    void secondaryBotServesOnlyItsOwn_data();
    void secondaryBotServesOnlyItsOwn();
    void emptyListMainBotServesEveryone();
    void burstRefreshesOnlyTheWritersLines();

    void idleRelease_data();
    void idleRelease();
    void releaseOfLastUsersDeletesFiles();
    void badAssignmentReportedOncePerVersion_data();
    void badAssignmentReportedOncePerVersion();
    void ownWritesOfAssignmentsAreNoNews();

private:
    BotDistribution makeDistribution(QSet<int> signedOn = {2, 3});
    void writeList(const QStringList &lines)
    {
        QVERIFY(TextFile::writeLines(DistributionList::FilePath, lines));
    }

    std::unique_ptr<ProgramHome> m_dir;
    FixedClock m_clock{Start};
    QList<Sent> m_sent;
};

void tst_Distribution::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(Start);
    Clock::setInstance(&m_clock);
    m_sent.clear();
}

void tst_Distribution::cleanup()
{
    Clock::setInstance(nullptr);
    m_dir.reset();
}

BotDistribution tst_Distribution::makeDistribution(QSet<int> signedOn)
{
    return BotDistribution(
        [this](int slot, const QString &text, const QString &to) {
            m_sent.append({slot, text, to});
        },
        [signedOn](int slot) { return signedOn.contains(slot); });
}

void tst_Distribution::listLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("slotNumbers");
    QTest::addColumn<QList<int>>("counts");

    QTest::newRow("four fields") << QStringList{"2 222222 pw 4", "3 333333 pw2 0"} << QList<int>{2, 3}
                                 << QList<int>{4, 0};
    QTest::newRow("missing count is 0") << QStringList{"2 222222 pw"} << QList<int>{2} << QList<int>{0};
    QTest::newRow("negative count is 0") << QStringList{"2 222222 pw -3"} << QList<int>{2} << QList<int>{0};
    QTest::newRow("no password skipped, next line kept")
        << QStringList{"2 222222", "3 333333 pw 1"} << QList<int>{3} << QList<int>{1};
    QTest::newRow("number not numeric skipped")
        << QStringList{"2 abc pw 0", "3 333333 pw 0"} << QList<int>{3} << QList<int>{0};
    QTest::newRow("index not a secondary slot skipped")
        << QStringList{"1 222222 pw 0", "x 333333 pw 0"} << QList<int>{} << QList<int>{};
    QTest::newRow("empty line ends the list")
        << QStringList{"2 222222 pw 0", "", "3 333333 pw 0"} << QList<int>{2} << QList<int>{0};
}

void tst_Distribution::listLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, slotNumbers);
    QFETCH(QList<int>, counts);
    writeList(lines);
    const DistributionList list = DistributionList::load();
    QList<int> gotSlots;
    QList<int> gotCounts;
    for (const DistributionList::Entry &entry : list.entries()) {
        gotSlots.append(entry.index);
        gotCounts.append(entry.count);
    }
    QCOMPARE(gotSlots, slotNumbers);
    QCOMPARE(gotCounts, counts);
}

void tst_Distribution::countRewriteKeepsOtherLinesAndOwnerOnly()
{
    writeList({"2 222222 pw 0", "bad line", "3 333333 pw2 5", "", "4 444444 pw 0"});
    DistributionList list = DistributionList::load();
    QVERIFY(list.changeCount(3, +1));
    QCOMPARE(TextFile::readAll(DistributionList::FilePath),
             QStringLiteral("2 222222 pw 0\r\nbad line\r\n3 333333 pw2 6\r\n\r\n4 444444 pw 0\r\n"));
    QCOMPARE(QFile::permissions(TextFile::filePath(DistributionList::FilePath)) & 0x0077,
             QFile::Permissions());

    QVERIFY(list.changeCount(2, -1));
    QVERIFY(TextFile::readAll(DistributionList::FilePath).startsWith(QStringLiteral("2 222222 pw 0\r\n")));
    QVERIFY(!list.changeCount(7, +1));
}

void tst_Distribution::countChangeStaysInRange_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("written");

    QTest::newRow("largest count, one more") << "2 222222 pw 2147483647" << +1 << "2 222222 pw 2147483647";
    QTest::newRow("largest count, one less") << "2 222222 pw 2147483647" << -1 << "2 222222 pw 2147483646";
    QTest::newRow("zero, one less") << "2 222222 pw 0" << -1 << "2 222222 pw 0";
    QTest::newRow("count too large to read is 0") << "2 222222 pw 99999999999" << +1 << "2 222222 pw 1";
}

void tst_Distribution::countChangeStaysInRange()
{
    QFETCH(QString, line);
    QFETCH(int, delta);
    QFETCH(QString, written);
    writeList({line});
    DistributionList list = DistributionList::load();
    QVERIFY(list.changeCount(2, delta));
    QCOMPARE(TextFile::readLines(DistributionList::FilePath), QStringList{written});
    QCOMPARE(DistributionList::load().entryForSlot(2)->count, written.section(QLatin1Char(' '), 3).toInt());
}

void tst_Distribution::newUserGetsFirstSignedOnBotWithRoom_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QList<int>>("signedOn");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("listAfter");

    QTest::newRow("first has room") << QStringList{"2 222222 pw 0", "3 333333 pw 0"} << QList<int>{2, 3} << 2
                                    << QStringLiteral("2 222222 pw 1\r\n3 333333 pw 0\r\n");
    QTest::newRow("first full") << QStringList{"2 222222 pw 10", "3 333333 pw 3"} << QList<int>{2, 3} << 3
                                << QStringLiteral("2 222222 pw 10\r\n3 333333 pw 4\r\n");
    QTest::newRow("first not signed on") << QStringList{"2 222222 pw 0", "3 333333 pw 0"} << QList<int>{3}
                                         << 3 << QStringLiteral("2 222222 pw 0\r\n3 333333 pw 1\r\n");
    QTest::newRow("index not from 2")
        << QStringList{"5 555555 pw 0"} << QList<int>{5} << 5 << QStringLiteral("5 555555 pw 1\r\n");
}

void tst_Distribution::newUserGetsFirstSignedOnBotWithRoom()
{
    QFETCH(QStringList, list);
    QFETCH(QList<int>, signedOn);
    QFETCH(int, slot);
    QFETCH(QString, listAfter);
    writeList(list);
    BotDistribution distribution = makeDistribution(QSet<int>(signedOn.begin(), signedOn.end()));

    MessageState state;
    state.slot = 1;
    state.SenderUin = QStringLiteral("5000");
    QVERIFY(!distribution.distribute(state));

    QCOMPARE(m_sent, (QList<Sent>{{slot, BotDistribution::AssignedText, QStringLiteral("5000")}}));
    QCOMPARE(TextFile::readAll(DistributionList::FilePath), listAfter);
    QCOMPARE(TextFile::readLines(BotDistribution::AssignmentFile),
             QStringList{QStringLiteral("%1 5000").arg(slot)});
    QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile), QStringList{"5000 31.03.2026 23:50:00"});
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("5000")), slot);
}

void tst_Distribution::noRoomLeavesFilesAlone_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QList<int>>("signedOn");
    QTest::newRow("all full") << QStringList{"2 222222 pw 10", "3 333333 pw 12"} << QList<int>{2, 3};
    QTest::newRow("none signed on") << QStringList{"2 222222 pw 0", "3 333333 pw 0"} << QList<int>{};
}

void tst_Distribution::noRoomLeavesFilesAlone()
{
    QFETCH(QStringList, list);
    QFETCH(QList<int>, signedOn);
    writeList(list);
    const QString before = TextFile::readAll(DistributionList::FilePath);
    BotDistribution distribution = makeDistribution(QSet<int>(signedOn.begin(), signedOn.end()));

    MessageState state;
    state.slot = 1;
    state.SenderUin = QStringLiteral("5000");
    QVERIFY(!distribution.distribute(state));
    QCOMPARE(m_sent, (QList<Sent>{{1, BotDistribution::AllBusyText, QStringLiteral("5000")}}));
    QCOMPARE(TextFile::readAll(DistributionList::FilePath), before);
    QVERIFY(!TextFile::exists(BotDistribution::AssignmentFile));
    QVERIFY(!TextFile::exists(BotDistribution::ActivityFile));
}

void tst_Distribution::assignedUserWritingToMainBot()
{
    writeList({"2 222222 pw 1", "3 333333 pw 1"});
    TextFile::writeLines(BotDistribution::AssignmentFile, {"2 12345", "3 5000"});
    BotDistribution distribution = makeDistribution();

    MessageState state;
    state.slot = 1;
    state.SenderUin = QStringLiteral("5000");
    QVERIFY(!distribution.distribute(state));
    QCOMPARE(m_sent, (QList<Sent>{{3, BotDistribution::YourBotText, QStringLiteral("5000")}}));
    QCOMPARE(TextFile::readAll(DistributionList::FilePath),
             QStringLiteral("2 222222 pw 1\r\n3 333333 pw 1\r\n"));
}

void tst_Distribution::secondaryBotServesOnlyItsOwn_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("letThrough");

    QTest::newRow("own user") << QStringList{"2 1234"} << 2 << true;
    QTest::newRow("no assignment list") << QStringList{} << 2 << false;
    QTest::newRow("user of another bot") << QStringList{"3 1234"} << 2 << false;
    QTest::newRow("number only a prefix of the line's") << QStringList{"2 12345"} << 2 << false;
    QTest::newRow("slot only a suffix of the line's") << QStringList{"12 1234"} << 2 << false;
    QTest::newRow("slot with a leading zero") << QStringList{"3 1234", "02 1234"} << 2 << true;
    QTest::newRow("slot not a number") << QStringList{"x 1234", "2x 1234"} << 2 << false;
}

void tst_Distribution::secondaryBotServesOnlyItsOwn()
{
    QFETCH(QStringList, assignments);
    QFETCH(int, slot);
    QFETCH(bool, letThrough);
    writeList({"2 222222 pw 1", "3 333333 pw 1"});
    if (!assignments.isEmpty())
        TextFile::writeLines(BotDistribution::AssignmentFile, assignments);
    TextFile::writeLines(BotDistribution::ActivityFile,
                         {"1234 31.03.2026 23:00:00", "777 31.03.2026 23:01:00"});
    BotDistribution distribution = makeDistribution();

    MessageState state;
    state.slot = slot;
    state.SenderUin = QStringLiteral("1234");
    QCOMPARE(distribution.distribute(state), letThrough);
    if (letThrough) {
        QVERIFY(m_sent.isEmpty());
        QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile),
                 (QStringList{"1234 31.03.2026 23:50:00", "777 31.03.2026 23:01:00"}));
    } else {
        QCOMPARE(m_sent, (QList<Sent>{{1, BotDistribution::ReferralText, QStringLiteral("1234")}}));
        QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile).first(), "1234 31.03.2026 23:00:00");
    }
}

void tst_Distribution::burstRefreshesOnlyTheWritersLines()
{
    writeList({"2 222222 pw 2"});
    TextFile::writeLines(BotDistribution::AssignmentFile, {"2 1234", "2 777"});
    TextFile::writeLines(BotDistribution::ActivityFile,
                         {"1234 31.03.2026 23:00:00", "", "777 31.03.2026 23:01:00", "9 31.03.2026 23:02:00"});
    BotDistribution distribution = makeDistribution();
    MessageState state;
    state.slot = 2;
    // Many messages before the list is written: each changes only its writer's line.
    for (const char *uin : {"1234", "777", "1234"}) {
        state.SenderUin = QString::fromLatin1(uin);
        QVERIFY(distribution.distribute(state));
        m_clock.advanceSecs(1);
    }
    QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile),
             (QStringList{"1234 31.03.2026 23:50:02", "777 31.03.2026 23:50:01", "9 31.03.2026 23:02:00"}));
}

void tst_Distribution::emptyListMainBotServesEveryone()
{
    BotDistribution distribution = makeDistribution();
    MessageState first;
    first.slot = 1;
    first.SenderUin = QStringLiteral("100");
    QVERIFY(distribution.distribute(first));
    MessageState second = first;
    second.SenderUin = QStringLiteral("200");
    QVERIFY(distribution.distribute(second));
    QVERIFY(m_sent.isEmpty());
    // The refresh adds a line only to an empty list.
    QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile), QStringList{"100 31.03.2026 23:50:00"});
}

void tst_Distribution::idleRelease_data()
{
    QTest::addColumn<QString>("activity");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("released");

    const QDate first(2026, 4, 1);
    QTest::newRow("across midnight and month, 15 minutes")
        << "5000 31.03.2026 23:50:00" << QDateTime(first, QTime(0, 5)) << false;
    QTest::newRow("across midnight and month, 25 minutes")
        << "5000 31.03.2026 23:40:00" << QDateTime(first, QTime(0, 5)) << true;
    QTest::newRow("seconds do not count")
        << "5000 01.04.2026 10:30:59" << QDateTime(first, QTime(10, 50)) << true;
    QTest::newRow("19 minutes") << "5000 01.04.2026 10:31:00" << QDateTime(first, QTime(10, 50, 59)) << false;
    QTest::newRow("zero-padded hour") << "5000 01.04.2026 09:00:00" << QDateTime(first, QTime(9, 30)) << true;
    QTest::newRow("line that does not parse") << "5000 вчера" << QDateTime(first, QTime(9, 30)) << true;
}

void tst_Distribution::idleRelease()
{
    QFETCH(QString, activity);
    QFETCH(QDateTime, now);
    QFETCH(bool, released);
    writeList({"2 222222 pw 2", "3 333333 pw 0"});
    TextFile::writeLines(BotDistribution::AssignmentFile, {"2 5000", "2 6000"});
    TextFile::writeLines(BotDistribution::ActivityFile,
                         {activity, "6000 " + now.toString("dd.MM.yyyy H:mm:ss")});
    m_clock.set(now);

    makeDistribution().releaseIdle();

    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("5000")), released ? 0 : 2);
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("6000")), 2);
    QCOMPARE(DistributionList::load().entryForSlot(2)->count, released ? 1 : 2);
    QCOMPARE(TextFile::readLines(BotDistribution::ActivityFile).size(), released ? 1 : 2);
}

void tst_Distribution::releaseOfLastUsersDeletesFiles()
{
    // A count already at 0 stays there.
    writeList({"2 222222 pw 0", "3 333333 pw 1"});
    TextFile::writeLines(BotDistribution::AssignmentFile, {"2 5000", "3 6000"});
    TextFile::writeLines(BotDistribution::ActivityFile,
                         {"5000 31.03.2026 23:00:00", "", "6000 31.03.2026 23:10:00"});

    makeDistribution().releaseIdle();

    QVERIFY(!TextFile::exists(BotDistribution::AssignmentFile));
    QVERIFY(!TextFile::exists(BotDistribution::ActivityFile));
    QCOMPARE(TextFile::readAll(DistributionList::FilePath),
             QStringLiteral("2 222222 pw 0\r\n3 333333 pw 0\r\n"));
}

void tst_Distribution::badAssignmentReportedOncePerVersion_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<std::function<void()>>("read");
    using Read = std::function<void()>;
    QTest::newRow("no blank") << QByteArray("2 5000\r\n6000\r\n") << 2
                              << Read([] { BotDistribution::assignedSlot(QStringLiteral("6000")); });
    QTest::newRow("slot not a number") << QByteArray("\r\nдва 5000\r\n") << 2
                                       << Read([] { BotDistribution::assignments(); });
    QTest::newRow("binary") << QByteArray("2 5000\r\n\x01 1\r\n") << 2
                            << Read([this] {
                                   MessageState state;
                                   state.slot = 2;
                                   state.SenderUin = QStringLiteral("7000");
                                   makeDistribution().distribute(state);
                               });
}

void tst_Distribution::badAssignmentReportedOncePerVersion()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(std::function<void()>, read);
    checkBadLineReportedOncePerVersion(BotDistribution::AssignmentFile, bytes, line, read, "2 5000\r\n3 6000\r\n");
}

void tst_Distribution::ownWritesOfAssignmentsAreNoNews()
{
    const auto read = [] { BotDistribution::assignments(); };
    const QByteArray bytes("мусор\r\n2 5000\r\n3 6000\r\n");
    // A user given a bot is appended; a user released leaves a rewrite that keeps the rest.
    writeList({"2 222222 pw 1", "3 333333 pw 1"});
    checkOwnWriteIsNoNews(BotDistribution::AssignmentFile, bytes, read, [this] {
        MessageState state;
        state.slot = 1;
        state.SenderUin = QStringLiteral("7000");
        makeDistribution().distribute(state);
    });
    QCOMPARE(BotDistribution::assignedSlot(QStringLiteral("7000")), 2);
    checkOwnWriteIsNoNews(BotDistribution::AssignmentFile, bytes, read, [this] {
        TextFile::writeLines(BotDistribution::ActivityFile, {"5000 31.03.2026 23:00:00", "6000 31.03.2026 23:49:00"});
        makeDistribution().releaseIdle();
    });
    QCOMPARE(TextFile::readLines(BotDistribution::AssignmentFile), (QStringList{"мусор", "3 6000"}));
}

QTEST_GUILESS_MAIN(tst_Distribution)
#include "tst_distribution.moc"
