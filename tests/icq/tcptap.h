#pragma once

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

// A relay between the bot and a server that keeps every byte the bot sent, one record
// per connection, so a test can read the bot's packets byte for byte while the real
// server answers them.
class TcpTap
{
public:
    explicit TcpTap(quint16 targetPort)
        : m_targetPort(targetPort)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                relay(client);
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    int count() const { return int(m_links.size()); }
    // What the bot sent on connection i.
    QByteArray sent(int i) const { return m_links.at(i)->fromClient; }

private:
    struct Link
    {
        QPointer<QAbstractSocket> client;
        QPointer<QAbstractSocket> upstream;
        QByteArray fromClient;
        QByteArray pending; // client bytes that came before the upstream connected
    };

    void relay(QTcpSocket *client)
    {
        auto link = std::make_shared<Link>();
        link->client = client;
        link->upstream = new QTcpSocket(client);
        m_links.append(link);
        QObject::connect(client, &QTcpSocket::readyRead, client, [link] {
            const QByteArray bytes = link->client->readAll();
            link->fromClient += bytes;
            if (link->upstream->state() == QAbstractSocket::ConnectedState)
                link->upstream->write(bytes);
            else
                link->pending += bytes;
        });
        QObject::connect(link->upstream, &QTcpSocket::connected, client, [link] {
            link->upstream->write(link->pending);
            link->pending.clear();
        });
        QObject::connect(link->upstream, &QTcpSocket::readyRead, client,
                         [link] { link->client->write(link->upstream->readAll()); });
        // Either side closing closes the other once its bytes are out.
        QObject::connect(link->upstream, &QTcpSocket::disconnected, client, [link] {
            if (link->client)
                link->client->disconnectFromHost();
        });
        QObject::connect(client, &QTcpSocket::disconnected, client, [link] {
            if (link->upstream)
                link->upstream->disconnectFromHost();
        });
        link->upstream->connectToHost(QHostAddress::LocalHost, m_targetPort);
    }

    quint16 m_targetPort = 0;
    QTcpServer m_server;
    QList<std::shared_ptr<Link>> m_links;
};
