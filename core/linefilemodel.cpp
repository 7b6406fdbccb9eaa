#include "core/linefilemodel.h"

#include "core/cp1251.h"
#include "core/textfile.h"

#include <algorithm>

LineFileModel::LineFileModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LineFileModel::scanChunk);
}

void LineFileModel::load(const QString &programPath)
{
    m_timer.stop();
    beginResetModel();
    m_rows.clear();
    m_file.close();
    m_size = 0;
    m_scanned = 0;
    m_lineStart = 0;
    m_head.clear();
    m_scanning = false;
    m_file.setFileName(TextFile::filePath(programPath));
    if (m_file.open(QIODevice::ReadOnly)) {
        m_size = m_file.size();
        m_scanning = m_size > 0;
        // Room for short lines: growing a vector of millions of rows is a long turn.
        m_rows.reserve(size_t(m_size / 48));
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

void LineFileModel::scanChunk()
{
    const QByteArray chunk = m_file.read(ChunkBytes);
    const QByteArrayView bytes(chunk);
    const qint64 base = m_scanned;
    const qsizetype need = std::max<qsizetype>(headBytes(), 2);
    std::vector<qint64> found;
    qsizetype from = 0;
    while (from <= bytes.size()) {
        const qsizetype lineFeed = bytes.indexOf('\n', from);
        const qsizetype end = lineFeed < 0 ? bytes.size() : lineFeed;
        const QByteArrayView piece = bytes.sliced(from, end - from);
        // Only a line begun in an earlier chunk copies its head; the others are looked
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
    const bool atEnd = chunk.isEmpty() || m_scanned >= m_size;
    if (atEnd) {
        // The last line may be unended; a read error ends the snapshot where it stands.
        finishLine(found);
        m_size = m_scanned;
    }
    if (!found.empty()) {
        const int first = int(m_rows.size());
        beginInsertRows(QModelIndex(), first, first + int(found.size()) - 1);
        m_rows.insert(m_rows.end(), found.cbegin(), found.cend());
        endInsertRows();
    }
    if (atEnd) {
        m_timer.stop();
        m_scanning = false;
        Q_EMIT loaded();
    }
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
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant LineFileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || role != Qt::DisplayRole ||
        index.row() >= int(m_rows.size()))
        return QVariant();
    const qint64 position = m_file.pos();
    m_file.seek(m_rows[size_t(index.row())]);
    // A line longer than this shows cut: a view lays out only what it can show.
    QByteArray line = m_file.readLine(64 * 1024);
    m_file.seek(position);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return Cp1251::decode(line);
}

QString LineFileModel::text() const
{
    QStringList lines;
    lines.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        lines.append(data(index(row, 0)).toString());
    return lines.join(QStringLiteral("\r\n"));
}
