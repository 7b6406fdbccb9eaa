#include "engine/httpget.h"

#include "core/softassert.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace {

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

int statusOf(const QNetworkReply *reply)
{
    return reply ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

} // namespace

HttpGet::HttpGet(QNetworkAccessManager &network, const QUrl &url, Limits limits, QObject *parent)
    : QObject(parent)
    , m_network(&network)
    , m_url(url)
    , m_limits(limits)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { fail(Error::Timeout, QStringLiteral("no complete answer within %1 ms").arg(m_limits.timeoutMs)); });
}

HttpGet::~HttpGet()
{
    // A destroyed get reports nothing; its reply must not call back.
    m_done = true;
    detachReply();
}

QString HttpGet::describe(Error error)
{
    switch (error) {
    case Error::None:
        return QString();
    case Error::BadAddress:
        return QStringLiteral("not an http or https address");
    case Error::Timeout:
        return QStringLiteral("timed out");
    case Error::TooLarge:
        return QStringLiteral("the answer is too large");
    case Error::Redirects:
        return QStringLiteral("too many or unsafe redirects");
    case Error::Status:
        return QStringLiteral("the server refused the request");
    case Error::Network:
        return QStringLiteral("network error");
    case Error::Sink:
        return QStringLiteral("the answer could not be stored");
    case Error::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

void HttpGet::start()
{
    KORVANE_ASSERT(!m_started, return );
    m_started = true;

    const bool httpAddress = m_url.isValid() && !m_url.host().isEmpty() &&
                             (m_url.scheme() == QLatin1String("http") || m_url.scheme() == QLatin1String("https"));
    if (!httpAddress || !m_network) {
        // The result always comes after start() has returned, as a network answer would.
        const Error error = httpAddress ? Error::Network : Error::BadAddress;
        QTimer::singleShot(0, this, [this, error] { fail(error); });
        return;
    }

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(qMax(0, m_limits.maxRedirects));
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &HttpGet::onMetaData);
    connect(reply, &QIODevice::readyRead, this, &HttpGet::onReadyRead);
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (!m_done && isSuccess(statusOf(m_reply)) && received <= m_limits.maxBytes)
            Q_EMIT progressed(received, total);
    });
    connect(reply, &QNetworkReply::finished, this, &HttpGet::onReplyFinished);
    // The network manager took its replies with it.
    connect(reply, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] { fail(Error::Network, QStringLiteral("the network access ended")); });
    });
    // Redirects and slow servers alike count against one time-out for the whole load.
    m_deadline.start(qMax(0, m_limits.timeoutMs));
}

void HttpGet::cancel()
{
    if (isRunning())
        fail(Error::Cancelled);
}

void HttpGet::onMetaData()
{
    if (m_done || !m_reply || !isSuccess(statusOf(m_reply)))
        return;
    bool known = false;
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
    if (known && announced > m_limits.maxBytes)
        fail(Error::TooLarge, QStringLiteral("the answer announces %1 bytes").arg(announced));
}

void HttpGet::onReadyRead()
{
    if (m_done || !m_reply)
        return;
    const QByteArray piece = m_reply->readAll();
    // Only a successful answer's body counts; an error page is dropped.
    if (piece.isEmpty() || !isSuccess(statusOf(m_reply)))
        return;
    m_received += piece.size();
    if (m_received > m_limits.maxBytes) {
        fail(Error::TooLarge, QStringLiteral("the answer is larger than %1 bytes").arg(m_limits.maxBytes));
        return;
    }
    if (!m_sink)
        m_body += piece;
    else if (!m_sink(piece))
        fail(Error::Sink);
}

void HttpGet::onReplyFinished()
{
    if (m_done || !m_reply)
        return;
    onReadyRead(); // what arrived with the end
    if (m_done)
        return;
    const int status = statusOf(m_reply);
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error == QNetworkReply::NoError && isSuccess(status)) {
        finish(Result{Error::None, status, std::exchange(m_body, {}), QString()});
        return;
    }
    // A redirect that was not followed: too many, to a less safe address or to something
    // that is no web address.
    if (error == QNetworkReply::TooManyRedirectsError || error == QNetworkReply::InsecureRedirectError ||
        (error != QNetworkReply::NoError && status >= 300 && status < 400))
        fail(Error::Redirects, m_reply->errorString());
    else if (status != 0 && !isSuccess(status))
        fail(Error::Status, QStringLiteral("HTTP %1").arg(status));
    else
        fail(Error::Network, m_reply->errorString());
}

void HttpGet::fail(Error error, const QString &text)
{
    finish(Result{error, statusOf(m_reply), {}, text.isEmpty() ? describe(error) : text});
}

void HttpGet::finish(Result result)
{
    if (m_done)
        return;
    m_done = true;
    m_deadline.stop();
    m_body.clear();
    detachReply();
    // Nothing of this object is touched after the signal: its receiver may delete it.
    Q_EMIT finished(result);
}

void HttpGet::detachReply()
{
    QNetworkReply *reply = m_reply.data();
    m_reply = nullptr;
    if (!reply)
        return;
    disconnect(reply, nullptr, this, nullptr);
    if (reply->isRunning())
        reply->abort();
    // Not deleted here: this may run inside one of the reply's own signals.
    reply->deleteLater();
}

HttpGet *HttpGet::run(QNetworkAccessManager &network, const QUrl &url, Limits limits, QObject *owner,
                      std::function<void(const HttpGet::Result &result)> done)
{
    auto *get = new HttpGet(network, url, limits, owner);
    connect(get, &HttpGet::finished, get, [get, done = std::move(done)](const HttpGet::Result &result) {
        get->deleteLater();
        if (done)
            done(result);
    });
    get->start();
    return get;
}
