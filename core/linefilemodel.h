#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <vector>

// The lines of a text file (Windows-1251, CR LF) as a list model, for files too large
// to read in one event-loop turn: a load takes a snapshot of the file (kept open, so a
// file replaced meanwhile does not disturb it), looks through it across turns, adds a
// row per non-empty line as it is found, and reads a row's text only when a view asks.
// Lines not yet in the file (a journal's) may be given to show above the file's. A
// reader that shows only some lines overrides keepLine().
class LineFileModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit LineFileModel(QObject *parent = nullptr);

    // Shows the file at the program path from now on, below the given lines; an empty
    // path or a missing file shows only those.
    void load(const QString &programPath, const QStringList &above = {});

    // True while lines are still being looked for.
    bool isLoading() const { return m_scanning; }
    // The rows' texts, joined by CR LF (tests and copying).
    QString text() const;
    // How many bytes of the snapshot have been looked through, and its size.
    qint64 scannedBytes() const { return m_scanned; }
    qint64 snapshotBytes() const { return m_size; }

    // The most one event-loop turn looks through; a turn also stops once it has run
    // TurnBudgetMs, so a slow or busy machine gets more, shorter turns.
    static constexpr qint64 ChunkBytes = 2 * 1024 * 1024;
    static constexpr qint64 PieceBytes = 128 * 1024;
    static constexpr int TurnBudgetMs = 8;
    // A line longer than this shows cut: no window shows more of it.
    static constexpr qint64 MaxShownBytes = 64 * 1024;

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
    void scanTurn();
    // Looks through the next piece of the file; false at the snapshot's end.
    bool scanPiece(std::vector<qint64> &found);
    void finishLine(std::vector<qint64> &found);
    QString lineText(int row) const;

    mutable QFile m_file;
    qint64 m_size = 0;
    qint64 m_scanned = 0;
    qint64 m_lineStart = 0;
    QByteArray m_head; // the first bytes of the line being looked through
    bool m_scanning = false;
    QTimer m_timer;
    QStringList m_above;        // shown first
    std::vector<qint64> m_rows; // start of each shown line of the file; its end is the next LF
};
