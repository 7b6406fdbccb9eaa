#pragma once

#include <QObject>
#include <QString>

#include <map>

class HttpGet;
class QNetworkAccessManager;
class QSaveFile;

// The download control: fetches files from the web in the background and puts each
// under its destination. The destination is replaced atomically, and only by a
// complete 2xx transfer; a failed download leaves the old file as it was.
class DL : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    // network is not owned; nullptr makes one of its own.
    explicit DL(QNetworkAccessManager *network = nullptr, QObject *parent = nullptr);
    ~DL() override;

    // Starts fetching sWWWFile (an http or https address) into the file sDestination
    // (a file-system path). An empty sID gets an identifier of its own. Returns the
    // download's identifier; empty when nothing started (an identifier still pending,
    // an unusable address or a destination that cannot be written).
    QString Download(const QString &sWWWFile, const QString &sDestination, const QString &sID = QString());
    // Ends a pending download, which then fails; an unknown identifier does nothing.
    void CancelDownload(const QString &sID);

    bool isPending(const QString &sID) const { return m_pending.count(sID) != 0; }
    int pendingCount() const { return int(m_pending.size()); }
    void setTimeout(int ms) { m_timeoutMs = ms; }

Q_SIGNALS:
    void Progress(const QString &sID, qint64 DownLoadedBytes, qint64 TotalBytes);
    // The file stands under its destination.
    void Completed(const QString &sID, qint64 bytes);
    void Failed(const QString &sID, const QString &reason);

private:
    struct Pending
    {
        HttpGet *get = nullptr; // a child of this control
        QSaveFile *file = nullptr;
    };

    void finish(const QString &sID, bool ok, const QString &error);

    QNetworkAccessManager *m_network = nullptr;
    std::map<QString, Pending> m_pending;
    quint64 m_nextId = 1;
    int m_timeoutMs;
};
