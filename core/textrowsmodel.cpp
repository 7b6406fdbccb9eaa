#include "core/textrowsmodel.h"

TextRowsModel::TextRowsModel(const QStringList &headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(headers)
{
}

QString TextRowsModel::shownText(const QString &text)
{
    return ShownText::cut(text);
}

void TextRowsModel::setRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TextRowsModel::setTexts(const QStringList &texts)
{
    QList<QStringList> rows;
    rows.reserve(texts.size());
    for (const QString &text : texts)
        rows.append(QStringList{text});
    setRows(std::move(rows));
}

void TextRowsModel::appendRow(const QStringList &row)
{
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(row);
    endInsertRows();
}

void TextRowsModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

QString TextRowsModel::text(int row, int column) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).value(column) : QString();
}

int TextRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TextRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(qMax<qsizetype>(m_headers.size(), 1));
}

QVariant TextRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QString whole = text(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return shownText(whole);
    case FullTextRole:
        return whole;
    default:
        return {};
    }
}

QVariant TextRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
