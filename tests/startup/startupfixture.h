#pragma once

#include "core/clock.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingsound.h"
#include "support/programhome.h"
#include "support/storedlogin.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

// A fresh program folder with recording dialogs, sound and a fixed clock.
struct StartupFixture
{
    StartupFixture()
    {
        Dialogs::setInstance(&dialogs);
        Sound::setInstance(&sound);
        Clock::setInstance(&clock);
    }
    ~StartupFixture()
    {
        Clock::setInstance(nullptr);
        Sound::setInstance(nullptr);
        Dialogs::setInstance(nullptr);
    }

    QString path(const QString &programPath) const { return ProgramFolder::path(programPath); }
    bool exists(const QString &programPath) const { return QFileInfo::exists(path(programPath)); }
    QByteArray bytes(const QString &programPath) const { return TextFile::readBytes(programPath); }
    void write(const QString &programPath, const QByteArray &bytes) const
    {
        QVERIFY(TextFile::writeBytes(programPath, bytes));
    }

    ProgramHome dir;
    RecordingDialogs dialogs;
    RecordingSound sound;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7))};
};
