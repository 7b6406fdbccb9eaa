#include "session/framereader.h"

#include "session/databytes.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcFrames, "korvane.session.frames")

namespace {

constexpr char FlapMarker = 0x2A;
constexpr qsizetype TraceBytes = 32;

} // namespace

namespace {

constexpr quint8 LowestChannel = 1;
constexpr quint8 HighestChannel = 5;

qsizetype frameEnd(const QByteArray &buffer, qsizetype at)
{
    return at + FrameReader::HeaderSize + ((quint8(buffer[at + 4]) << 8) | quint8(buffer[at + 5]));
}

// A frame header could start at `at`: the marker, a known channel, and a length that
// ends where the buffer ends or where the next marker stands. Bytes not received yet
// count in its favour.
bool plausibleHeader(const QByteArray &buffer, qsizetype at)
{
    if (buffer[at] != FlapMarker)
        return false;
    if (at + 1 < buffer.size()) {
        const quint8 channel = quint8(buffer[at + 1]);
        if (channel < LowestChannel || channel > HighestChannel)
            return false;
    }
    if (at + FrameReader::HeaderSize > buffer.size())
        return true;
    const qsizetype end = frameEnd(buffer, at);
    return end >= buffer.size() || buffer[end] == FlapMarker;
}

} // namespace

QList<QByteArray> FrameReader::feed(QByteArrayView chunk)
{
    QList<QByteArray> frames;
    m_buffer.append(chunk);

    // Skips a damaged stretch: the next plausible header is taken as the next frame, so
    // junk or a cut frame costs at most itself, never the frames after it.
    auto resync = [this](qsizetype from, qsizetype damaged) {
        qsizetype next = from;
        while (next < m_buffer.size() && !plausibleHeader(m_buffer, next))
            ++next;
        const QByteArrayView lost = QByteArrayView(m_buffer).sliced(damaged, next - damaged);
        qCWarning(lcFrames).noquote()
            << "stream lost the frame marker, dropping" << lost.size()
            << "bytes:" << DataForm::ShowHex(lost.first(std::min(lost.size(), TraceBytes))).trimmed();
        ++m_desyncs;
        return next;
    };

    qsizetype p = 0;
    while (p < m_buffer.size()) {
        const bool knownChannel = p + 1 >= m_buffer.size() || (quint8(m_buffer[p + 1]) >= LowestChannel &&
                                                                quint8(m_buffer[p + 1]) <= HighestChannel);
        if (m_buffer[p] != FlapMarker || !knownChannel) {
            p = resync(p + 1, p);
            continue;
        }
        if (m_buffer.size() - p < HeaderSize)
            break;
        const qsizetype end = frameEnd(m_buffer, p);
        if (end > m_buffer.size())
            break;
        if (end < m_buffer.size() && m_buffer[end] != FlapMarker) {
            // The length leads to no frame. When a frame starts inside this one's body,
            // this one was cut short: it goes, the frame inside is read. Otherwise the
            // frame stands and what follows it is junk, dropped on the next pass.
            qsizetype inside = p + HeaderSize;
            while (inside < end && !plausibleHeader(m_buffer, inside))
                ++inside;
            if (inside < end) {
                p = resync(inside, p);
                continue;
            }
        }
        frames.append(m_buffer.sliced(p, end - p));
        p = end;
    }
    if (p > 0)
        m_buffer = m_buffer.sliced(p); // a fresh copy of the tail, so a huge chunk's memory goes
    // What is left is one incomplete frame, so the buffer never holds more than MaxFrameSize.
    Q_ASSERT(m_buffer.size() < MaxFrameSize);
    return frames;
}

void FrameReader::clear()
{
    m_buffer.clear();
}
