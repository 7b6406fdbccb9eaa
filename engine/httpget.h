#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// One bounded HTTP GET: the whole load, redirects included, must end within a time-out
// and a body may not grow beyond a byte cap. It never blocks; it reports exactly one
// result through finished(), always after start() has returned, unless the object is
// destroyed first: a destroyed get reports nothing and leaves nothing running.
class HttpGet : public QObject
{
    Q_OBJECT
public:
    enum class Error {
        None,
        BadAddress, // not an http or https address with a host
        Timeout,    // the whole load took longer than the time-out
        TooLarge,   // the body grew beyond the cap, or announced that it would
        Redirects,  // too many redirects, or one to a less safe address
        Status,     // the server answered with a status outside 2xx
        Network,    // the connection failed or broke off
        Sink,       // the sink refused a piece of the body
        Cancelled,  // cancel() ended it
    };
    Q_ENUM(Error)

    struct Limits
    {
        int timeoutMs = 15000;
        qint64 maxBytes = 2 * 1024 * 1024;
        int maxRedirects = 10;
    };

    struct Result
    {
        Error error = Error::None;
        int status = 0;     // the HTTP status of the last answer; 0 when none came
        QByteArray body;    // the whole body on success without a sink; otherwise empty
        QString errorText;  // for logs and reasons; empty on success
        bool ok() const { return error == Error::None; }
    };

    // Takes a piece of the body as it arrives; returns false to end the load (Sink).
    using Sink = std::function<bool(const QByteArray &piece)>;

    // network is not owned and may go first; the load then fails.
    HttpGet(QNetworkAccessManager &network, const QUrl &url, Limits limits, QObject *parent = nullptr);
    ~HttpGet() override;

    // Before start(): hand the body to sink piece by piece instead of keeping it.
    void setSink(Sink sink) { m_sink = std::move(sink); }
    // Starts the load; once only.
    void start();
    // Ends a running load at once: finished() reports Cancelled before this returns.
    // Does nothing once the result has been reported.
    void cancel();

    bool isRunning() const { return m_started && !m_done; }
    const QUrl &url() const { return m_url; }

    static QString describe(Error error);

    // The usual use: a get owned by owner that runs done with its result and then deletes
    // itself. Destroying owner first ends the load without calling done. Returns the get,
    // for cancel(), until the result is reported.
    static HttpGet *run(QNetworkAccessManager &network, const QUrl &url, Limits limits, QObject *owner,
                        std::function<void(const HttpGet::Result &result)> done);

Q_SIGNALS:
    // While the body arrives: bytes so far and the announced total (-1 when unknown).
    void progressed(qint64 received, qint64 total);
    void finished(const HttpGet::Result &result);

private:
    void onReadyRead();
    void onMetaData();
    void onReplyFinished();
    void fail(Error error, const QString &text = QString());
    void finish(Result result);
    void detachReply();

    QPointer<QNetworkAccessManager> m_network;
    QUrl m_url;
    Limits m_limits;
    Sink m_sink;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QByteArray m_body;
    qint64 m_received = 0;
    bool m_started = false;
    bool m_done = false;
};
