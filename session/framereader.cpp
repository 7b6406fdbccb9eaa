#include "session/framereader.h"

#include "session/databytes.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcFrames, "korvane.session.frames")

namespace {

constexpr char FlapMarker = 0x2A;
constexpr qsizetype TraceBytes = 32;

} // namespace

QList<QByteArray> FrameReader::feed(QByteArrayView chunk)
{
    QList<QByteArray> frames;
    m_buffer.append(chunk);

    qsizetype p = 0;
    while (p < m_buffer.size()) {
        if (m_buffer[p] != FlapMarker) {
            // Lengths cannot be trusted once the marker is lost: nothing after it is a frame boundary.
            const QByteArrayView lost = QByteArrayView(m_buffer).sliced(p);
            qCWarning(lcFrames).noquote()
                << "stream lost the frame marker, dropping" << lost.size()
                << "bytes:" << DataForm::ShowHex(lost.first(std::min(lost.size(), TraceBytes))).trimmed();
            ++m_desyncs;
            p = m_buffer.size();
            break;
        }
        if (m_buffer.size() - p < HeaderSize)
            break;
        const qsizetype length = (quint8(m_buffer[p + 4]) << 8) | quint8(m_buffer[p + 5]);
        if (m_buffer.size() - p < HeaderSize + length)
            break;
        frames.append(m_buffer.sliced(p, HeaderSize + length));
        p += HeaderSize + length;
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
