#include "entry/EntryTableModel.h"

EntryTableModel::EntryTableModel(Separators separators, QObject* parent)
    : QAbstractTableModel(parent), m_separators(separators)
{
    ensureTrailingEmptyRow();
}
int EntryTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }
int EntryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }
QVariant EntryTableModel::data(const QModelIndex&, int) const { return {}; }
QVariant EntryTableModel::headerData(int, Qt::Orientation, int) const { return {}; }
Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const { return QAbstractTableModel::flags(index); }
bool EntryTableModel::setData(const QModelIndex&, const QVariant&, int) { return false; }
std::optional<EntryField> EntryTableModel::FieldOfColumn(int) { return std::nullopt; }
int EntryTableModel::ColumnOfField(EntryField) { return ColName; }
void EntryTableModel::setRows(const EntryRows&) {}
EntryRows EntryTableModel::rows() const { return {}; }
const EntryRow& EntryTableModel::row(int index) const { return m_rows[index]; }
const EntryCheck& EntryTableModel::check(int index) const { return m_checks[index]; }
bool EntryTableModel::hasUnsavedRows() const { return false; }
std::vector<int> EntryTableModel::unsavedRows() const { return {}; }
void EntryTableModel::markSaved(int, const QString&) {}
void EntryTableModel::recalculate(int) {}
void EntryTableModel::ensureTrailingEmptyRow()
{
    if (m_rows.isEmpty() || !IsEmptyRow(m_rows.last())) {
        m_rows.append(EntryRow());
        m_checks.append(EntryCheck());
    }
}
