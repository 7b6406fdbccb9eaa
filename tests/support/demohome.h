#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Prepares a program folder as the demo script does, its login server on port 5190; the
// script is taken from the source tree. True when the script went through; what it
// printed goes to output.
inline bool prepareDemoHome(const QString &sourceDir, const QString &home, QByteArray &output)
{
    QProcess prepare;
    prepare.setProcessChannelMode(QProcess::MergedChannels);
    prepare.setWorkingDirectory(sourceDir);
    prepare.start(QStringLiteral("bash"),
                  {QStringLiteral("-c"),
                   QStringLiteral("source scripts/common.sh && source scripts/demo.sh && "
                                  "korvane_demo_prepare_home \"$1\" 5190"),
                   QStringLiteral("demo"), home});
    const bool finished = prepare.waitForFinished(30000);
    output = prepare.readAll();
    return finished && prepare.exitStatus() == QProcess::NormalExit && prepare.exitCode() == 0;
}
