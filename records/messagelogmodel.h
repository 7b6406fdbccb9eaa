#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <vector>

// The message log "\Логи\логи.txt" as the log window shows it: one row per non-empty
// line, newest first, all of them or those of one day (the text before a line's first
// blank equals the day's date text). The log can be large (hundreds of megabytes), so
// it is never read whole: a load takes the lines the storage layer still holds in the
// log's journal (they come first) and a snapshot of the file, so it shows everything
// logged up to that moment without waiting for the log to be rewritten; the file's
// lines are found a chunk per event-loop turn, rows appear as they are found, and their
// text is read from the snapshot only when a view asks.
class MessageLogModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit MessageLogModel(QObject *parent = nullptr);

    // Every line of the log as it stands now.
    void loadAll();
    // The lines of one day (an empty date shows nothing).
    void loadDay(const QString &dateText);

    // True while lines are still being looked for.
    bool isLoading() const { return m_scanning; }
    // The rows' texts, joined by CR LF (tests and copying).
    QString text() const;
    // How many bytes of the snapshot have been looked through, and its size.
    qint64 scannedBytes() const { return m_scanned; }
    qint64 snapshotBytes() const { return m_size; }

    // How much of the file one event-loop turn looks through.
    static constexpr qint64 ChunkBytes = 2 * 1024 * 1024;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // All lines of the snapshot have been looked through.
    void loaded();

private:
    void start(bool allLines, const QString &dateText);
    void scanChunk();
    void finishLine(QList<qint64> &found);
    QString lineText(int row) const;

    mutable QFile m_file; // kept open: the snapshot survives the log being replaced meanwhile
    qint64 m_size = 0;
    qint64 m_scanned = 0;
    qint64 m_lineStart = 0;
    bool m_all = true;
    QByteArray m_date; // "<date> " in the file's bytes
    QByteArray m_head; // the first bytes of the line being looked through
    bool m_scanning = false;
    QTimer m_timer;
    QStringList m_fresh;        // the journal's lines, above the file's
    std::vector<qint64> m_rows; // start of each shown line of the file; its end is the next LF
};
