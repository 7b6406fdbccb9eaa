// The owners of the feature files: what the windows write reads back the same, and
// what the engine and the windows read from one file agrees.
#include "core/generalsettings.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/admincontactfile.h"
#include "files/adminfile.h"
#include "files/antispamfile.h"
#include "files/automessages.h"
#include "files/chatbanlist.h"
#include "files/distributionlist.h"
#include "files/groupnumbers.h"
#include "files/notepadfiles.h"
#include "files/redirectfile.h"
#include "files/signaturefile.h"
#include "files/storedlogin.h"
#include "files/userblacklist.h"
#include "files/votefile.h"
#include "support/badlinereport.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QTest>

#include <functional>

class tst_FeatureFiles : public QObject
{
    Q_OBJECT

private slots:
    void voteCounts_data();
    void voteCounts();
    void voteFormat_data();
    void voteFormat();
    void antiSpamRoundTrip_data();
    void antiSpamRoundTrip();
    void redirectModes_data();
    void redirectModes();
    void signatureText_data();
    void signatureText();
    void adminFile_data();
    void adminFile();
    void autoMessagesHeader_data();
    void autoMessagesHeader();
    void badLineReportedOncePerVersion_data();
    void badLineReportedOncePerVersion();
};

using Counts = QList<VoteFile::Count>;

void tst_FeatureFiles::voteCounts_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Counts>("expected");

    QTest::newRow("most first, unknown ignored")
        << QStringList{"Red", "blue"} << QStringList{"RED", "BLUE", "BLUE", "GREEN"}
        << Counts{{"blue", 2}, {"Red", 1}};
    QTest::newRow("lines compared exactly")
        << QStringList{"Red"} << QStringList{"red", "RED "} << Counts{{"Red", 0}};
    QTest::newRow("case twins: the first counts")
        << QStringList{"Да", "да"} << QStringList{"ДА"} << Counts{{"Да", 1}, {"да", 0}};
    QTest::newRow("ties 1 1 0") << QStringList{"A", "B", "C"} << QStringList{"A", "B"}
                                << Counts{{"B", 1}, {"A", 1}, {"C", 0}};
    QTest::newRow("ties 0 0 1") << QStringList{"A", "B", "C"} << QStringList{"C"}
                                << Counts{{"C", 1}, {"B", 0}, {"A", 0}};
    QTest::newRow("no options") << QStringList{} << QStringList{"A"} << Counts{};
}

void tst_FeatureFiles::voteCounts()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, lines);
    QFETCH(Counts, expected);
    const Counts counts = VoteFile::count(options, lines);
    QCOMPARE(counts.size(), expected.size());
    for (qsizetype i = 0; i < counts.size(); ++i) {
        QCOMPARE(counts.at(i).option, expected.at(i).option);
        QCOMPARE(counts.at(i).votes, expected.at(i).votes);
    }
}

void tst_FeatureFiles::voteFormat_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("readBack");

    QTest::newRow("options") << "Q" << QStringList{"a", "b"} << "Q:^:a:^:b\r\n" << QStringList{"a", "b"};
    QTest::newRow("none") << "Q" << QStringList{} << "Q:^:\r\n" << QStringList{""};
    QTest::newRow("empty head dropped") << "Q" << QStringList{"", "", "a", ""} << "Q:^:a:^:\r\n"
                                        << QStringList{"a", ""};
}

void tst_FeatureFiles::voteFormat()
{
    QFETCH(QString, question);
    QFETCH(QStringList, options);
    QFETCH(QString, text);
    QFETCH(QStringList, readBack);
    QCOMPARE(VoteFile::format(question, options), text);
    const std::optional<VoteFile::Definition> vote = VoteFile::parse(text);
    QVERIFY(vote);
    QCOMPARE(vote->question, question);
    QCOMPARE(vote->options, readBack);
    QVERIFY(!VoteFile::parse(QString()));
    QVERIFY(!VoteFile::parse(QStringLiteral("\r\n")));
}

void tst_FeatureFiles::antiSpamRoundTrip_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("success");

    QTest::newRow("plain") << true << "Q"
                           << "A"
                           << "S";
    QTest::newRow("off") << false << "Q"
                         << "A"
                         << "S";
    QTest::newRow("line ends everywhere") << true << "Q\r\n"
                                          << "A\r\n"
                                          << "S\r\n";
    QTest::newRow("only line ends") << true << "\r\n"
                                    << "\r\n\r\n"
                                    << "\r\n";
    QTest::newRow("empty") << true << ""
                           << ""
                           << "";
    QTest::newRow("several lines") << true << "a\r\nb"
                                   << "c - d"
                                   << "e\r\n\r\nf";
}

