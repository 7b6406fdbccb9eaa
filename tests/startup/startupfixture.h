#pragma once

#include "core/clock.h"
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingsound.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A fresh program folder with recording dialogs, sound and a fixed clock.
struct StartupFixture
{
    StartupFixture()
    {
        ProgramFolder::setHome(dir.path());
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

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    RecordingSound sound;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7))};
};

// The stored login as the auto-login page writes it.
inline QString scrambledNumber(qint64 number)
{
    return VbValues::numberText((double(number) * 23 / 3 + 10) / 50);
}

inline QString scrambledPassword(const QString &password)
{
    QString digits;
    for (qsizetype i = 0; i < password.size(); ++i) {
        const int code = Cp1251::toByte(password.at(i)).value_or('?') + (i % 2 == 0 ? 1 : 2);
        digits += QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
    }
    return digits;
}
