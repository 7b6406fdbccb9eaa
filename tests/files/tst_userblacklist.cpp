// The user blacklist: the one line format, the ban check's reading, the lift and the
// start-up's purge.
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/userblacklist.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QDate Today(2026, 12, 10);
const QString Gone = QStringLiteral("<gone>");
} // namespace

class TestUserBlacklist : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void parseLine_data();
    void parseLine();
    void standing_data();
    void standing();
    void banOf_data();
    void banOf();
    void lift_data();
    void lift();
    void purge_data();
    void purge();
    void addReachesTheBanCheck_data();
    void addReachesTheBanCheck();
    void addRefusesAListedNumber();
    void change_data();
    void change();
    void refusal_data();
    void refusal();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestUserBlacklist::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    ProgramFolder::setHome(m_home->path());
}

void TestUserBlacklist::cleanup()
{
    m_home.reset();
}

void TestUserBlacklist::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("reason");
    QTest::newRow("three fields") << "123:^:06.03.2008:^:спам" << true << "123" << "06.03.2008" << "спам";
    QTest::newRow("reason with the separator")
        << "123:^:06.03.2008:^:мат:^:и флуд" << true << "123" << "06.03.2008" << "мат:^:и флуд";
    QTest::newRow("no reason") << "123:^:06.03.2008" << true << "123" << "06.03.2008" << "";
    QTest::newRow("empty until") << "123:^::^:x" << true << "123" << "" << "x";
    QTest::newRow("no separator") << "123" << false << "" << "" << "";
    QTest::newRow("empty") << "" << false << "" << "" << "";
}

void TestUserBlacklist::parseLine()
{
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const std::optional<UserBlacklist::Entry> entry = UserBlacklist::parseLine(line);
    QCOMPARE(entry.has_value(), parsed);
    if (!entry)
        return;
    QTEST(entry->number, "number");
    QTEST(entry->until, "until");
    QTEST(entry->reason, "reason");
    QCOMPARE(UserBlacklist::formatLine(*entry), entry->reason.isEmpty() && !line.endsWith(":^:")
                                                    ? line + QStringLiteral(":^:")
                                                    : line);
}

void TestUserBlacklist::standing_data()
{
    QTest::addColumn<QString>("until");
    QTest::addColumn<bool>("standing");
    QTest::newRow("tomorrow") << "11.12.2026" << true;
    QTest::newRow("today") << "10.12.2026" << false;
    QTest::newRow("yesterday") << "9.12.2026" << false;
    QTest::newRow("not a date") << "навсегда" << true;
    QTest::newRow("impossible date") << "31.02.2026" << true;
}

void TestUserBlacklist::standing()
{
    QFETCH(QString, until);
    QFETCH(bool, standing);
    QCOMPARE(UserBlacklist::isStanding({"1", until, ""}, Today), standing);
}

void TestUserBlacklist::banOf_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until"); // empty: no ban
    QTest::newRow("found") << "7:^:01.01.2030:^:a\r\n123:^:06.03.2008:^:x\r\n" << "123" << "06.03.2008";
    QTest::newRow("first line decides") << "123:^:1.1.2030:^:a\r\n123:^:2.2.2030:^:b\r\n" << "123" << "1.1.2030";
    QTest::newRow("whole number field") << "123:^:06.03.2008:^:x\r\n" << "12" << "";
    QTest::newRow("line without separator skipped") << "123\r\n123:^:1.1.2030\r\n" << "123" << "1.1.2030";
    QTest::newRow("after an empty line") << "7:^:01.01.2030:^:a\r\n\r\n123:^:06.03.2008:^:x\r\n" << "123" << "";
    QTest::newRow("no file") << "" << "123" << "";
}

void TestUserBlacklist::banOf()
{
    QFETCH(QString, file);
    QFETCH(QString, number);
    QFETCH(QString, until);
    if (!file.isEmpty())
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, file));
    const std::optional<UserBlacklist::Entry> ban = UserBlacklist::banOf(number);
    QCOMPARE(ban.has_value(), !until.isEmpty());
    if (ban)
        QCOMPARE(ban->until, until);
}

