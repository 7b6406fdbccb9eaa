#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(std::optional<QString>)

using namespace GeneralSettings;

namespace {

const Pairs connectionPairs{{Key::Server, "login.icq.com"}, {Key::Port, "5190"},  {Key::AutoRun, "0"},
                            {Key::AutoUpdate, "1"},         {Key::HideTray, "0"}, {Key::ReConnect, "1"},
                            {Key::IntervalConnect, "5"}};

const QByteArray connectionText = "Server=login.icq.com\r\nPort=5190\r\nAutoRun=0\r\nAutoUpdate=1\r\n"
                                  "HideTray=0\r\nReConnect=1\r\nIntervalConnect=5\r\n";

} // namespace

class TestGeneralSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void keysInWriterOrder();
    void noFileCreatesFolderAndFile();
    void emptyFileGetsWriterKeysAlone();
    void otherWritersLinesKept();
    void ownLineReplacedInPlace();
    void duplicatedKeyAllLinesReplaced();
    void lineWithoutEqualsSurvives();
    void lowerCaseServerIsAnotherKey();
    void exitTwiceLeavesOneLineEach();
    void keysOutOfOrderKeepTheirPlaces();
    void bareLfFileIsRewrittenWithCrLf();
    void cyrillicValueIn1251();
    void fileIsOwnerOnly();
    void failedMergeKeepsOldFile();
    void mergedText_data();
    void mergedText();

    void lookupByLine_data();
    void lookupByLine();
    void lookupOnMissingOrEmptyFile();
    void lookupInText_data();
    void lookupInText();
    void lookupsFollowEveryVersion();
    void lookupsOnOneReading();
    void typedValues_data();
    void typedValues();
    void soundFiles();
    void typedWritersMerge();

    void addresses();

private:
    QByteArray fileBytes() const;
    void writeFile(const QByteArray &bytes);

    std::unique_ptr<ProgramHome> m_home;
};

void TestGeneralSettings::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void TestGeneralSettings::cleanup()
{
    ProgramFolder::setHome(QString());
    m_home.reset();
}

