#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Joins the chunks of one connection into whole FLAP frames. One per connection,
// cleared on connect and close; it never sees a socket.
class FrameReader
{
public:
    static constexpr qsizetype HeaderSize = 6;
    // The longest frame there is; a held-back tail is always shorter than this.
    static constexpr qsizetype MaxFrameSize = HeaderSize + 0xFFFF;

    // Appends the chunk and returns every frame that is now complete, in order, each
    // exactly its header plus the length it declares. A partial frame waits for the
    // next chunk. Bytes that do not start with the 0x2A marker where a frame must
    // begin are dropped, together with everything held after them.
    QList<QByteArray> feed(QByteArrayView chunk);
    void clear();

    qsizetype buffered() const { return m_buffer.size(); }
    int desyncCount() const { return m_desyncs; }

private:
    QByteArray m_buffer;
    int m_desyncs = 0;
};
