// Bindlet's job over a temporary home: what it copies where, byte for byte, the desktop
// entry's Exec line, the refresh commands it starts, and the first failed copy that
// stops everything after it; its window runs the job from its one label.
#include "core/programfolder.h"
#include "platform/recordingdialogs.h"
#include "registrar/bindlet_window.h"
#include "registrar/bindletjob.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Source = QStringLiteral(KORVANE_SOURCE_DIR);
const QByteArray Missing = "<missing>";

class RecordingStarter : public CommandStarter
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return true;
    }
    QList<BindletJob::Command> started;
};

QByteArray fileBytes(const QString &path)
{
    return FileProbe::bytes(path);
}

} // namespace

class tst_Bindlet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void standardFoldersFollowTheEnvironment();
    void copiesAndStartsTheRefresh();
    void desktopEntryIsValid();
    void secondRunCopiesAgain();
    void missingSourceStopsTheJob_data();
    void missingSourceStopsTheJob();
    void execArgument_data();
    void execArgument();
    void desktopEntryExecLine_data();
    void desktopEntryExecLine();
    void windowRunsTheJobFromItsLabel();
    void entryStartsKorvaneOnItsFolder_data();
    void entryStartsKorvaneOnItsFolder();

private:
    BindletJob job() const;
    QString target(int index) const { return job().copies().at(index).target; }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ProgramHome> m_program;
    QString m_bindletFolder;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
    RecordingDialogs m_dialogs;
};

void tst_Bindlet::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_program = std::make_unique<ProgramHome>();
    QVERIFY(m_program->isValid());
    m_oldHome = qgetenv("HOME");
    m_oldDataHome = qgetenv("XDG_DATA_HOME");
    QVERIFY(QDir().mkpath(m_root->path() + "/home"));
    qputenv("HOME", QFile::encodeName(m_root->path() + "/home"));
    qunsetenv("XDG_DATA_HOME");

    // Bindlet's folder as the build lays it out: the program, the entry, the icon, the sounds.
    m_bindletFolder = m_root->path() + QStringLiteral("/Korvane 1.9");
    QVERIFY(QDir().mkpath(m_bindletFolder));
    const QStringList shipped = {"registrar/korvane.desktop", "registrar/korvane.svg", "sounds/sndMsg.wav",
                                 "sounds/sndStartup.wav"};
    for (const QString &file : shipped)
        QVERIFY(QFile::copy(Source + '/' + file, m_bindletFolder + '/' + file.section('/', -1)));
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
}

void tst_Bindlet::cleanup()
{
    Dialogs::setInstance(nullptr);
    qputenv("HOME", m_oldHome);
    if (m_oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    m_program.reset();
    m_root.reset();
}

BindletJob tst_Bindlet::job() const
{
    return BindletJob(BindletJob::standardFolders(m_bindletFolder));
}

void tst_Bindlet::standardFoldersFollowTheEnvironment()
{
    const QString home = m_root->path() + "/home";
    BindletJob::Folders folders = BindletJob::standardFolders(m_bindletFolder);
    QCOMPARE(folders.source, m_bindletFolder);
    QCOMPARE(folders.applications, home + "/.local/share/applications");
    QCOMPARE(folders.iconTheme, home + "/.local/share/icons/hicolor");
    QCOMPARE(folders.programFolder, m_program->path());
    QCOMPARE(folders.korvane, m_bindletFolder + "/korvane");
    // The test's program folder is not Bindlet's: Korvane is told where it is.
    QCOMPARE(folders.home, m_program->path());

    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root->path() + "/data"));
    folders = BindletJob::standardFolders(m_bindletFolder);
    QCOMPARE(folders.applications, m_root->path() + "/data/applications");
    QCOMPARE(folders.iconTheme, m_root->path() + "/data/icons/hicolor");

    // A relative value is not taken.
    qputenv("XDG_DATA_HOME", "relative/data");
    QCOMPARE(BindletJob::standardFolders(m_bindletFolder).applications, home + "/.local/share/applications");
}