// Whatever the window writes it reads back unchanged, and the engine's reading of the
// success text is the text and its line end.
void tst_FeatureFiles::antiSpamRoundTrip()
{
    AntiSpamFile::Contents written;
    QFETCH(bool, on);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(QString, success);
    written.on = on;
    written.question = question;
    written.answer = answer;
    written.success = success;
    const AntiSpamFile::Contents read = AntiSpamFile::parse(AntiSpamFile::format(written));
    QCOMPARE(read.on, on);
    QCOMPARE(read.question, question);
    QCOMPARE(read.answer, answer);
    QCOMPARE(read.success, success);
    QCOMPARE(read.storedSuccess, success + QStringLiteral("\r\n"));
}

void tst_FeatureFiles::redirectModes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("answersToo");
    QTest::addColumn<bool>("forwardOnly");
    QTest::addColumn<bool>("redirects");

    QTest::newRow("mode 1") << "1\r\n 1 \r\n" << true << false << true;
    QTest::newRow("mode 2") << "1\r\n 2 \r\n" << false << true << true;
    QTest::newRow("no number") << "\r\n 2 \r\n" << false << true << false;
    QTest::newRow("unknown mode") << "1\r\n 3 \r\n" << false << false << false;
    QTest::newRow("no mode") << "1\r\n" << false << false << false;
}

void tst_FeatureFiles::redirectModes()
{
    QFETCH(QString, text);
    const RedirectFile::Contents contents = RedirectFile::parse(text);
    QTEST(contents.answersToo(), "answersToo");
    QTEST(contents.forwardOnly(), "forwardOnly");
    QTEST(contents.redirects(), "redirects");
    QCOMPARE(RedirectFile::format(QStringLiteral("1"), true), QStringLiteral("1\r\n 1 \r\n"));
    QCOMPARE(RedirectFile::format(QString(), false), QStringLiteral("\r\n 2 \r\n"));
}

void tst_FeatureFiles::signatureText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("signatures");
    QTest::addColumn<QString>("boxText");

    QTest::newRow("missing") << "" << false << "vbcrlf" << QStringList{} << "";
    QTest::newRow("two") << " 1 \r\nvbcrlf\r\na\r\nb\r\n"
                         << true << "vbcrlf" << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("empty lines") << " 1 \r\n\r\n\r\na\r\n\r\n"
                                 << true << "" << QStringList{"", "a", ""} << "a\r\n";
}

void tst_FeatureFiles::signatureText()
{
    QFETCH(QString, text);
    const SignatureFile::Contents contents = SignatureFile::parse(text);
    QTEST(contents.on, "on");
    QTEST(contents.separator, "separator");
    QTEST(contents.signatures, "signatures");
    QTEST(contents.signatureText(), "boxText");
}

void tst_FeatureFiles::adminFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");

    QTest::newRow("missing") << QByteArray("<missing>") << ""
                             << "";
    QTest::newRow("number only") << QByteArray("555\r\n") << "555"
                                 << "";
    QTest::newRow("both, no last line end") << QByteArray("555\r\npass") << "555"
                                            << "pass";
    QTest::newRow("a third line is nobody's") << QByteArray("555\r\npass\r\nx\r\n") << "555"
                                              << "pass";
}

// What the settings page writes the engine reads back; the password stays owner-only.
void tst_FeatureFiles::adminFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, number);
    QFETCH(QString, password);
    ProgramHome home;
    const QString path = home.filePath(AdminFile::FilePath);
    if (bytes != "<missing>")
        QVERIFY(FileProbe::writeBytes(path, bytes));
    const AdminFile::Contents read = AdminFile::read();
    QCOMPARE(read, (AdminFile::Contents{number, password}));

    QVERIFY(AdminFile::write(read));
    QCOMPARE(FileProbe::bytes(path), (number + "\r\n" + password + "\r\n").toUtf8());
    QCOMPARE(FileProbe::unixMode(path), 0600);
    QCOMPARE(AdminFile::read(), read);
}

void tst_FeatureFiles::autoMessagesHeader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<int>("interval"); // 0: none
    QTest::addColumn<bool>("random");

    QTest::newRow("missing") << QByteArray("<missing>") << false << 0 << false;
    QTest::newRow("empty") << QByteArray() << false << 0 << false;
    QTest::newRow("one empty line") << QByteArray("\r\n") << true << 0 << false;
    QTest::newRow("600, random") << QByteArray("600\r\n 1 \r\nПривет&^+&&^=\r\n") << true << 600 << true;
    QTest::newRow("too long an interval") << QByteArray("86401\r\n0\r\n") << true << 0 << false;
}

// The start-up's arming and the chat's ticks read the header through one owner.
void tst_FeatureFiles::autoMessagesHeader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, interval);
    ProgramHome home;
    if (bytes != "<missing>")
        QVERIFY(FileProbe::writeBytes(home.filePath(AutoMessages::FilePath), bytes));
    QTEST(AutoMessages::hasText(), "hasText");
    const AutoMessages::File file = AutoMessages::read();
    QCOMPARE(file.interval(), interval ? std::optional<int>(interval) : std::nullopt);
    QTEST(file.random(), "random");
}

