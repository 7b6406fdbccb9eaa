#pragma once

#include "session/flap.h"
#include "session/framereader.h"

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <optional>

class QTcpSocket;

// How a link puts its frames on the wire. Real servers and the network cut and join
// frames freely; tests use the last two modes to make the other side cope with both.
enum class WriteMode {
    Whole,     // every frame in a write of its own
    Coalesced, // everything queued during one event-loop turn in one write
    Split,     // the byte stream in chunks of 1 to 7 bytes, one chunk per event-loop turn
};

// One OSCAR connection of either side: whole frames in, frames out under this side's
// sequence numbers. Owns its socket.
class OscarLink : public QObject
{
    Q_OBJECT
public:
    // The socket may be connected already (accepted) or still connecting.
    explicit OscarLink(QTcpSocket *socket, QObject *parent = nullptr);
    ~OscarLink() override;

    QTcpSocket *socket() const { return m_socket; }

    void setWriteMode(WriteMode mode);
    WriteMode writeMode() const { return m_mode; }

    // The sequence number of the next frame sent; it wraps at 16 bits.
    void setSequence(quint16 next) { m_sequence = next; }
    quint16 nextSequence() const { return m_sequence; }
    // Strict peers check that every frame received carries the number after the one
    // before it (the first may carry any) and hang up on a gap or a repeat.
    void setIncomingSequenceChecked(bool checked) { m_checkIncoming = checked; }

    // Frames that do not fit the 16-bit length field are dropped with a warning.
    void sendFrame(quint8 channel, QByteArrayView data);
    void sendSnac(quint16 family, quint16 subtype, quint32 requestId, QByteArrayView body);
    // Bytes outside any framing, as a broken peer would send them.
    void sendRaw(QByteArrayView bytes);

    // Closes (FIN) once every queued byte is out; later sends are dropped.
    void closeWhenWritten();
    // Drops the connection at once, queued bytes and all, without any goodbye.
    void abort();

    bool isOpen() const { return !m_closed && !m_closing; }
    bool isClosed() const { return m_closed; }
    // Bytes queued here and not yet handed to the socket.
    qsizetype pendingBytes() const { return m_pending.size(); }

Q_SIGNALS:
    void connected();
    void frameReceived(const FLAP &frame);
    // The stream lost the frame marker; the link aborts right after.
    void streamBroken();
    // A frame broke the incoming sequence (when checked); the link aborts right after.
    void sequenceBroken(quint16 expected, quint16 received);
    // Emitted once, whatever ended the connection (including a failed connect).
    void closed();

private:
    void onReadyRead();
    void onStateChanged();
    void queue(QByteArrayView bytes);
    void drain();
    void finishIfClosing();

    QTcpSocket *m_socket = nullptr;
    FrameReader m_reader;
    WriteMode m_mode = WriteMode::Whole;
    quint16 m_sequence = 1;
    QByteArray m_pending;
    QTimer m_drainTimer;
    QRandomGenerator m_chunkSizes;
    bool m_closing = false;
    bool m_closed = false;
    bool m_checkIncoming = false;
    std::optional<quint16> m_expectedIncoming;
};
