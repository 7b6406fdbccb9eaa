#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QTimer>

#include <vector>

// The lines of a text file (Windows-1251, CR LF) as a list model, for files too large
// to read in one event-loop turn: a load takes a snapshot of the file (kept open, so a
// file replaced meanwhile does not disturb it), looks through it a chunk per turn, adds
// a row per non-empty line as it is found, and reads a row's text only when a view
// asks. A reader that shows only some lines overrides keepLine().
class LineFileModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit LineFileModel(QObject *parent = nullptr);

    // Shows the file at the program path from now on; a missing file shows nothing.
    void load(const QString &programPath);

    // True while lines are still being looked for.
    bool isLoading() const { return m_scanning; }
    // The rows' texts, joined by CR LF (tests and copying).
    QString text() const;
    // How many bytes of the snapshot have been looked through, and its size.
    qint64 scannedBytes() const { return m_scanned; }
    qint64 snapshotBytes() const { return m_size; }

    // How much of the file one event-loop turn looks through.
    static constexpr qint64 ChunkBytes = 256 * 1024;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // All lines of the snapshot have been looked through.
    void loaded();

protected:
    // How many first bytes of a line keepLine() needs; at least 2 (an empty line is
    // "" or "\r").
    virtual qsizetype headBytes() const { return 2; }
    // Whether the line whose first bytes are head (an empty head: an empty line) gets
    // a row; every non-empty line does here.
    virtual bool keepLine(QByteArrayView head) const;

private:
    void scanChunk();
    void finishLine(std::vector<qint64> &found);

    mutable QFile m_file;
    qint64 m_size = 0;
    qint64 m_scanned = 0;
    qint64 m_lineStart = 0;
    QByteArray m_head; // the first bytes of the line being looked through
    bool m_scanning = false;
    QTimer m_timer;
    std::vector<qint64> m_rows; // start of each shown line; its end is the next LF
};