QByteArray TestGeneralSettings::fileBytes() const
{
    QFile file(m_home->path() + "/Настройки/Общие.txt");
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void TestGeneralSettings::writeFile(const QByteArray &bytes)
{
    QDir(m_home->path()).mkpath("Настройки");
    QFile file(m_home->path() + "/Настройки/Общие.txt");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void TestGeneralSettings::keysInWriterOrder()
{
    QCOMPARE(ConnectionKeys, (QStringList{"Server", "Port", "AutoRun", "AutoUpdate", "HideTray", "ReConnect",
                                          "IntervalConnect"}));
    QCOMPARE(AutoLoginKeys, (QStringList{"AutoEnter", "AutoICQNumber", "AutoPassword"}));
    QCOMPARE(SoundKeys, (QStringList{"PlaySounds", "PlaySoundsOpov", "PlaySoundsHello"}));
    QCOMPARE(PopupKeys, (QStringList{"Message", "MessageUP", "MessageTime"}));
    QCOMPARE(HumanImitationKeys, (QStringList{"AI", "AITime"}));
    QCOMPARE(ExitKeys, (QStringList{"SaveRejim", "SaveStatusMade"}));
    QCOMPARE(RememberStatusKeys, (QStringList{"SaveStatus"}));
    QCOMPARE(FilePath, QStringLiteral("\\Настройки\\Общие.txt"));
}

void TestGeneralSettings::noFileCreatesFolderAndFile()
{
    QVERIFY(!QFileInfo::exists(m_home->path() + "/Настройки"));
    const auto result = MergeSettings(
        {{Key::AutoEnter, "1"}, {Key::AutoICQNumber, "18930041.18"}, {Key::AutoPassword, "005000990101"}});
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(fileBytes(),
             QByteArray("AutoEnter=1\r\nAutoICQNumber=18930041.18\r\nAutoPassword=005000990101\r\n"));
}

void TestGeneralSettings::emptyFileGetsWriterKeysAlone()
{
    writeFile("");
    QVERIFY(MergeSettings({{Key::AI, "1"}, {Key::AITime, "400"}}));
    QCOMPARE(fileBytes(), QByteArray("AI=1\r\nAITime=400\r\n"));
}

void TestGeneralSettings::otherWritersLinesKept()
{
    writeFile(connectionText);
    QVERIFY(MergeSettings({{Key::PlaySounds, "0"},
                           {Key::PlaySoundsOpov, "/snd/msg.wav"},
                           {Key::PlaySoundsHello, "/snd/hello.wav"}}));
    QCOMPARE(fileBytes(),
             connectionText +
                 "PlaySounds=0\r\nPlaySoundsOpov=/snd/msg.wav\r\nPlaySoundsHello=/snd/hello.wav\r\n");
}

void TestGeneralSettings::ownLineReplacedInPlace()
{
    writeFile("Server=a\r\nPlaySoundsOpov=x\r\nPlaySounds=1\r\nPort=1\r\n");
    QVERIFY(MergeSettings({{Key::PlaySounds, "0"}, {Key::PlaySoundsOpov, "y"}, {Key::PlaySoundsHello, "z"}}));
    QCOMPARE(fileBytes(),
             QByteArray("Server=a\r\nPlaySoundsOpov=y\r\nPlaySounds=0\r\nPort=1\r\nPlaySoundsHello=z\r\n"));
}

void TestGeneralSettings::duplicatedKeyAllLinesReplaced()
{
    writeFile("AI=1\r\nServer=a\r\nAI=0\r\n");
    QVERIFY(MergeSettings({{Key::AI, "1"}, {Key::AITime, "900"}}));
    QCOMPARE(fileBytes(), QByteArray("AI=1\r\nServer=a\r\nAI=1\r\nAITime=900\r\n"));
    QCOMPARE(LookupByLine(Key::AI), std::optional<QString>("1"));
}

void TestGeneralSettings::lineWithoutEqualsSurvives()
{
    writeFile("# hand-written note\r\nServer=a\r\n\r\nlast line\r\n");
    QVERIFY(MergeSettings({{Key::Server, "b"}}));
    QCOMPARE(fileBytes(), QByteArray("# hand-written note\r\nServer=b\r\n\r\nlast line\r\n"));
    QVERIFY(MergeSettings({{Key::Server, "c"}}));
    QCOMPARE(fileBytes(), QByteArray("# hand-written note\r\nServer=c\r\n\r\nlast line\r\n"));
}

void TestGeneralSettings::lowerCaseServerIsAnotherKey()
{
    writeFile("server=old.example\r\n");
    QVERIFY(MergeSettings(connectionPairs));
    QCOMPARE(fileBytes(), "server=old.example\r\n" + connectionText);
    QCOMPARE(LookupByLine(Key::Server), std::optional<QString>("login.icq.com"));
    QCOMPARE(LookupByLine("server"), std::optional<QString>("old.example"));
}

void TestGeneralSettings::exitTwiceLeavesOneLineEach()
{
    writeFile(connectionText);
    QVERIFY(MergeSettings({{Key::SaveRejim, "2"}, {Key::SaveStatusMade, "1"}}));
    QVERIFY(MergeSettings({{Key::SaveRejim, "3"}, {Key::SaveStatusMade, "2"}}));
    QCOMPARE(fileBytes(), connectionText + "SaveRejim=3\r\nSaveStatusMade=2\r\n");
}

void TestGeneralSettings::keysOutOfOrderKeepTheirPlaces()
{
    writeFile("IntervalConnect=9\r\nAI=1\r\nServer=x\r\n");
    QVERIFY(MergeSettings(connectionPairs));
    QCOMPARE(fileBytes(), QByteArray("IntervalConnect=5\r\nAI=1\r\nServer=login.icq.com\r\nPort=5190\r\n"
                                     "AutoRun=0\r\nAutoUpdate=1\r\nHideTray=0\r\nReConnect=1\r\n"));
}

void TestGeneralSettings::bareLfFileIsRewrittenWithCrLf()
{
    writeFile("Server=a\nPort=1");
    QVERIFY(MergeSettings({{Key::Port, "2"}}));
    QCOMPARE(fileBytes(), QByteArray("Server=a\r\nPort=2\r\n"));
}

void TestGeneralSettings::cyrillicValueIn1251()
{
    QVERIFY(MergeSettings({{Key::PlaySoundsOpov, "C:\\Звуки\\сообщение.wav"}}));
    QCOMPARE(
        fileBytes(),
        QByteArray("PlaySoundsOpov=C:\\\xC7\xE2\xF3\xEA\xE8\\\xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5.wav\r\n"));
    QCOMPARE(LookupByLine(Key::PlaySoundsOpov), std::optional<QString>("C:\\Звуки\\сообщение.wav"));
}

void TestGeneralSettings::fileIsOwnerOnly()
{
    QVERIFY(MergeSettings({{Key::AutoPassword, "0050"}}));
    QCOMPARE(unixMode(m_home->path() + "/Настройки/Общие.txt"), 0600);
}

void TestGeneralSettings::failedMergeKeepsOldFile()
{
    // "\Настройки\Общие.txt" is a folder here: the rewrite cannot be done.
    QVERIFY(QDir(m_home->path()).mkpath("Настройки/Общие.txt"));
    const auto result = MergeSettings({{Key::Server, "x"}});
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(QFileInfo(m_home->path() + "/Настройки/Общие.txt").isDir());
    QCOMPARE(LookupByLine(Key::Server), std::nullopt);
}

void TestGeneralSettings::mergedText_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<Pairs>("pairs");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << "" << Pairs{{"A", "1"}, {"B", "2"}} << "A=1\r\nB=2\r\n";
    QTest::newRow("only CR LF") << "\r\n" << Pairs{{"A", "1"}} << "A=1\r\n";
    QTest::newRow("empty lines first") << "\r\n\r\nX=0\r\n" << Pairs{{"X", "1"}} << "X=1\r\n";
    QTest::newRow("empty lines only") << "\r\n\r\n" << Pairs{{"A", "1"}} << "A=1\r\n";
    QTest::newRow("empty line inside kept") << "\r\nX=0\r\n\r\nY=0\r\n" << Pairs{{"Y", "1"}}
                                            << "X=0\r\n\r\nY=1\r\n";
    QTest::newRow("no final line end") << "X=0" << Pairs{{"A", "1"}} << "X=0\r\nA=1\r\n";
    QTest::newRow("empty value") << "A=old" << Pairs{{"A", ""}} << "A=\r\n";
    QTest::newRow("value with =") << "" << Pairs{{"A", "x=y=z"}} << "A=x=y=z\r\n";
    QTest::newRow("key given twice") << "" << Pairs{{"A", "1"}, {"A", "2"}} << "A=1\r\n";
    QTest::newRow("no pairs") << "X=0\r\n" << Pairs{} << "X=0\r\n";
    QTest::newRow("prefix key is another key") << "AITime=400\r\n"
                                               << Pairs{{"AI", "1"}} << "AITime=400\r\nAI=1\r\n";
    QTest::newRow("blank around = makes another key") << "A = 1\r\n"
                                                      << Pairs{{"A", "2"}} << "A = 1\r\nA=2\r\n";
}

void TestGeneralSettings::mergedText()
{
    QFETCH(QString, before);
    QFETCH(Pairs, pairs);
    QFETCH(QString, after);
    QCOMPARE(KeyValueFile::merged(before, pairs), after);
}

void TestGeneralSettings::lookupByLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("value");
    QTest::newRow("found") << connectionText << "Port" << std::optional<QString>("5190");
    QTest::newRow("last line") << connectionText << "IntervalConnect" << std::optional<QString>("5");
    QTest::newRow("absent") << connectionText << "AI" << std::optional<QString>();
    QTest::newRow("case-sensitive") << QByteArray("server=x\r\n") << "Server" << std::optional<QString>();
    QTest::newRow("value with =") << QByteArray("Server=a=b\r\n") << "Server"
                                  << std::optional<QString>("a=b");
    QTest::newRow("empty value") << QByteArray("AutoPassword=\r\n") << "AutoPassword"
                                 << std::optional<QString>("");
    QTest::newRow("later line wins") << QByteArray("Port=1\r\nPort=2\r\n") << "Port"
                                     << std::optional<QString>("2");
    QTest::newRow("prefix is not the key")
        << QByteArray("AITime=400\r\n") << "AI" << std::optional<QString>();
    QTest::newRow("no line end") << QByteArray("Port=7") << "Port" << std::optional<QString>("7");
    QTest::newRow("line without =") << QByteArray("Port\r\n") << "Port" << std::optional<QString>();
    QTest::newRow("blank kept") << QByteArray("Port= 1 \r\n") << "Port" << std::optional<QString>(" 1 ");
    QTest::newRow("bare LF and CR end lines") << QByteArray("Port=1\nServer=s\rPort=3\r\r\nAI=1")
                                              << "Port" << std::optional<QString>("3");
    QTest::newRow("key after an empty line") << QByteArray("\r\n\r\nServer=x\r\n") << "Server"
                                             << std::optional<QString>("x");
}

