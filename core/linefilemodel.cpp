#include "core/linefilemodel.h"

#include "core/storage.h"
#include "core/textfile.h"

#include <QElapsedTimer>

#include <algorithm>

LineFileModel::LineFileModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LineFileModel::scanTurn);
}

void LineFileModel::load(const QString &programPath, const QStringList &above)
{
    m_timer.stop();
    beginResetModel();
    m_rows.clear();
    m_above = above;
    m_file.close();
    m_size = 0;
    m_scanned = 0;
    m_lineStart = 0;
    m_head.clear();
    m_scanning = false;
    if (!programPath.isEmpty()) {
        m_file.setFileName(TextFile::filePath(programPath));
        if (m_file.open(QIODevice::ReadOnly)) {
            m_size = m_file.size();
            m_scanning = m_size > 0;
            // Room for short lines: growing a vector of millions of rows is a long turn.
            m_rows.reserve(size_t(m_size / 48));
        }
    }
    endResetModel();
    if (m_scanning)
        m_timer.start();
    else
        Q_EMIT loaded();
}

bool LineFileModel::keepLine(QByteArrayView head) const
{
    return !head.isEmpty() && head != "\r";
}

void LineFileModel::scanTurn()
{
    QElapsedTimer turn;
    turn.start();
    std::vector<qint64> found;
    const qint64 start = m_scanned;
    bool more = true;
    while (more && m_scanned - start < ChunkBytes && !turn.hasExpired(TurnBudgetMs))
        more = scanPiece(found);
    if (!found.empty()) {
        const int first = int(m_above.size() + m_rows.size());
        beginInsertRows(QModelIndex(), first, first + int(found.size()) - 1);
        m_rows.insert(m_rows.end(), found.cbegin(), found.cend());
        endInsertRows();
    }
    if (!more) {
        m_timer.stop();
        m_scanning = false;
        Q_EMIT loaded();
    }
}

bool LineFileModel::scanPiece(std::vector<qint64> &found)
{
    const QByteArray chunk = m_file.read(std::min(PieceBytes, m_size - m_scanned));
    const QByteArrayView bytes(chunk);
    const qint64 base = m_scanned;
    const qsizetype need = std::max<qsizetype>(headBytes(), 2);
    qsizetype from = 0;
    while (from <= bytes.size()) {
        const qsizetype lineFeed = bytes.indexOf('\n', from);
        const qsizetype end = lineFeed < 0 ? bytes.size() : lineFeed;
        const QByteArrayView piece = bytes.sliced(from, end - from);
        // Only a line begun in an earlier piece copies its head; the others are looked
        // at where they stand.
        if (lineFeed < 0 || m_lineStart < base) {
            if (m_head.size() < need)
                m_head += piece.first(std::min(need - m_head.size(), piece.size()));
            if (lineFeed < 0)
                break;
            finishLine(found);
        } else if (keepLine(piece.first(std::min(need, piece.size())))) {
            found.push_back(m_lineStart);
        }
        m_lineStart = base + lineFeed + 1;
        from = lineFeed + 1;
    }
    m_scanned += chunk.size();
    if (!chunk.isEmpty() && m_scanned < m_size)
        return true;
    // The last line may be unended; a read error ends the snapshot where it stands.
    finishLine(found);
    m_size = m_scanned;
    return false;
}

void LineFileModel::finishLine(std::vector<qint64> &found)
{
    const QByteArray head = m_head;
    m_head.clear();
    if (keepLine(head))
        found.push_back(m_lineStart);
}

int LineFileModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_above.size() + m_rows.size());
}

QString LineFileModel::lineText(int row) const
{
    if (row >= 0 && row < m_above.size())
        return m_above.at(row);
    row -= int(m_above.size());
    if (row < 0 || row >= int(m_rows.size()))
        return QString();
    const qint64 position = m_file.pos();
    m_file.seek(m_rows[size_t(row)]);
    QByteArray line = m_file.readLine(MaxShownBytes);
    m_file.seek(position);
    if (!line.endsWith('\n') && line.size() == MaxShownBytes - 1) {
        // Cut: never inside a UTF-8 letter, which would make the row read as Windows-1251.
        qsizetype end = line.size();
        while (end > line.size() - 3 && end > 0 && (uchar(line.at(end - 1)) & 0xC0) == 0x80)
            --end;
        if (end > 0 && uchar(line.at(end - 1)) >= 0xC0)
            line.truncate(end - 1);
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return Storage::decode(line);
}

QVariant LineFileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || role != Qt::DisplayRole)
        return QVariant();
    return lineText(index.row());
}

QString LineFileModel::text() const
{
    QStringList lines;
    lines.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        lines.append(lineText(row));
    return lines.join(QStringLiteral("\r\n"));
}
