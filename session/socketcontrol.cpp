#include "session/socketcontrol.h"

#include "platform/dialogs.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <utility>

namespace {

// A closed connection still gets this long to hand its queued bytes to the peer.
constexpr int FlushTimeoutMs = 30000;

bool isPort(int port)
{
    return port >= 0 && port <= 0xFFFF;
}

} // namespace

namespace Korvane::Socket {

T::T(QObject *parent)
    : QObject(parent)
    , m_readTimer(new QTimer(this))
{
    m_readTimer->setSingleShot(true);
    m_readTimer->setInterval(0);
    connect(m_readTimer, &QTimer::timeout, this, [this] { readChunk(m_generation); });
}

T::~T()
{
    // Children go with us; make sure none of them calls back into a half-destroyed control.
    if (m_socket)
        m_socket->disconnect(this);
    if (m_server)
        m_server->disconnect(this);
}

QString T::LocalName() const
{
    return QHostInfo::localHostName();
}

QString T::LocalIP() const
{
    static const QString address = [] {
        QString loopback;
        for (const QHostAddress &a : QNetworkInterface::allAddresses()) {
            if (a.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            if (!a.isLoopback())
                return a.toString();
            if (loopback.isEmpty())
                loopback = a.toString();
        }
        return loopback;
    }();
    return address;
}

quint16 T::listeningPort() const
{
    return m_server ? m_server->serverPort() : 0;
}

void T::Connect(const QString &host, int port)
{
    m_host = host;
    m_port = port;
    m_state = StateConnecting;
    retireDataSocket();
    m_peerClosed = false;

    if (!isPort(port)) {
        const quint64 generation = m_generation;
        QMetaObject::invokeMethod(
            this, [this, generation] { failConnect(generation); }, Qt::QueuedConnection);
        return;
    }

    auto *socket = new QTcpSocket(this);
    adoptDataSocket(socket);
    m_connecting = true;
    // Results are never raised from inside connectToHost: both are queued.
    connect(socket, &QAbstractSocket::connected, this, [this, socket] {
        if (!m_connecting)
            return;
        m_connecting = false;
        sendAtOnce(socket);
        const quint64 generation = m_generation;
        QMetaObject::invokeMethod(
            this, [this, generation] { announceConnected(generation); }, Qt::QueuedConnection);
    });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this] {
        if (!m_connecting)
            return; // errors of an established connection are not reported
        m_connecting = false;
        const quint64 generation = m_generation;
        QMetaObject::invokeMethod(
            this, [this, generation] { failConnect(generation); }, Qt::QueuedConnection);
    });
    socket->connectToHost(host, quint16(port), QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
}

bool T::SendData(const QByteArray &data)
{
    if (data.isEmpty() || !m_socket || !m_announced || m_socket->state() != QAbstractSocket::ConnectedState)
        return false;
    // The socket buffers whatever the system does not take at once, so a frame is never cut.
    if (m_socket->write(data) != data.size())
        return false;
    m_state = StateSent;
    return true;
}

bool T::Listen(int port)
{
    retireDataSocket();
    retireServer();

    auto *server = new QTcpServer(this);
    if (!isPort(port) || !server->listen(QHostAddress::AnyIPv4, quint16(port))) {
        delete server;
        if (m_alertMode == 0)
            Dialogs::instance().notify(QStringLiteral("Ошибка"),
                                       QStringLiteral("Невозможно слушать порт, наверное он занят"),
                                       Dialogs::Icon::Critical, QStringLiteral("socket-listen"));
        return false;
    }
    m_server = server;
    connect(server, &QTcpServer::newConnection, this, [this, server] {
        QMetaObject::invokeMethod(
            this,
            [this, guard = QPointer<QTcpServer>(server)] {
                if (guard && guard == m_server)
                    acceptPending();
            },
            Qt::QueuedConnection);
    });
    m_state = StateListening;
    return true;
}

void T::CloseConnection()
{
    retireDataSocket();
    retireServer();
}

void T::sendAtOnce(QTcpSocket *socket)
{
    // Frames are written whole as they are ready. Without this, a frame written while
    // the one before is still unacknowledged waits for that acknowledgement, which the
    // peer may hold back some 40 ms: an answer would wait that long behind another.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void T::adoptDataSocket(QTcpSocket *socket)
{
    retireDataSocket();
    socket->setParent(this);
    // A peer that sends faster than the handlers keep up is slowed by TCP, not buffered without end.
    socket->setReadBufferSize(1 << 20);
    m_socket = socket;
    m_peerClosed = false;
    connect(socket, &QIODevice::readyRead, this, &T::scheduleRead);
    m_closeAnnounced = false;
    connect(socket, &QAbstractSocket::disconnected, this, &T::notePeerClosed);
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] {
        // A reset of an established connection may come without the disconnected notice.
        if (!m_connecting && socket == m_socket && socket->state() == QAbstractSocket::UnconnectedState)
            notePeerClosed();
    });
}

