#include "core/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void homeArgumentWithSeparateValue();
    void homeArgumentWithEquals();
    void argumentBeatsEnvironment();
    void environmentWhenNoArgument();
    void executableFolderLast();
    void relativeHomeIsMadeAbsolute();
    void setHome();
    void path_data();
    void path();
    void pathNeverLeavesTheFolder_data();
    void pathNeverLeavesTheFolder();

private:
    QByteArray m_savedEnvironment;
    bool m_hadEnvironment = false;
};

void TestProgramFolder::init()
{
    m_hadEnvironment = qEnvironmentVariableIsSet("KORVANE_HOME");
    m_savedEnvironment = qgetenv("KORVANE_HOME");
    qunsetenv("KORVANE_HOME");
}

void TestProgramFolder::cleanup()
{
    if (m_hadEnvironment)
        qputenv("KORVANE_HOME", m_savedEnvironment);
    else
        qunsetenv("KORVANE_HOME");
    ProgramFolder::setHome(QString());
}

void TestProgramFolder::homeArgumentWithSeparateValue()
{
    QTemporaryDir dir;
    ProgramFolder::init({"korvane", "--other", "--home", dir.path(), "--last"});
    QCOMPARE(ProgramFolder::home(), dir.path());
}

void TestProgramFolder::homeArgumentWithEquals()
{
    QTemporaryDir dir;
    ProgramFolder::init({"korvane", "--home=" + dir.path()});
    QCOMPARE(ProgramFolder::home(), dir.path());
}

void TestProgramFolder::argumentBeatsEnvironment()
{
    QTemporaryDir fromArgument;
    QTemporaryDir fromEnvironment;
    qputenv("KORVANE_HOME", QFile::encodeName(fromEnvironment.path()));
    ProgramFolder::init({"korvane", "--home", fromArgument.path()});
    QCOMPARE(ProgramFolder::home(), fromArgument.path());
}

void TestProgramFolder::environmentWhenNoArgument()
{
    QTemporaryDir fromEnvironment;
    qputenv("KORVANE_HOME", QFile::encodeName(fromEnvironment.path()));
    ProgramFolder::init({"korvane"});
    QCOMPARE(ProgramFolder::home(), fromEnvironment.path());
    // "--home" without a value does not count.
    ProgramFolder::init({"korvane", "--home"});
    QCOMPARE(ProgramFolder::home(), fromEnvironment.path());
}

void TestProgramFolder::executableFolderLast()
{
    ProgramFolder::init({"korvane"});
    QCOMPARE(ProgramFolder::home(), QCoreApplication::applicationDirPath());
    // Without init() the folder is resolved on first use the same way.
    ProgramFolder::setHome(QString());
    QCOMPARE(ProgramFolder::home(), QCoreApplication::applicationDirPath());
}

void TestProgramFolder::relativeHomeIsMadeAbsolute()
{
    ProgramFolder::init({"korvane", "--home=some/where/.."});
    QCOMPARE(ProgramFolder::home(), QDir::current().absoluteFilePath("some"));
}

void TestProgramFolder::setHome()
{
    QTemporaryDir dir;
    ProgramFolder::setHome(dir.path() + "/");
    QCOMPARE(ProgramFolder::home(), dir.path());
}

void TestProgramFolder::path_data()
{
    QTest::addColumn<QString>("programPath");
    QTest::addColumn<QString>("relative");
    QTest::newRow("settings file") << "\\Настройки\\Общие.txt"
                                   << "/Настройки/Общие.txt";
    QTest::newRow("no leading backslash") << "Настройки\\Общие.txt"
                                          << "/Настройки/Общие.txt";
    QTest::newRow("forward slashes") << "/Логи/логи.txt"
                                     << "/Логи/логи.txt";
    QTest::newRow("folder with trailing backslash") << "\\Подпрограммы\\"
                                                    << "/Подпрограммы/";
    QTest::newRow("top file") << "\\Выход.txt"
                              << "/Выход.txt";
    QTest::newRow("blank in name") << "\\Группы\\Все группы.txt"
                                   << "/Группы/Все группы.txt";
    QTest::newRow("empty is the folder") << ""
                                         << "";
    QTest::newRow("backslash is the folder") << "\\"
                                             << "";
    QTest::newRow("dot-dot inside stays inside") << "\\Блокноты\\..\\Логи\\логи.txt"
                                                 << "/Логи/логи.txt";
}

void TestProgramFolder::pathNeverLeavesTheFolder_data()
{
    QTest::addColumn<QString>("programPath");
    QTest::newRow("parent") << "\\..\\x.txt";
    QTest::newRow("deeper") << "\\Блокноты\\..\\..\\..\\etc\\passwd";
    QTest::newRow("just dot-dot") << "..";
    QTest::newRow("sibling folder with the same prefix") << "\\..\\" + QStringLiteral("%1x");
}

void TestProgramFolder::pathNeverLeavesTheFolder()
{
    QFETCH(QString, programPath);
    QTemporaryDir dir;
    ProgramFolder::setHome(dir.path());
    programPath.replace(QStringLiteral("%1"), QFileInfo(dir.path()).fileName());
    // Refused, and reported, every time it is asked for.
    for (int i = 0; i < 2; ++i) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("leaves the program folder")));
        QCOMPARE(ProgramFolder::path(programPath), QString());
    }
}

void TestProgramFolder::path()
{
    QFETCH(QString, programPath);
    QFETCH(QString, relative);
    QTemporaryDir dir;
    ProgramFolder::setHome(dir.path());
    QCOMPARE(ProgramFolder::path(programPath), dir.path() + relative);
    QCOMPARE(ProgramFolder::path(programPath), dir.path() + relative); // asked again
    // A new program folder: the same name is found there.
    QTemporaryDir other;
    ProgramFolder::setHome(other.path());
    QCOMPARE(ProgramFolder::path(programPath), other.path() + relative);
    ProgramFolder::init({"korvane", "--home", dir.path()});
    QCOMPARE(ProgramFolder::path(programPath), dir.path() + relative);
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
