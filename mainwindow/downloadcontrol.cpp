#include "mainwindow/downloadcontrol.h"

#include "engine/webaddresses.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

DL::DL(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_timeoutMs(WebAddresses::TimeoutMs)
{}

DL::~DL()
{
    // Pending replies must not call back into a half-destroyed control.
    for (auto &[id, pending] : m_pending) {
        if (pending.reply) {
            pending.reply->disconnect(this);
            pending.reply->abort();
            pending.reply->deleteLater();
        }
        pending.file->cancelWriting();
        delete pending.file;
    }
}

QString DL::Download(const QString &sWWWFile, const QString &sDestination, const QString &sID)
{
    const QString id = sID.isEmpty() ? QStringLiteral("download-%1").arg(m_nextId++) : sID;
    const QUrl url(sWWWFile, QUrl::StrictMode);
    if (isPending(id) || !url.isValid() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) ||
        sDestination.isEmpty())
        return QString();

    QDir().mkpath(QFileInfo(sDestination).absolutePath());
    auto *file = new QSaveFile(sDestination);
    if (!file->open(QIODevice::WriteOnly)) {
        delete file;
        return QString();
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = m_network->get(request);
    m_pending.emplace(id, Pending{reply, file, false});

    connect(reply, &QNetworkReply::readyRead, this, [this, id, reply] {
        const auto it = m_pending.find(id);
        if (it == m_pending.end())
            return;
        const QByteArray bytes = reply->readAll();
        if (it->second.file->write(bytes) != bytes.size()) {
            it->second.writeFailed = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, id, reply](qint64 received, qint64 total) {
        if (received > MaxBytes) {
            reply->abort();
            return;
        }
        Q_EMIT Progress(id, received, total);
    });
    // The transfer time-out only counts silence; this bounds the whole download.
    QTimer::singleShot(m_timeoutMs, reply, [reply] { reply->abort(); });
    connect(reply, &QNetworkReply::finished, this, [this, id] { finish(id); });
    return id;
}

void DL::CancelDownload(const QString &sID)
{
    const auto it = m_pending.find(sID);
    if (it != m_pending.end() && it->second.reply)
        it->second.reply->abort();
}

void DL::finish(const QString &sID)
{
    const auto it = m_pending.find(sID);
    if (it == m_pending.end())
        return;
    Pending pending = it->second;
    m_pending.erase(it);
    QNetworkReply *reply = pending.reply;
    reply->deleteLater();

    const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray();
    if (!rest.isEmpty() && pending.file->write(rest) != rest.size())
        pending.writeFailed = true;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString reason;
    if (pending.writeFailed)
        reason = pending.file->errorString();
    else if (reply->error() != QNetworkReply::NoError)
        reason = reply->errorString();
    else if (status < 200 || status >= 300)
        reason = QStringLiteral("HTTP %1").arg(status);
    const qint64 bytes = pending.file->size();
    if (reason.isEmpty() && !pending.file->commit())
        reason = pending.file->errorString();
    if (!reason.isEmpty())
        pending.file->cancelWriting();
    delete pending.file;

    if (reason.isEmpty())
        Q_EMIT Completed(sID, bytes);
    else
        Q_EMIT Failed(sID, reason);
}
