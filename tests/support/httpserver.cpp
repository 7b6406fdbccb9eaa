#include "support/httpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <utility>

LocalHttpServer::LocalHttpServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

LocalHttpServer::LocalHttpServer(const QList<QByteArray> &answersInTurn)
    : LocalHttpServer()
{
    m_inTurn = answersInTurn;
}

LocalHttpServer::~LocalHttpServer()
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets))
        delete socket.data();
}

QString LocalHttpServer::hostValue() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

QByteArray LocalHttpServer::ok(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void LocalHttpServer::setRedirect(const QString &path, int status, const QByteArray &location, int delayMs)
{
    setResponse(path, {status, QByteArray(), delayMs, "text/plain"});
    setHeaders(path, "Location: " + location + "\r\n");
}

void LocalHttpServer::release()
{
    const QList<HeldAnswer> held = std::exchange(m_held, {});
    for (const HeldAnswer &answer : held)
        write(answer.socket, answer.response, answer.headers);
}

void LocalHttpServer::setRaw(const QList<QByteArray> &chunks, int gapMs, bool closeAfter)
{
    m_raw = chunks;
    m_rawGapMs = gapMs;
    m_rawClose = closeAfter;
    m_rawMode = true;
}

void LocalHttpServer::accept()
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

void LocalHttpServer::answer(QTcpSocket *socket, const QString &path)
{
    QPointer<QTcpSocket> guard(socket);
    if (!m_responses.contains(path) && !m_inTurn.isEmpty()) {
        writeWhole(guard, m_inTurn.value(qMin(m_answeredInTurn, int(m_inTurn.size()) - 1)));
        ++m_answeredInTurn;
        return;
    }
    const Response response = m_responses.value(path, Response{404, "not here", 0, "text/plain"});
    const QByteArray headers = m_headers.value(path);
    if (response.delayMs == Held)
        m_held.append({guard, response, headers});
    else
        QTimer::singleShot(response.delayMs, this,
                           [guard, response, headers] { write(guard, response, headers); });
}

void LocalHttpServer::write(const QPointer<QTcpSocket> &socket, const Response &response,
                            const QByteArray &headers)
{
    const QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                            (response.status == 200 ? " OK" : " Failed") +
                            "\r\nContent-Type: " + response.contentType +
                            "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                            "\r\nConnection: close\r\n" + headers + "\r\n";
    writeWhole(socket, head + response.body);
}

void LocalHttpServer::writeWhole(const QPointer<QTcpSocket> &socket, const QByteArray &answer)
{
    if (!socket)
        return;
    socket->write(answer);
    socket->disconnectFromHost();
}

void LocalHttpServer::writeRaw(QTcpSocket *socket, int index)
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
