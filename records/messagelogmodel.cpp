#include "records/messagelogmodel.h"

#include "core/cp1251.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"

MessageLogModel::MessageLogModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &MessageLogModel::scanChunk);
}

void MessageLogModel::loadAll()
{
    start(true, QString());
}

void MessageLogModel::loadDay(const QString &dateText)
{
    start(false, dateText);
}

void MessageLogModel::start(bool allLines, const QString &dateText)
{
    m_timer.stop();
    beginResetModel();
    m_rows.clear();
    m_fresh.clear();
    m_file.close();
    m_size = 0;
    m_scanned = 0;
    m_lineStart = 0;
    m_head.clear();
    m_all = allLines;
    m_date = Cp1251::encode(dateText) + ' ';
    m_scanning = false;
    // An empty date matches no line: every logged line starts with its date.
    if (allLines || !dateText.isEmpty()) {
        const QString path = TextFile::filePath(Records::MessageLogPath);
        Records::openMessageLog();
        // The newest lines may still wait in the journal: they are read from there, so
        // the large log is not rewritten while the operator waits.
        m_file.setFileName(path);
        if (m_file.open(QIODevice::ReadOnly)) {
            m_size = m_file.size();
            m_scanning = m_size > 0;
        }
        for (const QByteArray &record : Storage::instance().unfoldedLines(path)) {
            for (QByteArray line : record.split('\n')) {
                if (line.endsWith('\r'))
                    line.chop(1);
                if (!line.isEmpty() && (m_all || line.startsWith(m_date)))
                    m_fresh.append(Storage::decode(line));
            }
        }
    }
    endResetModel();
    if (m_scanning)
        m_timer.start();
    else
        Q_EMIT loaded();
}

void MessageLogModel::scanChunk()
{
    const QByteArray chunk = m_file.read(ChunkBytes);
    const qint64 base = m_scanned;
    const qsizetype need = m_all ? 2 : m_date.size();
    QList<qint64> found;
    qsizetype from = 0;
    while (from <= chunk.size()) {
        const qsizetype lineFeed = chunk.indexOf('\n', from);
        const qsizetype end = lineFeed < 0 ? chunk.size() : lineFeed;
        if (m_head.size() < need)
            m_head += chunk.mid(from, std::min(need - m_head.size(), end - from));
        if (lineFeed < 0)
            break;
        finishLine(found);
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
    if (!found.isEmpty()) {
        const int first = int(m_fresh.size() + m_rows.size());
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

void MessageLogModel::finishLine(QList<qint64> &found)
{
    const QByteArray head = m_head;
    m_head.clear();
    if (head.isEmpty() || head == "\r")
        return; // readers skip empty lines
    if (!m_all && !head.startsWith(m_date))
        return;
    found.append(m_lineStart);
}

QString MessageLogModel::lineText(int row) const
{
    if (row >= 0 && row < m_fresh.size())
        return m_fresh.at(row);
    row -= int(m_fresh.size());
    if (row < 0 || row >= int(m_rows.size()))
        return QString();
    const qint64 position = m_file.pos();
    m_file.seek(m_rows[size_t(row)]);
    QByteArray line = m_file.readLine(64 * 1024);
    m_file.seek(position);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return Storage::decode(line);
}

int MessageLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fresh.size() + m_rows.size());
}

QVariant MessageLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || role != Qt::DisplayRole)
        return QVariant();
    return lineText(index.row());
}

QString MessageLogModel::text() const
{
    QStringList lines;
    for (int row = 0; row < rowCount(); ++row)
        lines.append(lineText(row));
    return lines.join(QStringLiteral("\r\n"));
}