void TestUserBlacklist::lift_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("every line of the number")
        << "7:^:1.1.2030:^:a\r\n123:^:1.1.2000:^:x\r\n8:^:1.1.2030:^:b\r\n123:^:1.1.2030:^:y\r\n"
        << "7:^:1.1.2030:^:a\r\n8:^:1.1.2030:^:b\r\n";
    QTest::newRow("only line: the file goes") << "123:^:1.1.2000:^:x\r\n" << Gone;
    // An empty line left behind would end the ban check before the later bans.
    QTest::newRow("other lines kept, empty ones dropped") << "junk\r\n123:^:1.1.2000\r\n\r\n9:^:x\r\n"
                                                          << "junk\r\n9:^:x\r\n";
    QTest::newRow("only empty lines left: the file goes") << "\r\n123:^:1.1.2000:^:x\r\n\r\n" << Gone;
    QTest::newRow("not listed: untouched") << "7:^:1.1.2030:^:a\r\n" << "7:^:1.1.2030:^:a\r\n";
}

void TestUserBlacklist::lift()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, before));
    QVERIFY(UserBlacklist::lift(QStringLiteral("123")));
    if (after == Gone)
        QVERIFY(!TextFile::exists(UserBlacklist::FilePath));
    else
        QCOMPARE(TextFile::readAll(UserBlacklist::FilePath), after);
}

void TestUserBlacklist::purge_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("expired");
    QTest::addColumn<int>("malformed");
    QTest::newRow("tomorrow stays, yesterday goes") << "111:^:11.12.2026:^:спам\r\n222:^:09.12.2026:^:мат\r\n"
                                                    << "111:^:11.12.2026:^:спам\r\n" << 1 << 0;
    // Nothing kept: no empty line is left for the ban check to stop at.
    QTest::newRow("empty until and no separator go") << "111:^::^:x\r\n222\r\n" << Gone << 0 << 2;
    QTest::newRow("all past: the file goes") << "111:^:1.1.2000\r\n222:^:10.12.2026:^:x\r\n" << Gone << 2 << 0;
    QTest::newRow("only a line end: the file goes") << "\r\n" << Gone << 0 << 0;
    QTest::newRow("empty lines go uncounted") << "111:^:1.1.2030\r\n\r\n222:^:1.1.2030\r\n"
                                              << "111:^:1.1.2030\r\n222:^:1.1.2030\r\n" << 0 << 0;
    QTest::newRow("unended last line is ended") << "111:^:1.1.2030\r\n222:^:1.1.2000:^:x\r\n333:^:1.1.2030"
                                                << "111:^:1.1.2030\r\n333:^:1.1.2030\r\n" << 1 << 0;
    QTest::newRow("unreadable date stays") << "111:^:навсегда:^:x\r\n" << "111:^:навсегда:^:x\r\n" << 0 << 0;
    QTest::newRow("empty file left alone") << "" << "" << 0 << 0;
    QTest::newRow("missing file left alone") << Gone << Gone << 0 << 0;
}

void TestUserBlacklist::purge()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, expired);
    QFETCH(int, malformed);
    if (before != Gone)
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, before));
    const UserBlacklist::Purged purged = UserBlacklist::purgeExpired(Today);
    QCOMPARE(purged.expired, expired);
    QCOMPARE(purged.malformed, malformed);
    if (after == Gone)
        QVERIFY(!TextFile::exists(UserBlacklist::FilePath));
    else
        QCOMPARE(TextFile::readAll(UserBlacklist::FilePath), after);
}

void TestUserBlacklist::addReachesTheBanCheck_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString ban = QStringLiteral("555:^:11.12.2026:^:спам\r\n");
    QTest::newRow("missing file") << Gone << ban;
    QTest::newRow("empty file") << "" << ban;
    QTest::newRow("appended to a clean file") << "1:^:1.1.2030:^:a\r\n" << "1:^:1.1.2030:^:a\r\n" + ban;
    QTest::newRow("one empty line") << "\r\n" << ban;
    QTest::newRow("empty lines between bans") << "1:^:1.1.2030:^:a\r\n\r\n\r\n2:^:1.1.2030:^:b\r\n"
                                              << "1:^:1.1.2030:^:a\r\n2:^:1.1.2030:^:b\r\n" + ban;
    QTest::newRow("unended last line") << "1:^:1.1.2030:^:a" << "1:^:1.1.2030:^:a\r\n" + ban;
    QTest::newRow("LF-only file") << "1:^:1.1.2030:^:a\n" << "1:^:1.1.2030:^:a\n" + ban;
}