void TestGeneralSettings::lookupByLine()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, value);
    writeFile(file);
    QCOMPARE(LookupByLine(key), value);
}

void TestGeneralSettings::lookupOnMissingOrEmptyFile()
{
    QCOMPARE(LookupByLine(Key::Server), std::nullopt);
    QCOMPARE(LookupInText(Key::AI, LookupKind::Flag), std::nullopt);
    writeFile("");
    QCOMPARE(LookupByLine(Key::Server), std::nullopt);
    QCOMPARE(LookupInText(Key::MessageTime, LookupKind::Text), std::nullopt);
}

void TestGeneralSettings::lookupInText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<std::optional<QString>>("value");
    const int flag = int(LookupKind::Flag);
    const int text = int(LookupKind::Text);
    QTest::newRow("flag") << QByteArray("AI=1\r\nAITime=400\r\n") << "AI" << flag
                          << std::optional<QString>("1");
    QTest::newRow("text") << QByteArray("AI=1\r\nAITime=400\r\n") << "AITime" << text
                          << std::optional<QString>("400");
    // A substring search would read "T" here; the line lookup finds the AI line.
    QTest::newRow("AITime before AI")
        << QByteArray("AITime=400\r\nAI=1\r\n") << "AI" << flag << std::optional<QString>("1");
    QTest::newRow("AI inside an earlier value")
        << QByteArray("PlaySoundsOpov=C:\\AIsounds\\m.wav\r\nAI=1\r\n") << "AI" << flag
        << std::optional<QString>("1");
    QTest::newRow("AI only inside a value")
        << QByteArray("PlaySoundsOpov=C:\\AI.wav\r\n") << "AI" << flag << std::optional<QString>();
    QTest::newRow("Message before MessageUP")
        << QByteArray("MessageUP=1\r\nMessage=0\r\n") << "Message" << flag << std::optional<QString>("0");
    QTest::newRow("flag is one character")
        << QByteArray("Message=10\r\n") << "Message" << flag << std::optional<QString>("1");
    QTest::newRow("empty flag") << QByteArray("Message=\r\n") << "Message" << flag
                                << std::optional<QString>("");
    QTest::newRow("text on last line") << QByteArray("Server=a\r\nMessageTime=3000\r\n") << "MessageTime"
                                       << text << std::optional<QString>("3000");
    QTest::newRow("text with =") << QByteArray("PlaySoundsHello=a=b.wav\r\n") << "PlaySoundsHello" << text
                                 << std::optional<QString>("a=b.wav");
    QTest::newRow("absent") << QByteArray("Server=a\r\n") << "AI" << flag << std::optional<QString>();
}