void T::notePeerClosed()
{
    if (m_peerClosed)
        return;
    m_peerClosed = true;
    // Whatever arrived before the close is still delivered, then the close is told.
    if (m_socket && m_socket->bytesAvailable() > 0) {
        scheduleRead();
        return;
    }
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this, [this, generation] { announcePeerClosed(generation); }, Qt::QueuedConnection);
}

void T::announcePeerClosed(quint64 generation)
{
    // Only for a connection that was announced: a failed connect is ConnectError's.
    if (!isCurrent(generation) || !m_peerClosed || m_closeAnnounced || !m_announced)
        return;
    if (m_socket && m_socket->bytesAvailable() > 0)
        return; // the last read announces it
    m_closeAnnounced = true;
    emit PeerClosed();
}

void T::retireDataSocket()
{
    ++m_generation;
    m_connecting = false;
    m_announced = false;
    m_readScheduled = false;
    m_readPaused = false;
    m_readTimer->stop();
    QTcpSocket *socket = std::exchange(m_socket, nullptr);
    if (!socket)
        return;
    socket->disconnect(this);
    if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0) {
        // Let the peer have what SendData already accepted, as closing a system socket would.
        connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QAbstractSocket::errorOccurred, socket, &QObject::deleteLater);
        QTimer::singleShot(FlushTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
        return;
    }
    socket->abort();
    // Never deleted in place: the caller may be running inside one of its notifications.
    socket->deleteLater();
}

void T::retireServer()
{
    QTcpServer *server = std::exchange(m_server, nullptr);
    if (!server)
        return;
    server->disconnect(this);
    server->close();
    server->deleteLater();
}

void T::setReadingPaused(bool paused)
{
    if (m_readPaused == paused)
        return;
    m_readPaused = paused;
    if (!paused && m_socket && m_socket->bytesAvailable() > 0)
        scheduleRead();
}

void T::scheduleRead()
{
    if (!m_announced || m_readScheduled || m_readPaused || !m_socket)
        return;
    m_readScheduled = true;
    m_readTimer->start();
}

void T::readChunk(quint64 generation)
{
    if (!isCurrent(generation) || !m_socket)
        return;
    m_readScheduled = false;
    if (m_readPaused)
        return;
    const QByteArray data = m_socket->read(MaxChunk);
    const QPointer<T> self(this);
    if (!data.isEmpty())
        emit DataArrival(data);
    // The handler may have closed, reconnected or deleted this control.
    if (!self || !isCurrent(generation))
        return;
    if (m_socket->bytesAvailable() > 0)
        scheduleRead(); // the rest comes in further events, one chunk per event-loop turn
    else if (m_peerClosed)
        QMetaObject::invokeMethod(
            this, [this, generation] { announcePeerClosed(generation); }, Qt::QueuedConnection);
}

void T::announceConnected(quint64 generation)
{
    if (!isCurrent(generation) || !m_socket)
        return;
    m_state = StateConnected;
    m_announced = true;
    const QPointer<T> self(this);
    emit Connected(m_host, m_port);
    if (!self || !isCurrent(generation))
        return;
    if (m_socket->bytesAvailable() > 0)
        scheduleRead();
    else if (m_peerClosed)
        announcePeerClosed(generation);
}

void T::failConnect(quint64 generation)
{
    if (!isCurrent(generation))
        return;
    retireDataSocket();
    const QPointer<T> self(this);
    if (m_alertMode == 0)
        Dialogs::instance().notify(QStringLiteral("Ошибка"),
                                   QStringLiteral("Невозможно установить коннект к хосту ") + m_host,
                                   Dialogs::Icon::Critical, QStringLiteral("socket-connect"));
    if (!self)
        return;
    emit ConnectError();
}

void T::acceptPending()
{
    QTcpSocket *socket = m_server ? m_server->nextPendingConnection() : nullptr;
    if (!socket)
        return;
    adoptDataSocket(socket);
    sendAtOnce(socket);
    m_remoteIp = socket->peerAddress().toString();
    const quint64 generation = m_generation;
    m_announced = true;
    const QPointer<T> self(this);
    emit Accepted(m_remoteIp);
    if (!self || !isCurrent(generation))
        return;
    if (m_socket->bytesAvailable() > 0)
        scheduleRead();
    // More connections may be waiting behind this one; the last accepted one wins.
    if (m_server && m_server->hasPendingConnections())
        QMetaObject::invokeMethod(
            this, [this] { acceptPending(); }, Qt::QueuedConnection);
}

} // namespace Korvane::Socket