void TestUserBlacklist::addReachesTheBanCheck()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    if (before != Gone)
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, before));
    QVERIFY(UserBlacklist::add({"555", "11.12.2026", "спам"}));
    QCOMPARE(TextFile::readAll(UserBlacklist::FilePath), after);
    QVERIFY(UserBlacklist::banOf(QStringLiteral("555")));
}

void TestUserBlacklist::addRefusesAListedNumber()
{
    QVERIFY(UserBlacklist::add({"123", "11.12.2026", "спам"}));
    QVERIFY(!UserBlacklist::add({"123", "12.12.2026", "ещё"}));
    QVERIFY(!UserBlacklist::add({"", "12.12.2026", "x"}));
    QVERIFY(UserBlacklist::add({"1234", "12.12.2026", "x"}));
    QCOMPARE(TextFile::readAll(UserBlacklist::FilePath),
             QStringLiteral("123:^:11.12.2026:^:спам\r\n1234:^:12.12.2026:^:x\r\n"));
    QVERIFY(UserBlacklist::contains("1234"));
    QVERIFY(!UserBlacklist::contains("12"));
}

void TestUserBlacklist::change_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("in place") << "7:^:1.1.2030:^:a\r\n123:^:1.1.2000:^:x\r\n8:^:1.1.2030:^:b\r\n"
                              << "7:^:1.1.2030:^:a\r\n123:^:02.02.2031:^:новая\r\n8:^:1.1.2030:^:b\r\n";
    QTest::newRow("both lines of a hand-edited file")
        << "123:^:1.1.2000:^:x\r\n123:^:1.1.2001:^:y\r\n"
        << "123:^:02.02.2031:^:новая\r\n123:^:02.02.2031:^:новая\r\n";
    QTest::newRow("whole number field only") << "1234:^:1.1.2000:^:x\r\n" << "1234:^:1.1.2000:^:x\r\n";
    QTest::newRow("empty lines dropped") << "\r\n123:^:1.1.2000:^:x\r\n\r\n8:^:1.1.2030:^:b"
                                         << "123:^:02.02.2031:^:новая\r\n8:^:1.1.2030:^:b\r\n";
    QTest::newRow("empty file goes") << "" << Gone;
    QTest::newRow("missing file stays missing") << Gone << Gone;
}

void TestUserBlacklist::change()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    if (before != Gone)
        QVERIFY(TextFile::writeAll(UserBlacklist::FilePath, before));
    QVERIFY(UserBlacklist::change({"123", "02.02.2031", "новая"}));
    if (after == Gone)
        QVERIFY(!TextFile::exists(UserBlacklist::FilePath));
    else
        QCOMPARE(TextFile::readAll(UserBlacklist::FilePath), after);
}

void TestUserBlacklist::refusal_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("refused");
    QTest::newRow("sound") << "123" << "02.02.2031" << "спам" << false;
    QTest::newRow("reason with the separator") << "123" << "02.02.2031" << "a:^:b" << false;
    QTest::newRow("empty number") << "" << "02.02.2031" << "спам" << true;
    QTest::newRow("empty date") << "123" << "" << "спам" << true;
    QTest::newRow("empty reason") << "123" << "02.02.2031" << "" << true;
    QTest::newRow("number with letters") << "12a" << "02.02.2031" << "спам" << true;
    QTest::newRow("number with a sign") << "-12" << "02.02.2031" << "спам" << true;
    QTest::newRow("number in exponent form") << "1e5" << "02.02.2031" << "спам" << true;
    QTest::newRow("date not a date") << "123" << "завтра" << "спам" << true;
    QTest::newRow("impossible date") << "123" << "31.02.2031" << "спам" << true;
    QTest::newRow("short date form") << "123" << "2.2.2031" << "спам" << true;
    QTest::newRow("reason with a line break") << "123" << "02.02.2031" << "a\r\nb" << true;
}

void TestUserBlacklist::refusal()
{
    QFETCH(QString, number);
    QFETCH(QString, until);
    QFETCH(QString, reason);
    QFETCH(bool, refused);
    QCOMPARE(!UserBlacklist::refusal({number, until, reason}).isEmpty(), refused);
}

QTEST_GUILESS_MAIN(TestUserBlacklist)
#include "tst_userblacklist.moc"