void TestGeneralSettings::lookupInText()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(std::optional<QString>, value);
    writeFile(file);
    QCOMPARE(LookupInText(key, LookupKind(kind)), value);
}

void TestGeneralSettings::lookupsFollowEveryVersion()
{
    // Each version of the file, and texts held side by side, answer with their own
    // values however often they were asked before.
    QStringList held;
    for (int version = 0; version < 6; ++version) {
        writeFile(QByteArray("Port=") + QByteArray::number(version) + "\r\nServer=s" + QByteArray::number(version) +
                  "\r\n");
        for (int twice = 0; twice < 2; ++twice) {
            QCOMPARE(LookupByLine(Key::Port), std::optional<QString>(QString::number(version)));
            QCOMPARE(Settings::read().server(), QStringLiteral("s%1").arg(version));
        }
        held.append(ReadText());
    }
    for (int version = 5; version >= 0; --version)
        QCOMPARE(LookupByLine(held.at(version), Key::Port), std::optional<QString>(QString::number(version)));
    // A text built here, changed after a lookup, answers with its new value.
    QString own = QStringLiteral("Port=1\r\n");
    QCOMPARE(LookupByLine(own, Key::Port), std::optional<QString>("1"));
    own.replace(QLatin1Char('1'), QLatin1Char('2'));
    QCOMPARE(LookupByLine(own, Key::Port), std::optional<QString>("2"));
}

void TestGeneralSettings::lookupsOnOneReading()
{
    writeFile("Message=1\r\nMessageUP=0\r\nMessageTime=2500\r\n");
    const QString text = ReadText();
    QFile::remove(m_home->path() + "/Настройки/Общие.txt");
    QCOMPARE(LookupInText(text, Key::Message, LookupKind::Flag), std::optional<QString>("1"));
    QCOMPARE(LookupInText(text, Key::MessageUP, LookupKind::Flag), std::optional<QString>("0"));
    QCOMPARE(LookupInText(text, Key::MessageTime, LookupKind::Text), std::optional<QString>("2500"));
    QCOMPARE(LookupByLine(text, Key::MessageTime), std::optional<QString>("2500"));
}

