#include "platform/xdgautostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray execLine(const QByteArray &entry)
{
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return line.mid(5);
    }
    return {};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestXdgAutostart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void entryPathFollowsConfigHome();
    void entryStartsProgram_data();
    void entryStartsProgram();
    void commandWithLineBreakIsRefused();
    void runningProgramKeepsItsHome_data();
    void runningProgramKeepsItsHome();

    void enableWritesEntryAndDisableRemovesIt();
    void enableReplacesOlderEntry();
    void entrySwitchedOffInsideIsNotEnabled_data();
    void entrySwitchedOffInsideIsNotEnabled();
    void unwritableFolderFails();

private:
    QTemporaryDir m_config;
};

void TestXdgAutostart::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    qunsetenv("KORVANE_HOME");
}

void TestXdgAutostart::init()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QDir(m_config.path() + QStringLiteral("/autostart")).removeRecursively();
}

void TestXdgAutostart::entryPathFollowsConfigHome()
{
    QCOMPARE(XdgAutostart::entryPath(), m_config.path() + QStringLiteral("/autostart/korvane.desktop"));

    // Only an absolute XDG_CONFIG_HOME counts.
    const QString standard = QDir::homePath() + QStringLiteral("/.config/autostart/korvane.desktop");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    QCOMPARE(XdgAutostart::entryPath(), standard);
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(XdgAutostart::entryPath(), standard);
}

void TestXdgAutostart::entryStartsProgram_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("exec");

    QTest::newRow("plain") << "/opt/korvane/korvane" << QStringList() << QByteArray("/opt/korvane/korvane");
    QTest::newRow("home") << "/opt/korvane/korvane" << QStringList{"--home", "/home/op/Бот"}
                          << QByteArray("/opt/korvane/korvane --home /home/op/Бот");
    QTest::newRow("blank in path") << "/home/op/my bot/korvane" << QStringList{"--home", "/home/op/my bot"}
                                   << QByteArray(R"("/home/op/my bot/korvane" --home "/home/op/my bot")");
    // Quoted: \" \` \$ and \\, then the string escape doubles each backslash.
    QTest::newRow("shell characters") << R"(/home/o"p/$HOME/`x`/a\b)" << QStringList()
                                      << QByteArray(R"("/home/o\\"p/\\$HOME/\\`x\\`/a\\\\b")");
    QTest::newRow("percent") << "/opt/100%/korvane" << QStringList() << QByteArray("/opt/100%%/korvane");
    QTest::newRow("empty argument") << "/opt/korvane" << QStringList{""} << QByteArray(R"(/opt/korvane "")");
}

void TestXdgAutostart::entryStartsProgram()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, exec);

    const QByteArray entry = XdgAutostart(program, arguments).entry();
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QVERIFY(entry.contains("\nType=Application\n"));
    QVERIFY(entry.contains("\nName=Korvane\n"));
    QCOMPARE(execLine(entry), exec);
}

void TestXdgAutostart::commandWithLineBreakIsRefused()
{
    XdgAutostart autostart(QStringLiteral("/opt/korvane"),
                           {QStringLiteral("--home"), QStringLiteral("/a\nExec=rm")});
    QCOMPARE(autostart.entry(), QByteArray());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^cannot write an autostart entry")));
    QVERIFY(!autostart.setEnabled(true));
    QVERIFY(!QFile::exists(XdgAutostart::entryPath()));
}

void TestXdgAutostart::runningProgramKeepsItsHome_data()
{
    QTest::addColumn<QStringList>("commandLine");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QString>("home"); // empty: no --home

    QTest::newRow("none") << QStringList{"korvane"} << QByteArray() << QString();
    QTest::newRow("--home DIR") << QStringList{"korvane", "--home", "/srv/bot"} << QByteArray() << "/srv/bot";
    QTest::newRow("--home=DIR") << QStringList{"korvane", "--home=/srv/bot"} << QByteArray() << "/srv/bot";
    QTest::newRow("relative") << QStringList{"korvane", "--home", "bot"} << QByteArray()
                              << QDir::current().absoluteFilePath(QStringLiteral("bot"));
    QTest::newRow("environment") << QStringList{"korvane"} << QByteArray("/srv/env") << "/srv/env";
    QTest::newRow("argument before environment")
        << QStringList{"korvane", "--home", "/srv/bot"} << QByteArray("/srv/env") << "/srv/bot";
    QTest::newRow("--home without value") << QStringList{"korvane", "--home"} << QByteArray() << QString();
}

