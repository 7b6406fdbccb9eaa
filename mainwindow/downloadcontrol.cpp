#include "mainwindow/downloadcontrol.h"

#include "engine/httpget.h"
#include "engine/webaddresses.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QSaveFile>
#include <QUrl>

DL::DL(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_timeoutMs(WebAddresses::TimeoutMs)
{}

DL::~DL()
{
    // Pending downloads must not call back into a half-destroyed control; a destroyed
    // get reports nothing, and a file never committed leaves its destination alone.
    for (auto &[id, pending] : m_pending) {
        delete pending.get;
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

    auto *get = new HttpGet(*m_network, url, HttpGet::Limits{.timeoutMs = m_timeoutMs, .maxBytes = MaxBytes}, this);
    m_pending.emplace(id, Pending{get, file});
    // The body goes to the file as it arrives, so a large download is never held whole.
    get->setSink([file](const QByteArray &piece) { return file->write(piece) == piece.size(); });
    connect(get, &HttpGet::progressed, this,
            [this, id](qint64 received, qint64 total) { Q_EMIT Progress(id, received, total); });
    connect(get, &HttpGet::finished, this, [this, id](const HttpGet::Result &result) {
        finish(id, result.ok(), result.errorText);
    });
    get->start();
    return id;
}

void DL::CancelDownload(const QString &sID)
{
    const auto it = m_pending.find(sID);
    if (it != m_pending.end())
        it->second.get->cancel();
}

void DL::finish(const QString &sID, bool ok, const QString &error)
{
    const auto it = m_pending.find(sID);
    if (it == m_pending.end())
        return;
    const Pending pending = it->second;
    m_pending.erase(it);
    pending.get->deleteLater();

    QString reason;
    if (pending.file->error() != QFileDevice::NoError)
        reason = pending.file->errorString();
    else if (!ok)
        reason = error;
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