void TestGeneralSettings::typedValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("getter");
    QTest::addColumn<QVariant>("value");
    const auto row = [](const char *name, const char *file, const char *getter, const QVariant &value) {
        QTest::newRow(name) << QString::fromUtf8(file) << QString::fromLatin1(getter) << value;
    };
    row("reconnect: no file", "", "reconnect", QStringLiteral("0 off"));
    row("reconnect: 10", "ReConnect=1\r\nIntervalConnect=10\r\n", "reconnect", QStringLiteral("10 on"));
    row("reconnect: interval first", "IntervalConnect=3\r\nReConnect=1\r\n", "reconnect", QStringLiteral("3 on"));
    row("reconnect: interval empty", "ReConnect=1\r\nIntervalConnect=\r\n", "reconnect", QStringLiteral("5 on"));
    row("reconnect: interval missing", "ReConnect=1\r\n", "reconnect", QStringLiteral("5 on"));
    row("reconnect: 0", "ReConnect=1\r\nIntervalConnect=0\r\n", "reconnect", QStringLiteral("5 on"));
    row("reconnect: -3", "ReConnect=1\r\nIntervalConnect=-3\r\n", "reconnect", QStringLiteral("5 on"));
    row("reconnect: text", "ReConnect=1\r\nIntervalConnect=abc\r\n", "reconnect", QStringLiteral("5 on"));
    row("reconnect: half to even", "ReConnect=1\r\nIntervalConnect=2.5\r\n", "reconnect", QStringLiteral("2 on"));
    row("reconnect: below one minute", "ReConnect=1\r\nIntervalConnect=0.4\r\n", "reconnect", QStringLiteral("1 on"));
    row("reconnect: above the range", "ReConnect=1\r\nIntervalConnect=99999\r\n", "reconnect", QStringLiteral("32767 on"));
    row("reconnect: blanks around the flag", "ReConnect= 1 \r\nIntervalConnect=7\r\n", "reconnect", QStringLiteral("7 on"));
    row("reconnect: watchdog off", "ReConnect=0\r\nIntervalConnect=10\r\n", "reconnect", QStringLiteral("0 off"));
    row("reconnect: watchdog empty", "ReConnect=\r\nIntervalConnect=10\r\n", "reconnect", QStringLiteral("0 off"));
    row("reconnect: later line wins", "ReConnect=1\r\nIntervalConnect=3\r\nReConnect=0\r\n", "reconnect", QStringLiteral("0 off"));
    row("delay off", "AI=0\r\nAITime=900\r\n", "answerDelayMs", 500);
    row("delay on", "AI=1\r\nAITime=900\r\n", "answerDelayMs", 900);
    row("delay on, not a number", "AI=1\r\nAITime=x\r\n", "answerDelayMs", 500);
    row("delay on, zero", "AI=1\r\nAITime=0\r\n", "answerDelayMs", 500);
    row("delay missing", "", "answerDelayMs", 500);
    row("AITime before AI", "AITime=700\r\nAI=1\r\n", "answerDelayMs", 700);
    row("delay on, a fraction", "AI=1\r\nAITime=400.5\r\n", "answerDelayMs", 500);
    row("delay on, negative", "AI=1\r\nAITime=-400\r\n", "answerDelayMs", 500);
    row("popup time zero", "MessageTime=0\r\n", "popupTimeMs", 3000);
    row("popup time negative", "MessageTime=-2500\r\n", "popupTimeMs", 3000);
    row("autorun", "AutoRun=1\r\n", "autoRun", true);
    row("autorun off", "AutoRun=0\r\n", "autoRun", false);
    row("hide tray", "HideTray=1\r\n", "hideTray", true);
    row("sounds off ticked", "PlaySounds=1\r\n", "soundsOffTicked", true);
    row("sounds off not ticked", "PlaySounds=0\r\n", "soundsOffTicked", false);
    row("sounds off missing", "", "soundsOffTicked", false);
    row("sounds on", "PlaySounds=0\r\n", "soundsOn", true);
    row("sounds off", "PlaySounds=1\r\n", "soundsOn", false);
    row("sounds key missing", "Server=x\r\n", "soundsOn", false);
    row("popup on", "Message=1\r\nMessageUP=0\r\nMessageTime=2500\r\n", "popupOn", true);
    row("popup time", "Message=1\r\nMessageTime=2500\r\n", "popupTimeMs", 2500);
    row("popup time a fraction", "MessageTime=2500.5\r\n", "popupTimeMs", 3000);
    row("popup time missing", "Message=1\r\n", "popupTimeMs", 3000);
    row("port", "Port=5191\r\n", "port", 5191);
    row("port with blank", "Port= 5192 \r\n", "port", 5192);
    row("port not a port", "Port=70000\r\n", "port", 5190);
    row("port missing", "", "port", 5190);
    row("saved status", "SaveStatusMade=2\r\n", "savedStatus", 2);
    row("saved status unknown", "SaveStatusMade=7\r\n", "savedStatus", 0);
    row("bot mode", "SaveRejim= 3 \r\n", "botMode", QStringLiteral("3"));
    row("bot mode seven", "SaveRejim=7\r\n", "botMode", QStringLiteral("1"));
    row("bot mode missing", "", "botMode", QStringLiteral("1"));
    row("auto-enter", "AutoEnter=1\r\n", "autoEnter", true);
    row("auto-enter off", "AutoEnter=0\r\n", "autoEnter", false);
}

