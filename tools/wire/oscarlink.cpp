#include "tools/wire/oscarlink.h"

#include "session/databytes.h"
#include "session/packetreader.h"

#include <QLoggingCategory>
#include <QTcpSocket>

// Frame traces are debug messages: QT_LOGGING_RULES="korvane.tools.link.debug=true" shows them.
Q_LOGGING_CATEGORY(lcLink, "korvane.tools.link", QtInfoMsg)

namespace {

constexpr int SplitChunkMin = 1;
constexpr int SplitChunkMax = 7;

} // namespace

OscarLink::OscarLink(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_chunkSizes(QRandomGenerator::global()->generate())
{
    m_socket->setParent(this);
    // Each write should leave as its own segment, or the write modes mean nothing.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_drainTimer.setInterval(0);
    connect(&m_drainTimer, &QTimer::timeout, this, &OscarLink::drain);
    connect(m_socket, &QTcpSocket::readyRead, this, &OscarLink::onReadyRead);
    connect(m_socket, &QTcpSocket::stateChanged, this, &OscarLink::onStateChanged);
}

OscarLink::~OscarLink()
{
    // The socket's own destructor emits state changes; nothing here may react to them.
    m_socket->disconnect(this);
    delete m_socket;
}

void OscarLink::setWriteMode(WriteMode mode)
{
    m_mode = mode;
}

void OscarLink::sendFrame(quint8 channel, QByteArrayView data)
{
    if (!isOpen())
        return;
    const QByteArray frame = PacketWriter::flap(channel, m_sequence, data);
    if (frame.isEmpty()) {
        qCWarning(lcLink) << "dropping a frame of" << data.size() << "data bytes: too long for FLAP";
        return;
    }
    ++m_sequence;
    qCDebug(lcLink).noquote() << this << "out:" << DataForm::ShowHex(frame).trimmed();
    queue(frame);
}

void OscarLink::sendSnac(quint16 family, quint16 subtype, quint32 requestId, QByteArrayView body)
{
    PacketWriter w;
    w.snac(family, subtype, 0, requestId).bytes(body);
    sendFrame(2, w.data());
}

void OscarLink::sendRaw(QByteArrayView bytes)
{
    if (isOpen())
        queue(bytes);
}

void OscarLink::queue(QByteArrayView bytes)
{
    if (m_mode == WriteMode::Whole && m_pending.isEmpty()) {
        m_socket->write(bytes.data(), bytes.size());
        m_socket->flush();
        return;
    }
    m_pending.append(bytes);
    if (!m_drainTimer.isActive())
        m_drainTimer.start();
}

void OscarLink::drain()
{
    if (m_closed) {
        m_drainTimer.stop();
        return;
    }
    if (!m_pending.isEmpty()) {
        qsizetype n = m_pending.size();
        if (m_mode == WriteMode::Split)
            n = std::min<qsizetype>(n, m_chunkSizes.bounded(SplitChunkMin, SplitChunkMax + 1));
        m_socket->write(m_pending.constData(), n);
        m_socket->flush();
        m_pending.remove(0, n);
    }
    if (m_pending.isEmpty()) {
        m_drainTimer.stop();
        finishIfClosing();
    }
}

void OscarLink::closeWhenWritten()
{
    if (!isOpen())
        return;
    m_closing = true;
    finishIfClosing();
}

void OscarLink::finishIfClosing()
{
    // disconnectFromHost() itself waits for the socket's buffer to empty.
    if (m_closing && !m_closed && m_pending.isEmpty())
        m_socket->disconnectFromHost();
}

void OscarLink::abort()
{
    if (m_closed)
        return;
    m_closing = true;
    m_pending.clear();
    m_drainTimer.stop();
    m_socket->abort();
    if (!m_closed) {
        // A socket that never connected does not change state on abort().
        m_closed = true;
        emit closed();
    }
}

void OscarLink::onReadyRead()
{
    const QByteArray chunk = m_socket->readAll();
    if (!isOpen())
        return;
    const int desyncsBefore = m_reader.desyncCount();
    const QList<QByteArray> frames = m_reader.feed(chunk);
    for (const QByteArray &bytes : frames) {
        if (!isOpen())
            return;
        qCDebug(lcLink).noquote() << this << "in:" << DataForm::ShowHex(bytes).trimmed();
        FLAP frame;
        frame.ReadFLAP(bytes);
        if (m_checkIncoming) {
            const auto sequence = quint16(frame.SeqNumber());
            if (m_expectedIncoming && sequence != *m_expectedIncoming) {
                emit sequenceBroken(*m_expectedIncoming, sequence);
                abort();
                return;
            }
            m_expectedIncoming = quint16(sequence + 1);
        }
        emit frameReceived(frame);
    }
    if (m_reader.desyncCount() != desyncsBefore && isOpen()) {
        emit streamBroken();
        abort();
    }
}

void OscarLink::onStateChanged()
{
    switch (m_socket->state()) {
    case QAbstractSocket::ConnectedState:
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        emit connected();
        break;
    case QAbstractSocket::UnconnectedState:
        if (!m_closed) {
            m_closed = true;
            m_pending.clear();
            m_drainTimer.stop();
            m_reader.clear();
            emit closed();
        }
        break;
    default:
        break;
    }
}
