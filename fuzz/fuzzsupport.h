#pragma once

// Shared by the fuzz targets: a check that stops the run, a silent message handler and a
// cursor that turns the input into the choices and pieces a target makes.

#include "core/programfolder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// A broken invariant is a finding: abort so libFuzzer keeps the input.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Traces and soft asserts on damaged input are expected; what is tested is that nothing
// crashes, hangs, leaks or breaks an invariant.
inline void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        std::abort();
    }
}

// A program folder for the targets that write files: in memory where there is a place
// for it, as the files are rewritten for every input.
inline QTemporaryDir *newHome()
{
    return QDir(QStringLiteral("/dev/shm")).exists()
               ? new QTemporaryDir(QStringLiteral("/dev/shm/korvane-fuzz-XXXXXX"))
               : new QTemporaryDir();
}

// What every target's LLVMFuzzerInitialize does first: Qt's messages silenced, the
// application object and a program folder of its own, both kept for the whole run.
inline void startProgram(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    static QCoreApplication *const app = new QCoreApplication(*argc, *argv);
    static QTemporaryDir *const home = newHome();
    Q_UNUSED(app);
    ProgramFolder::setHome(home->path());
}

// Empties a folder, so no file of one input is there for the next.
inline void clearFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &entry : folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (QFileInfo(folder.filePath(entry)).isDir())
            QDir(folder.filePath(entry)).removeRecursively();
        else
            folder.remove(entry);
    }
}

// Writes a file behind the program's back, as an editor or a killed run would.
inline void putFile(const QString &path, QByteArrayView bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    require(file.write(bytes.data(), bytes.size()) == bytes.size());
}

// Takes choices and pieces off the front of the input; past its end, zeros and empty pieces.
class Cursor
{
public:
    explicit Cursor(QByteArrayView input)
        : m_input(input)
    {}

    bool atEnd() const { return m_pos >= m_input.size(); }
    qsizetype remaining() const { return m_input.size() - m_pos; }

    quint8 u8()
    {
        return atEnd() ? 0 : quint8(m_input[m_pos++]);
    }
    quint16 u16()
    {
        const quint16 high = u8();
        return quint16((high << 8) | u8());
    }
    // Up to n bytes.
    QByteArrayView bytes(qsizetype n)
    {
        n = std::clamp<qsizetype>(n, 0, remaining());
        const QByteArrayView piece = m_input.sliced(m_pos, n);
        m_pos += n;
        return piece;
    }
    // A piece whose length is the next byte.
    QByteArrayView piece8() { return bytes(u8()); }
    // A piece whose length is the next two bytes.
    QByteArrayView piece16() { return bytes(u16()); }
    QByteArrayView rest() { return bytes(remaining()); }

private:
    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace Fuzz
