#pragma once

#include "compare/ComparisonTable.h"
#include "compare/ComparisonWorker.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <vector>

// The persons of a comparison as a table, with the texts the CSV has: a sort key per cell (the
// change sorts the largest rise first, the direction "хуже" first), the level cells in the level
// colours, a stage without a value tinted by why (missing, several files, not assessed), and
// those who got worse tinted.
class ComparisonTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    ~ComparisonTableModel() override;

    void setComparison(const SharedComparison& comparison, bool anonymised);
    const SharedComparison& comparison() const { return m_comparison; }
    // Null until a comparison is set.
    const ComparisonTable* table() const { return m_table.get(); }
    std::size_t stageCount() const { return m_comparison ? m_comparison->stages.size() : 0; }
    int column(ComparisonTable::PersonColumn column) const;
    int column(std::size_t stage, ComparisonTable::StageColumn column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // What a cell is, by column.
    struct ColumnRole
    {
        std::optional<ComparisonTable::PersonColumn> person;
        std::optional<ComparisonTable::StageColumn> stageColumn;
        std::size_t stage = 0;
    };
    QVariant sortKey(int row, const ColumnRole& role, const QString& shown) const;
    QVariant background(int row, const ColumnRole& role) const;

    SharedComparison m_comparison;
    std::unique_ptr<ComparisonTable> m_table;
    QStringList m_captions;
    std::vector<ColumnRole> m_columns;
    std::vector<QStringList> m_cells;
};
