#pragma once

// The tests' one web server, on 127.0.0.1 and an ephemeral port, for everything the bot
// downloads: the web sub-bots, the update check and the answers fetched from the net.
// A request is answered, in this order, by the raw chunks of raw mode, by the response
// set for its path, by the next of the answers given in turn, or else with a 404.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

class LocalHttpServer : public QObject
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        int delayMs = 0; // the answer waits this long; Held: until release()
        QByteArray contentType = "text/xml";
    };
    static constexpr int Held = -1;

    LocalHttpServer();
    // Answers every request with the next of these whole answers, the last one for every
    // request after.
    explicit LocalHttpServer(const QList<QByteArray> &answersInTurn);
    ~LocalHttpServer() override;

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:port", the form of a host value in the addresses file.
    QString hostValue() const;
    QString url(const QString &path = QStringLiteral("/answer.txt")) const;
    // Stops listening: the port then refuses every connection.
    void close() { m_server.close(); }

    // A whole answer "200 OK" with a plain-text body.
    static QByteArray ok(const QByteArray &body);

    void setResponse(const QString &path, const Response &response) { m_responses.insert(path, response); }
    // More header lines for the answers to path, each ended by CR LF.
    void setHeaders(const QString &path, const QByteArray &headers) { m_headers.insert(path, headers); }
    // A redirect: status (301, 302, ...) to location, after delayMs.
    void setRedirect(const QString &path, int status, const QByteArray &location, int delayMs = 0);
    // Answers the held requests now.
    void release();
    // Raw mode: every request is answered with these chunks, each written after the one
    // before with gapMs between them; the connection closes after the last when
    // closeAfter is set.
    void setRaw(const QList<QByteArray> &chunks, int gapMs, bool closeAfter);

    // Connections accepted so far, whether or not a whole request came on them.
    int connections() const { return int(m_sockets.size()); }

    QList<QByteArray> requests; // the raw bytes of each complete request
    QStringList paths;          // the path of each request

private:
    struct HeldAnswer
    {
        QPointer<QTcpSocket> socket;
        Response response;
        QByteArray headers;
    };

    void accept();
    void answer(QTcpSocket *socket, const QString &path);
    static void write(const QPointer<QTcpSocket> &socket, const Response &response, const QByteArray &headers);
    static void writeWhole(const QPointer<QTcpSocket> &socket, const QByteArray &answer);
    void writeRaw(QTcpSocket *socket, int index);

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_sockets;
    QHash<QString, Response> m_responses;
    QHash<QString, QByteArray> m_headers;
    QList<QByteArray> m_inTurn;
    int m_answeredInTurn = 0;
    QList<HeldAnswer> m_held;
    QList<QByteArray> m_raw;
    int m_rawGapMs = 0;
    bool m_rawClose = false;
    bool m_rawMode = false;
};