void TestXdgAutostart::runningProgramKeepsItsHome()
{
    QFETCH(QStringList, commandLine);
    QFETCH(QByteArray, environment);
    QFETCH(QString, home);

    if (environment.isEmpty())
        qunsetenv("KORVANE_HOME");
    else
        qputenv("KORVANE_HOME", environment);
    const QByteArray exec = execLine(XdgAutostart::forRunningProgram(commandLine).entry());
    qunsetenv("KORVANE_HOME");

    QByteArray expected = QFile::encodeName(QCoreApplication::applicationFilePath());
    if (!home.isEmpty())
        expected += " --home " + home.toUtf8();
    QCOMPARE(exec, expected);
}

void TestXdgAutostart::enableWritesEntryAndDisableRemovesIt()
{
    XdgAutostart autostart(QStringLiteral("/opt/korvane/korvane"), {});
    const QString path = XdgAutostart::entryPath();
    QVERIFY(!autostart.isEnabled());

    QVERIFY(autostart.setEnabled(true));
    QVERIFY(autostart.isEnabled());
    QCOMPARE(readAll(path), autostart.entry());
    // Atomic write: no temporary file stays behind.
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"korvane.desktop"});

    QVERIFY(autostart.setEnabled(false));
    QVERIFY(!autostart.isEnabled());
    QVERIFY(!QFile::exists(path));

    // Disabling what is not there succeeds and changes nothing.
    QVERIFY(autostart.setEnabled(false));
    QVERIFY(!QFile::exists(path));
}

void TestXdgAutostart::enableReplacesOlderEntry()
{
    QVERIFY(XdgAutostart(QStringLiteral("/old/korvane"), {}).setEnabled(true));
    XdgAutostart moved(QStringLiteral("/new/korvane"),
                       {QStringLiteral("--home"), QStringLiteral("/srv/bot")});
    QVERIFY(moved.setEnabled(true));
    QCOMPARE(execLine(readAll(XdgAutostart::entryPath())), QByteArray("/new/korvane --home /srv/bot"));
}

void TestXdgAutostart::entrySwitchedOffInsideIsNotEnabled_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("hidden") << QByteArray("Hidden=true") << false;
    QTest::newRow("gnome off") << QByteArray("X-GNOME-Autostart-enabled=false") << false;
    QTest::newRow("hidden false") << QByteArray("Hidden=false") << true;
}

void TestXdgAutostart::entrySwitchedOffInsideIsNotEnabled()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, enabled);

    XdgAutostart autostart(QStringLiteral("/opt/korvane"), {});
    QVERIFY(QDir().mkpath(m_config.path() + QStringLiteral("/autostart")));
    QFile file(XdgAutostart::entryPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nExec=/opt/korvane\n" + line + "\n");
    file.close();
    QCOMPARE(autostart.isEnabled(), enabled);
}

void TestXdgAutostart::unwritableFolderFails()
{
    // A file where the autostart folder should be: no folder can be made, even as root.
    QFile blocker(m_config.path() + QStringLiteral("/autostart"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    XdgAutostart autostart(QStringLiteral("/opt/korvane"), {});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^cannot create the folder")));
    QVERIFY(!autostart.setEnabled(true));
    QVERIFY(!autostart.isEnabled());
    QVERIFY(autostart.setEnabled(false));
    QVERIFY(blocker.remove());
}

QTEST_GUILESS_MAIN(TestXdgAutostart)
#include "tst_xdgautostart.moc"
