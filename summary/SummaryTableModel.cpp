#include "summary/SummaryTableModel.h"

#include "summary/CountsChart.h"
#include "summary/CsvExport.h"
#include "reports/HeaderCaption.h"

#include <QBrush>

namespace {

// A cell's value for sorting: the number for numeric cells, the text otherwise.
QVariant SortKey(const SummaryRow& row, int column, const QString& shown)
{
    const bool assessed = row.outcome == RowOutcome::Assessed;
    const AssessmentResult& r = row.result;
    switch (column) {
    case ColSystolic: case ColDiastolic: case ColPulse: case ColWeight: case ColHeight: case ColAge: {
        bool ok = false;
        const qlonglong value = shown.toLongLong(&ok);
        return ok ? QVariant(value) : QVariant(shown);
    }
    case ColIndex: return assessed ? QVariant(r.AdaptationIndex) : QVariant();
    case ColLevel: return assessed ? QVariant(int(r.Level)) : QVariant();
    case ColExpectedSystolic: return assessed ? QVariant(r.ExpectedSystolic) : QVariant();
    case ColExpectedDiastolic: return assessed ? QVariant(r.ExpectedDiastolic) : QVariant();
    case ColOptimalWeight: return assessed ? QVariant(r.OptimalWeight) : QVariant();
    case ColKerdo: return assessed ? QVariant(r.KerdoShown) : QVariant();
    case ColBalance: return assessed ? QVariant(int(r.Balance)) : QVariant();
    default: return shown;
    }
}

} // namespace

int SummaryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SummaryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SummaryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const SummaryRow& row = m_rows[index.row()];
    const QString& shown = m_cells[index.row()][std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return shown;
    case SortRole:
        return SortKey(row, index.column(), shown);
    case Qt::ToolTipRole:
        return index.column() == ColOutcome || index.column() == ColPath ? QVariant(OutcomeText(row)) : QVariant();
    case Qt::BackgroundRole:
        if (index.column() == ColLevel && row.outcome == RowOutcome::Assessed)
            return QBrush(LevelQColor(row.result.Level));
        if (index.column() == ColOutcome && row.outcome != RowOutcome::Assessed)
            return QBrush(QColor(0xff, 0xe0, 0xe0));
        return {};
    case Qt::ForegroundRole:
        if (index.column() == ColLevel && row.outcome == RowOutcome::Assessed)
            return QBrush(TextColorOn(LevelQColor(row.result.Level)));
        return {};
    default:
        return {};
    }
}

QVariant SummaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount) {
        // Units on a line of their own keep the numeric columns narrow.
        return WrapCaption(SummaryColumnCaptions()[std::size_t(section)], 18);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SummaryTableModel::appendRows(const SummaryRows& rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
    for (const SummaryRow& row : rows) {
        m_rows.append(row);
        m_cells.append(SummaryRowCells(row));
        m_counts.add(row);
    }
    endInsertRows();
    emit countsChanged();
}

void SummaryTableModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_cells.clear();
    m_counts = {};
    endResetModel();
    emit countsChanged();
}