void tst_Bindlet::copiesAndStartsTheRefresh()
{
    const QString data = m_root->path() + "/home/.local/share";
    RecordingStarter starter;
    const BindletJob::Outcome outcome = job().run(starter);
    QVERIFY(outcome.ok);

    QCOMPARE(fileBytes(data + "/icons/hicolor/scalable/apps/korvane.svg"),
             fileBytes(Source + "/registrar/korvane.svg"));
    QCOMPARE(fileBytes(m_program->path() + "/Sounds/sndMsg.wav"), fileBytes(Source + "/sounds/sndMsg.wav"));
    QCOMPARE(fileBytes(m_program->path() + "/Sounds/sndStartup.wav"),
             fileBytes(Source + "/sounds/sndStartup.wav"));
    const QByteArray entry = fileBytes(data + "/applications/korvane.desktop");
    const QString exec = "Exec=\"" + m_bindletFolder + "/korvane\" --home \"" + m_program->path() + '"';
    QVERIFY2(entry.contains(exec.toUtf8() + '\n'), entry.constData());
    // Everything else of the entry as shipped.
    QByteArray shipped = fileBytes(Source + "/registrar/korvane.desktop");
    shipped.replace("Exec=korvane\n", exec.toUtf8() + '\n');
    QCOMPARE(entry, shipped);

    const QList<BindletJob::Command> expected = {
        {"update-desktop-database", {data + "/applications"}},
        {"gtk-update-icon-cache", {"-f", "-t", data + "/icons/hicolor"}},
    };
    QCOMPARE(starter.started, expected);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_Bindlet::desktopEntryIsValid()
{
    RecordingStarter starter;
    QVERIFY(job().run(starter).ok);
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    QProcess process;
    process.start(validator, {target(0)});
    QVERIFY(process.waitForFinished(30000));
    const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, output.constData());
    QVERIFY2(!output.contains("error"), output.constData());
}

void tst_Bindlet::secondRunCopiesAgain()
{
    RecordingStarter starter;
    QVERIFY(job().run(starter).ok);
    QVERIFY(FileProbe::writeBytes(target(1), "changed"));
    QVERIFY(FileProbe::writeBytes(target(3), "changed"));
    QVERIFY(job().run(starter).ok);
    QCOMPARE(fileBytes(target(1)), fileBytes(Source + "/registrar/korvane.svg"));
    QCOMPARE(fileBytes(target(3)), fileBytes(Source + "/sounds/sndStartup.wav"));
    QCOMPARE(starter.started.size(), 4);
}

void tst_Bindlet::missingSourceStopsTheJob_data()
{
    QTest::addColumn<int>("missing");
    QTest::newRow("desktop entry") << 0;
    QTest::newRow("icon") << 1;
    QTest::newRow("message sound") << 2;
    QTest::newRow("start-up sound") << 3;
}

void tst_Bindlet::missingSourceStopsTheJob()
{
    QFETCH(int, missing);
    const QList<BindletJob::Copy> copies = job().copies();
    QVERIFY(QFile::remove(m_bindletFolder + '/' + copies.at(missing).source));

    RecordingStarter starter;
    Bindlet::Form1 window(job(), starter);
    window.Label1_Click();
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Ошибка"));
    QCOMPARE(m_dialogs.shown.first().text, "Не удалось скопировать файл: " + copies.at(missing).source);
    for (int i = 0; i < copies.size(); ++i)
        QCOMPARE(QFile::exists(copies.at(i).target), i < missing);
    QVERIFY(starter.started.isEmpty());
}

void tst_Bindlet::execArgument_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "/opt/korvane/korvane"
                           << "\"/opt/korvane/korvane\"";
    QTest::newRow("blank") << "/home/user/My Bots/korvane"
                           << "\"/home/user/My Bots/korvane\"";
    QTest::newRow("Cyrillic") << "/home/user/Боты/korvane"
                              << "\"/home/user/Боты/korvane\"";
    // Inside the quotes a backslash; in the file every backslash doubled.
    QTest::newRow("double quote") << "/a\"b/korvane"
                                  << "\"/a\\\\\"b/korvane\"";
    QTest::newRow("dollar and backtick") << "/a$b`c/korvane"
                                         << "\"/a\\\\$b\\\\`c/korvane\"";
    QTest::newRow("backslash") << "/a\\b/korvane"
                               << "\"/a\\\\\\\\b/korvane\"";
    QTest::newRow("percent") << "/100%/korvane"
                             << "\"/100%%/korvane\"";
    QTest::newRow("single quote and semicolon") << "/it's;here/korvane"
                                                << "\"/it's;here/korvane\"";
}

void tst_Bindlet::execArgument()
{
    QFETCH(QString, program);
    QFETCH(QString, written);
    QCOMPARE(BindletJob::execArgument(program), written);
}

void tst_Bindlet::desktopEntryExecLine_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("replaced") << QByteArray("[Desktop Entry]\nName=K\nExec=old %f\nIcon=k\n")
                              << QByteArray("[Desktop Entry]\nName=K\nExec=\"/p/korvane\"\nIcon=k\n");
    QTest::newRow("action kept") << QByteArray("[Desktop Entry]\nExec=a\n[Desktop Action x]\nExec=b\n")
                                 << QByteArray(
                                        "[Desktop Entry]\nExec=\"/p/korvane\"\n[Desktop Action x]\nExec=b\n");
    QTest::newRow("added") << QByteArray("[Desktop Entry]\nName=K\n")
                           << QByteArray("[Desktop Entry]\nExec=\"/p/korvane\"\nName=K\n");
    QTest::newRow("similar key kept") << QByteArray("[Desktop Entry]\nExecutable=x\nExec = y\n")
                                      << QByteArray("[Desktop Entry]\nExecutable=x\nExec=\"/p/korvane\"\n");
}