void TestGeneralSettings::typedValues()
{
    QFETCH(QString, file);
    QFETCH(QString, getter);
    QFETCH(QVariant, value);
    if (!file.isEmpty())
        writeFile(file.toUtf8());
    const Settings settings = Settings::read();
    QVariant got;
    if (getter == "reconnect")
        got = QStringLiteral("%1 %2").arg(settings.reconnectMinutes()).arg(settings.reconnectOn() ? "on" : "off");
    else if (getter == "answerDelayMs")
        got = settings.answerDelayMs();
    else if (getter == "soundsOn")
        got = settings.soundsOn();
    else if (getter == "soundsOffTicked")
        got = settings.soundsOffTicked();
    else if (getter == "autoRun")
        got = settings.autoRun();
    else if (getter == "hideTray")
        got = settings.hideTray();
    else if (getter == "popupOn")
        got = settings.popupOn();
    else if (getter == "popupTimeMs")
        got = settings.popupTimeMs();
    else if (getter == "port")
        got = int(settings.port());
    else if (getter == "savedStatus")
        got = settings.savedStatus();
    else if (getter == "botMode")
        got = settings.botMode();
    else if (getter == "autoEnter")
        got = settings.autoEnter();
    QCOMPARE(got, value);
}

void TestGeneralSettings::soundFiles()
{
    const QString home = m_home->path();
    QCOMPARE(Settings::read().startupSound(), home + "/Sounds/sndStartup.wav");
    QCOMPARE(Settings::read().messageSound(), home + "/Sounds/sndMsg.wav");
    writeFile("PlaySounds=0\r\nPlaySoundsOpov=\\Звуки\\м.wav\r\nPlaySoundsHello=/usr/share/s.wav\r\n");
    QCOMPARE(Settings::read().messageSound(), home + "/Звуки/м.wav");
    QCOMPARE(Settings::read().startupSound(), QStringLiteral("/usr/share/s.wav"));
}

void TestGeneralSettings::typedWritersMerge()
{
    writeFile("Server=x\r\nSaveStatus=1\r\n");
    QVERIFY(Settings::writeSaveStatus(false));
    QVERIFY(Settings::writeExitState("2", 3));
    QCOMPARE(ReadText(), QStringLiteral("Server=x\r\nSaveStatus=0\r\nSaveRejim=2\r\nSaveStatusMade=3\r\n"));
    const Settings settings = Settings::read();
    QCOMPARE(settings.saveStatus(), std::optional<bool>(false));
    QCOMPARE(settings.savedStatus(), 3);
    QCOMPARE(settings.botMode(), QStringLiteral("2"));
}

void TestGeneralSettings::addresses()
{
    QCOMPARE(Addresses::value("WeatherFeed"), std::nullopt);
    QVERIFY(Addresses::setValues({{"WeatherFeed", "http://127.0.0.1:8080/rss"}, {"Site", ""}}));
    QCOMPARE(Addresses::value("WeatherFeed"), std::optional<QString>("http://127.0.0.1:8080/rss"));
    QCOMPARE(Addresses::value("Site"), std::nullopt); // empty counts as missing
    QCOMPARE(Addresses::value("weatherfeed"), std::nullopt);
    QVERIFY(QFileInfo::exists(m_home->path() + "/Настройки/Адреса.txt"));
    QVERIFY(!QFileInfo::exists(m_home->path() + "/Настройки/Общие.txt"));
}

QTEST_GUILESS_MAIN(TestGeneralSettings)
#include "tst_generalsettings.moc"
