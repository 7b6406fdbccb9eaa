#pragma once

// Shared by the fuzz targets: a check that stops the run, a silent message handler and a
// cursor that turns the input into the choices and pieces a target makes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
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
