#pragma once

#include "summary/SummaryColumns.h"
#include "summary/SummaryCounts.h"

#include <QAbstractTableModel>

// The rows of a group as a table: display texts as the CSV has them, a sort key per cell
// (numbers sort as numbers), the level cells in the level colours, the reason as a tooltip.
class SummaryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The columns by name: SummaryTableModel::ColLevel and so on.
    using enum SummaryColumn;
    static constexpr int ColumnCount = SummaryColumnCount;
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void appendRows(const SummaryRows& rows);
    void clear();
    const SummaryRows& rows() const { return m_rows; }
    const SummaryCounts& counts() const { return m_counts; }

signals:
    void countsChanged();

private:
    SummaryRows m_rows;
    QList<SummaryCells> m_cells;
    SummaryCounts m_counts;
};
