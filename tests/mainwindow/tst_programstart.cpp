// The program folder is checked before the program touches it: a missing folder and a
// folder another running Korvane holds are refused.
#include "mainwindow/programstart.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_ProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void secondClaimRefused();
    void lockOfDeadProgramTakenOver();
    void missingFolderRefusedAndNotCreated();
    void programRefusesFolderInUse();
    void programRefusesMissingFolder();

private:
    static QStringList folderContents(const QString &folder);
    static QString program() { return QStringLiteral(KORVANE_BINARY_DIR "/mainwindow/korvane"); }
};

QStringList tst_ProgramStart::folderContents(const QString &folder)
{
    QStringList contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        contents.append(path + QLatin1Char(' ') + QString::number(QFileInfo(path).size()));
    }
    contents.sort();
    return contents;
}

void tst_ProgramStart::secondClaimRefused()
{
    QTemporaryDir home;
    ProgramStart::Claim first = ProgramStart::claimFolder(home.path());
    QVERIFY(first.ok);
    const ProgramStart::Claim second = ProgramStart::claimFolder(home.path());
    QVERIFY(!second.ok);
    QCOMPARE(second.refusal, QStringLiteral("Korvane уже запущен с этой папкой программы: ") + home.path());
    first.lock.reset();
    QVERIFY(ProgramStart::claimFolder(home.path()).ok);
}

void tst_ProgramStart::lockOfDeadProgramTakenOver()
{
    QTemporaryDir home;
    // A lock file left behind by a run that was killed: its process is gone.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    QVERIFY(gone.waitForFinished(10000));
    const qint64 deadPid = gone.processId() > 0 ? gone.processId() : 999999;
    QFile stale(QDir(home.path()).filePath(ProgramStart::LockFileName));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(deadPid) + "\nkorvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    QVERIFY(ProgramStart::claimFolder(home.path()).ok);
}

void tst_ProgramStart::missingFolderRefusedAndNotCreated()
{
    QTemporaryDir parent;
    const QString missing = parent.filePath(QStringLiteral("нет такой"));
    const ProgramStart::Claim claim = ProgramStart::claimFolder(missing);
    QVERIFY(!claim.ok);
    QVERIFY(claim.refusal.endsWith(missing));
    QVERIFY(!QFileInfo::exists(missing));
}

void tst_ProgramStart::programRefusesFolderInUse()
{
    QTemporaryDir home;
    QFile marker(QDir(home.path()).filePath(QStringLiteral("Выход.txt")));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.write("1\r\n");
    marker.close();
    const ProgramStart::Claim running = ProgramStart::claimFolder(home.path());
    QVERIFY(running.ok);
    const QStringList before = folderContents(home.path());

    QProcess second;
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(program(), {QStringLiteral("--home"), home.path()});
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(QString::fromUtf8(second.readAll()).contains(QStringLiteral("Korvane уже запущен")));
    QCOMPARE(folderContents(home.path()), before);
}

void tst_ProgramStart::programRefusesMissingFolder()
{
    QTemporaryDir parent;
    const QString missing = parent.filePath(QStringLiteral("missing"));
    QProcess start;
    start.setProcessChannelMode(QProcess::MergedChannels);
    start.start(program(), {QStringLiteral("--home"), missing});
    QVERIFY(start.waitForFinished(60000));
    QCOMPARE(start.exitCode(), 1);
    QVERIFY(QString::fromUtf8(start.readAll()).contains(missing));
    QVERIFY(!QFileInfo::exists(missing));
}

QTEST_GUILESS_MAIN(tst_ProgramStart)
#include "tst_programstart.moc"