void tst_FeatureFiles::badLineReportedOncePerVersion_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<std::function<void()>>("read");
    using Read = std::function<void()>;
    QTest::newRow("group numbers: no colon")
        << GroupNumbers::FilePath << QByteArray("111:Друзья\r\n222 Враги\r\n") << 2
        << Read([] { GroupNumbers::groupOf(QStringLiteral("111")); });
    QTest::newRow("distribution list: fields missing")
        << DistributionList::FilePath << QByteArray("2 111 a 0\r\n3 222\r\n") << 2
        << Read([] { DistributionList::load(); });
    QTest::newRow("distribution list: binary")
        << DistributionList::FilePath << QByteArray("2 111 a 0\r\n\x01\x02\x00 2 3\r\n", 16) << 2
        << Read([] { DistributionList::load(); });
    QTest::newRow("distribution list: a huge line")
        << DistributionList::FilePath << QByteArray(100000, '2') + "\r\n"
        << 1 << Read([] { DistributionList::load(); });
    QTest::newRow("administrator contact: switch not a number")
        << AdminContactFile::FilePath << QByteArray("да\r\n123\r\n") << 1
        << Read([] { AdminContactFile::read(); });
    QTest::newRow("administrator contact: number not a number")
        << AdminContactFile::FilePath << QByteArray("1\r\nадмин\r\n") << 2
        << Read([] { AdminContactFile::read(); });
    QTest::newRow("signature: switch not a number")
        << SignatureFile::FilePath << QByteArray("on\r\n---\r\nbot\r\n") << 1
        << Read([] { SignatureFile::read(); });
    QTest::newRow("redirect: mode not a number")
        << RedirectFile::FilePath << QByteArray("123\r\nboth\r\n") << 2 << Read([] { RedirectFile::read(); });
    QTest::newRow("anti-spam: switch not a number")
        << AntiSpamFile::FilePath << QByteArray("x\r\n---\r\nq\r\n---\r\na\r\n") << 1
        << Read([] { AntiSpamFile::read(); });
    QTest::newRow("vote: no separator") << VoteFile::DefinitionPath << QByteArray("Вопрос без вариантов\r\n")
                                        << 1 << Read([] { VoteFile::read(); });
    QTest::newRow("stored login: switch not a number")
        << StoredLogin::FilePath << QByteArray("a\r\n1\r\n") << 1 << Read([] { StoredLogin::readFile(); });
    QTest::newRow("stored login: number not a number")
        << StoredLogin::FilePath << QByteArray("1\r\nномер\r\n") << 2
        << Read([] { StoredLogin::readFile(); });
    QTest::newRow("notepad owners: not a number") << NotepadFiles::ListPath << QByteArray("123\r\nВася\r\n")
                                                  << 2 << Read([] { NotepadFiles::owners(); });
    QTest::newRow("general settings: no =")
        << GeneralSettings::FilePath << QByteArray("Server=x\r\nPort 5190\r\n") << 2
        << Read([] { Settings::read(); });
    QTest::newRow("chat ban list: no separator")
        << ChatBanList::FilePath << QByteArray("Вася:^:111:^:01.01.2030 10:00:^:флуд\r\n\r\nПетя 222\r\n")
        << 3 << Read([] { ChatBanList::entries(); });
    QTest::newRow("chat ban list: binary")
        << ChatBanList::FilePath << QByteArray("111:^:x\r\n\x01\x02\x03\r\n") << 2
        << Read([] { ChatBanList::entries(); });
    QTest::newRow("user blacklist: no separator")
        << UserBlacklist::FilePath << QByteArray("111:^:01.01.2030:^:спам\r\n222 01.01.2030\r\n") << 2
        << Read([] { UserBlacklist::entries(); });
    QTest::newRow("user blacklist: the ban check meets it")
        << UserBlacklist::FilePath << QByteArray("111:^:01.01.2030:^:спам\r\n222 01.01.2030\r\n") << 2
        << Read([] { UserBlacklist::banOf(QStringLiteral("333")); });
    QTest::newRow("user blacklist: a huge line")
        << UserBlacklist::FilePath << QByteArray(100000, '7') + "\r\n"
        << 1 << Read([] { UserBlacklist::entries(); });
}

void tst_FeatureFiles::badLineReportedOncePerVersion()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(std::function<void()>, read);
    ProgramHome home;
    const QString report = checkBadLineReportedOncePerVersion(file, bytes, line, read);
    QVERIFY(!report.contains(QLatin1String(" a 0"))); // never a password
}

QTEST_GUILESS_MAIN(tst_FeatureFiles)
#include "tst_featurefiles.moc"