void tst_Bindlet::desktopEntryExecLine()
{
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, result);
    QCOMPARE(BindletJob::desktopEntry(entry, QStringLiteral("/p/korvane")), result);
}

void tst_Bindlet::windowRunsTheJobFromItsLabel()
{
    RecordingStarter starter;
    Bindlet::Form1 window(job(), starter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Регистрация dll для Korvane"));
    QCOMPARE(window.Label1->text(), QStringLiteral("Нажмите сюда, чтобы установить библиотеки"));
    QCOMPARE(window.Label1->objectName(), QStringLiteral("Label1"));
    QVERIFY(window.Label1->font().bold());

    QTest::mouseClick(window.Label1, Qt::LeftButton);
    QCOMPARE(starter.started.size(), 2);
    for (const BindletJob::Copy &copy : job().copies())
        QVERIFY2(QFile::exists(copy.target), qPrintable(copy.target));
    QVERIFY(m_dialogs.shown.isEmpty());
    // A further click repeats the whole job.
    QTest::mouseClick(window.Label1, Qt::LeftButton);
    QCOMPARE(starter.started.size(), 4);
}

void tst_Bindlet::entryStartsKorvaneOnItsFolder_data()
{
    QTest::addColumn<QString>("how"); // "--home", "--home=", "KORVANE_HOME" or "own folder"
    QTest::addColumn<QString>("folder");
    const QString base = QStringLiteral("/bots/");
    QTest::newRow("--home DIR") << "--home" << base + "plain";
    QTest::newRow("--home=DIR") << "--home=" << base + "plain";
    QTest::newRow("KORVANE_HOME") << "KORVANE_HOME" << base + "plain";
    QTest::newRow("blank and Cyrillic") << "--home" << base + "Мои боты/бот 1";
    QTest::newRow("quote, dollar, backtick") << "--home" << base + "a\"b$c`d";
    QTest::newRow("backslash and percent") << "KORVANE_HOME" << base + "100%\\x %f";
    QTest::newRow("single quote and semicolon") << "--home" << base + "it's;here";
    QTest::newRow("CR LF and tab") << "--home" << base + "a\r\nb\tc";
    QTest::newRow("Bindlet's own folder: nothing to pass") << "own folder" << QString();
}

// The Exec value read back as the desktop reads it: the file's escapes first, then the
// quoting of the arguments and the doubled percent.
static QStringList execArguments(const QByteArray &entry)
{
    QString value;
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            value = QString::fromUtf8(line.mid(5));
    }
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const QChar c = value[++i];
            unescaped += c == 's' ? QChar(' ') : c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c == 'r' ? QChar('\r') : c;
        } else {
            unescaped += value[i];
        }
    }
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (quoted && c == '\\' && i + 1 < unescaped.size()) {
            current += unescaped[++i];
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
            current += c;
            ++i;
        } else if (c == ' ' && !quoted) {
            if (any || !current.isEmpty())
                arguments << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        arguments << current;
    return arguments;
}

void tst_Bindlet::entryStartsKorvaneOnItsFolder()
{
    QFETCH(QString, how);
    QFETCH(QString, folder);
    const QString home = how == QLatin1String("own folder") ? m_bindletFolder : m_root->path() + folder;
    QVERIFY(QDir().mkpath(home));
    const QByteArray oldEnvironment = qgetenv("KORVANE_HOME");
    if (how == QLatin1String("--home"))
        ProgramFolder::init({"bindlet", "--home", home});
    else if (how == QLatin1String("--home="))
        ProgramFolder::init({"bindlet", "--home=" + home});
    else if (how == QLatin1String("KORVANE_HOME"))
        qputenv("KORVANE_HOME", QFile::encodeName(home));
    if (how == QLatin1String("KORVANE_HOME") || how == QLatin1String("own folder")) {
        if (how == QLatin1String("own folder"))
            qputenv("KORVANE_HOME", QFile::encodeName(home));
        ProgramFolder::init({"bindlet"});
    }
    const BindletJob job(BindletJob::standardFolders(m_bindletFolder));
    qputenv("KORVANE_HOME", oldEnvironment);
    ProgramFolder::setHome(m_program->path());

    RecordingStarter starter;
    QVERIFY(job.run(starter).ok);
    const QByteArray entry = fileBytes(job.copies().first().target);
    const QStringList expected = how == QLatin1String("own folder")
                                     ? QStringList{m_bindletFolder + "/korvane"}
                                     : QStringList{m_bindletFolder + "/korvane", "--home", home};
    QCOMPARE(execArguments(entry), expected);
    // The sounds went to the same folder.
    QVERIFY(QFile::exists(home + "/Sounds/sndMsg.wav"));

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        return;
    QProcess process;
    process.start(validator, {job.copies().first().target});
    QVERIFY(process.waitForFinished(30000));
    const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
    QVERIFY2(process.exitCode() == 0 && !output.contains("error"), output.constData());
}

QTEST_MAIN(tst_Bindlet)
#include "tst_bindlet.moc"
