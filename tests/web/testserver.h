#pragma once

// A small web server for the tests, on 127.0.0.1 and an ephemeral port. It answers GET
// requests from canned responses by path, or, in raw mode, writes canned chunks after
// any request, for the currency script's socket.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <utility>

class TestServer : public QObject
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        int delayMs = 0; // the answer waits this long; Held: until release()
        QByteArray contentType = "text/xml";
    };

    TestServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &TestServer::accept);
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    ~TestServer() override
    {
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets))
            delete socket.data();
    }

    bool listening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:port", the form of a host value in the addresses file.
    QString hostValue() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    void close() { m_server.close(); }

    static constexpr int Held = -1;

    void setResponse(const QString &path, const Response &response) { m_responses.insert(path, response); }
    // More header lines for the answers to path, each ended by CR LF.
    void setHeaders(const QString &path, const QByteArray &headers) { m_headers.insert(path, headers); }
    // A redirect: status (301, 302, ...) to location, after delayMs.
    void setRedirect(const QString &path, int status, const QByteArray &location, int delayMs = 0)
    {
        setResponse(path, {status, QByteArray(), delayMs, "text/plain"});
        setHeaders(path, "Location: " + location + "\r\n");
    }
    // Answers the held requests now.
    void release()
    {
        const QList<HeldAnswer> held = std::exchange(m_held, {});
        for (const HeldAnswer &answer : held)
            write(answer.socket, answer.response, answer.headers);
    }
    // Raw mode: every request is answered with these chunks, each written after the
    // one before with gapMs between them; the connection closes after the last when
    // closeAfter is set.
    void setRaw(const QList<QByteArray> &chunks, int gapMs, bool closeAfter)
    {
        m_raw = chunks;
        m_rawGapMs = gapMs;
        m_rawClose = closeAfter;
        m_rawMode = true;
    }

    QList<QByteArray> requests; // the raw bytes of each complete request
    QStringList paths;          // the path of each request

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_sockets.append(socket);
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QByteArray request = buffer->left(end + 4);
                buffer->remove(0, end + 4);
                requests.append(request);
                const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
                paths.append(QString::fromLatin1(words.value(1)));
                if (m_rawMode)
                    writeRaw(socket, 0);
                else
                    answer(socket, paths.last());
            });
        }
    }

    void answer(QTcpSocket *socket, const QString &path)
    {
        const Response response = m_responses.value(path, Response{404, "not here", 0, "text/plain"});
        const QByteArray headers = m_headers.value(path);
        QPointer<QTcpSocket> guard(socket);
        if (response.delayMs == Held)
            m_held.append({guard, response, headers});
        else
            QTimer::singleShot(response.delayMs, this,
                               [guard, response, headers] { write(guard, response, headers); });
    }

    static void write(const QPointer<QTcpSocket> &socket, const Response &response, const QByteArray &headers)
    {
        if (!socket)
            return;
        const QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                                (response.status == 200 ? " OK" : " Failed") +
                                "\r\nContent-Type: " + response.contentType +
                                "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                                "\r\nConnection: close\r\n" + headers + "\r\n";
        socket->write(head + response.body);
        socket->disconnectFromHost();
    }

    void writeRaw(QTcpSocket *socket, int index)
    {
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(index == 0 ? 0 : m_rawGapMs, this, [this, guard, index] {
            if (!guard)
                return;
            if (index < m_raw.size()) {
                guard->write(m_raw.at(index));
                writeRaw(guard, index + 1);
            } else if (m_rawClose) {
                guard->disconnectFromHost();
            }
        });
    }

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_sockets;
    QHash<QString, Response> m_responses;
    struct HeldAnswer
    {
        QPointer<QTcpSocket> socket;
        Response response;
        QByteArray headers;
    };
    QHash<QString, QByteArray> m_headers;
    QList<HeldAnswer> m_held;
    QList<QByteArray> m_raw;
    int m_rawGapMs = 0;
    bool m_rawClose = false;
    bool m_rawMode = false;
};
