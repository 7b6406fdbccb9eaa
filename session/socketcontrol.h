#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTimer;
class QTcpSocket;

namespace Korvane::Socket {

// The socket control: one asynchronous TCP client connection (or one listening socket
// with its accepted connection) that reports what happens as signals. No protocol
// knowledge, no reconnects, no keep-alives.
//
// Every signal is raised from an event of its own, never from inside a socket's
// notification, so a handler may call Connect or CloseConnection on this control or
// deleteLater() it.
class T : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int AlertMode READ AlertMode WRITE setAlertMode)
    Q_PROPERTY(QString LocalIP READ LocalIP)
    Q_PROPERTY(QString LocalName READ LocalName)
    Q_PROPERTY(int State READ State)
    Q_PROPERTY(QString ConnectedRemoteIP READ ConnectedRemoteIP)

public:
    // Values of State.
    enum : int { StateConnecting = 0, StateConnected = 1, StateSent = 3, StateListening = 5 };
    // The most one DataArrival carries.
    static constexpr qint64 MaxChunk = 16384;

    explicit T(QObject *parent = nullptr);
    ~T() override;

    // Drops whatever was open, without any signal, and starts a new IPv4 connection
    // to a name or a dotted address; Connected or ConnectError follows.
    void Connect(const QString &host, int port);
    // Queues every byte for sending; false for empty data, or before Connected (or
    // Accepted) was raised, or once the connection is gone.
    bool SendData(const QByteArray &data);
    // Listens on all IPv4 addresses; each accepted connection replaces the data connection.
    bool Listen(int port);
    // Closes everything; no signal, State unchanged. Bytes already queued are still sent.
    void CloseConnection();

    int AlertMode() const { return m_alertMode; }
    void setAlertMode(int mode) { m_alertMode = mode; }
    QString LocalIP() const;
    QString LocalName() const;
    int State() const { return m_state; }
    QString ConnectedRemoteIP() const { return m_remoteIp; }

    // The peer closed the connection (or it broke). PeerClosed is raised once for it,
    // after every byte that arrived before the close has gone out in DataArrival.
    bool peerClosed() const { return m_peerClosed; }
    // While paused no DataArrival is raised; the bytes wait in the socket, and once its
    // buffer is full TCP slows the peer down. Resuming delivers what waited.
    void setReadingPaused(bool paused);
    bool readingPaused() const { return m_readPaused; }

    // The port a successful Listen took (useful with port 0).
    quint16 listeningPort() const;

signals:
    void DataArrival(const QByteArray &data);
    void Accepted(const QString &remoteIp);
    void Connected(const QString &host, int port);
    void ConnectError();
    // An established connection ended from the other side; not raised for CloseConnection
    // or Connect, which end the old connection without any signal.
    void PeerClosed();

private:
    static void sendAtOnce(QTcpSocket *socket);
    void adoptDataSocket(QTcpSocket *socket);
    void retireDataSocket();
    void retireServer();
    void scheduleRead();
    void readChunk(quint64 generation);
    void announceConnected(quint64 generation);
    void failConnect(quint64 generation);
    void acceptPending();
    void notePeerClosed();
    void announcePeerClosed(quint64 generation);
    bool isCurrent(quint64 generation) const { return generation == m_generation; }

    QTcpSocket *m_socket = nullptr; // the data connection
    // Reads go one chunk per timer turn, not by posted events: posted events queued from
    // inside a posted event run before any timer, so a busy connection would hold back
    // every answer timer until its data ran out.
    QTimer *m_readTimer = nullptr;
    QTcpServer *m_server = nullptr;
    // Bumped whenever the data connection is replaced or closed, so events queued for
    // an earlier connection are dropped.
    quint64 m_generation = 0;
    bool m_connecting = false;
    bool m_announced = false; // Connected or Accepted raised: reads may be delivered
    bool m_readScheduled = false;
    bool m_readPaused = false;
    bool m_peerClosed = false;
    bool m_closeAnnounced = false;
    QString m_host;
    int m_port = 0;
    int m_alertMode = 0;
    int m_state = StateConnecting;
    QString m_remoteIp;
};

} // namespace Korvane::Socket

// The socket control keeps its short name T inside its namespace, where no template
// parameter shadows it; everywhere else it goes by this one.
using SocketControl = Korvane::Socket::T;
