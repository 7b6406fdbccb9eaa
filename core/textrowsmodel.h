#pragma once

#include "core/showntext.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

// Rows of texts for a list or table view whose rows are laid out only when shown: a
// view over it sets uniform row sizes, so opening it never measures every text. A text
// longer than any window can show is shown cut (a hand-edited file may hold a line of
// megabytes); the whole text stays in the model under FullTextRole.
class TextRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int FullTextRole = Qt::UserRole;
    static constexpr qsizetype MaxShownChars = ShownText::MaxChars;

    explicit TextRowsModel(const QStringList &headers, QObject *parent = nullptr);

    // The text as a view shows it: cut after MaxShownChars characters, with "…".
    static QString shownText(const QString &text);

    void setRows(QList<QStringList> rows);
    // One column per row.
    void setTexts(const QStringList &texts);
    void appendRow(const QStringList &row);
    void removeRowAt(int row);

    const QList<QStringList> &rows() const { return m_rows; }
    // The whole text of a cell; empty outside the rows.
    QString text(int row, int column = 0) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList m_headers;
    QList<QStringList> m_rows;
};
