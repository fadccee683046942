#include "entry/EntryTableModel.h"

#include "entry/StageSaver.h"
#include "summary/CountsChart.h"

#include <QBrush>

#include <algorithm>
#include <utility>

namespace {

// The entry columns and the field each one types, by name.
constexpr std::pair<EntryTableModel::Column, EntryField> kFieldColumns[] = {
    {EntryTableModel::ColName, EntryField::FullName}, {EntryTableModel::ColSystolic, EntryField::Systolic},
    {EntryTableModel::ColDiastolic, EntryField::Diastolic}, {EntryTableModel::ColPulse, EntryField::Pulse},
    {EntryTableModel::ColWeight, EntryField::Weight},     {EntryTableModel::ColHeight, EntryField::Height},
    {EntryTableModel::ColAge, EntryField::Age},
};
static_assert(std::size(kFieldColumns) == kEntryFieldCount);

const QColor kProblemBackground(0xff, 0xe0, 0xe0);

QString ResultCaption(int column)
{
    switch (column) {
    case EntryTableModel::ColSex: return QStringLiteral("Пол");
    case EntryTableModel::ColIndex: return QStringLiteral("ИФИ");
    case EntryTableModel::ColLevel: return QStringLiteral("Уровень адаптации");
    case EntryTableModel::ColExpectedSystolic: return QStringLiteral("Систолическое");
    case EntryTableModel::ColExpectedDiastolic: return QStringLiteral("Диастолическое");
    case EntryTableModel::ColOptimalWeight: return QStringLiteral("Оптимальный вес");
    case EntryTableModel::ColKerdo: return QStringLiteral("Индекс Кердо");
    case EntryTableModel::ColBalance: return QStringLiteral("Вегетативный баланс");
    default: return {};
    }
}

QString ResultText(int column, const AssessmentResult& r, Separators separators)
{
    switch (column) {
    case EntryTableModel::ColIndex: return AdaptationIndexText(r.AdaptationIndex, separators);
    case EntryTableModel::ColLevel: return LevelText(r.Level);
    case EntryTableModel::ColExpectedSystolic: return QString::number(r.ExpectedSystolic);
    case EntryTableModel::ColExpectedDiastolic: return QString::number(r.ExpectedDiastolic);
    case EntryTableModel::ColOptimalWeight: return QString::number(r.OptimalWeight);
    case EntryTableModel::ColKerdo: return QString::number(r.KerdoShown);
    case EntryTableModel::ColBalance: return BalanceText(r.Balance);
    default: return {};
    }
}

// True when the field's value keeps the row from its results (not merely not typed yet).
bool IsOffending(const RowCheck& check, EntryField field)
{
    if (std::find(check.unconverted.begin(), check.unconverted.end(), field) != check.unconverted.end())
        return true;
    for (std::size_t i = 0; i < kAcceptanceRuleCount; ++i) {
        if (!check.broken.test(i))
            continue;
        const std::vector<EntryField> fields = FieldsOfRule(static_cast<AcceptanceRule>(i));
        if (std::find(fields.begin(), fields.end(), field) != fields.end())
            return true;
    }
    return false;
}

} // namespace

EntryTableModel::EntryTableModel(Separators separators, QObject* parent)
    : QAbstractTableModel(parent), m_separators(separators)
{
    ensureTrailingEmptyRow();
}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::optional<EntryField> EntryTableModel::FieldOfColumn(int column)
{
    for (const auto& [col, field] : kFieldColumns) {
        if (col == column)
            return field;
    }
    return std::nullopt;
}

int EntryTableModel::ColumnOfField(EntryField field)
{
    for (const auto& [col, f] : kFieldColumns) {
        if (f == field)
            return col;
    }
    return ColName;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= ColumnCount)
        return {};
    const EntryRow& row = m_rows[index.row()];
    const RowCheck& check = m_checks[index.row()];
    const int column = index.column();
    const std::optional<EntryField> field = FieldOfColumn(column);
    const bool problemShown = !check.result && !IsEmptyRow(row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (field)
            return row.text(*field);
        if (column == ColSex)
            return row.sex ? SexText(*row.sex) : QString();
        if (check.result)
            return ResultText(column, *check.result, m_separators);
        // An unassessed row says why in its first results cell.
        return problemShown && column == FirstResultColumn && role == Qt::DisplayRole ? CheckProblemText(check)
                                                                                      : QString();
    case ProblemRole:
    case Qt::ToolTipRole:
        // A name no record file can hold is shown before any save is tried.
        if (column == ColName) {
            if (const QString refused = UnstorableNameMessage(row.text(EntryField::FullName)); !refused.isEmpty())
                return refused;
        }
        return problemShown ? QVariant(CheckProblemText(check)) : QVariant();
    case Qt::BackgroundRole:
        if (column == ColName && !UnstorableNameMessage(row.text(EntryField::FullName)).isEmpty())
            return QBrush(kProblemBackground);
        if (column == ColLevel && check.result)
            return QBrush(LevelQColor(check.result->Level));
        if (problemShown && ((field && IsOffending(check, *field)) || column == FirstResultColumn))
            return QBrush(kProblemBackground);
        return {};
    case Qt::ForegroundRole:
        if (column == ColLevel && check.result)
            return QBrush(TextColorOn(LevelQColor(check.result->Level)));
        return {};
    case Qt::TextAlignmentRole:
        if (column == ColName || column == ColLevel || column == ColBalance || (column == ColIndex && !check.result))
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        if (column == ColSex)
            return QVariant(Qt::AlignCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= ColumnCount)
        return {};
    if (const std::optional<EntryField> field = FieldOfColumn(section))
        return EntryFieldCaption(*field);
    return ResultCaption(section);
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < FirstResultColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_rows.size())
        return false;
    EntryRow& row = m_rows[index.row()];
    const QString typed = value.toString();
    if (index.column() == ColSex) {
        const std::optional<Sex> sex = typed.trimmed().isEmpty() ? std::nullopt : SexFromTyped(typed);
        if (!typed.trimmed().isEmpty() && !sex)
            return false;
        if (sex == row.sex)
            return true;
        row.sex = sex;
    } else if (const std::optional<EntryField> field = FieldOfColumn(index.column())) {
        // Delete clears; anything else is shown as the main window's field shows it once assigned.
        const QString shown = typed.isEmpty() ? QString() : EntryFieldText(*field, typed, m_separators);
        if (shown == row.text(*field))
            return true;
        row.text(*field) = shown;
    } else {
        return false;
    }
    row.dirty = true;
    recalculate(index.row());
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    ensureTrailingEmptyRow();
    emit unsavedRowsChanged();
    return true;
}

bool EntryTableModel::removeRows(int first, int count, const QModelIndex& parent)
{
    if (parent.isValid() || first < 0 || count <= 0 || first + count > m_rows.size())
        return false;
    beginRemoveRows(parent, first, first + count - 1);
    m_rows.remove(first, count);
    m_checks.remove(first, count);
    endRemoveRows();
    ensureTrailingEmptyRow();
    emit unsavedRowsChanged();
    return true;
}

void EntryTableModel::setRows(const EntryRows& rows)
{
    beginResetModel();
    m_rows = rows;
    m_checks.clear();
    m_checks.reserve(m_rows.size() + 1);
    for (const EntryRow& row : std::as_const(m_rows))
        m_checks.append(CheckRow(row));
    if (m_rows.isEmpty() || !IsEmptyRow(m_rows.last())) {
        m_rows.append(EntryRow());
        m_checks.append(RowCheck());
    }
    endResetModel();
}

EntryRows EntryTableModel::rows() const
{
    return m_rows.first(m_rows.size() - 1);
}

const EntryRow& EntryTableModel::row(int index) const
{
    return m_rows[index];
}

const RowCheck& EntryTableModel::check(int index) const
{
    return m_checks[index];
}

bool EntryTableModel::hasUnsavedRows() const
{
    return std::any_of(m_rows.begin(), m_rows.end(), IsUnsaved);
}

std::vector<int> EntryTableModel::unsavedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (IsUnsaved(m_rows[i]))
            rows.push_back(i);
    }
    return rows;
}

void EntryTableModel::markSaved(int row, const QString& filePath)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].filePath = filePath;
    m_rows[row].dirty = false;
    emit unsavedRowsChanged();
}

void EntryTableModel::recalculate(int row)
{
    m_checks[row] = CheckRow(m_rows[row]);
}

void EntryTableModel::ensureTrailingEmptyRow()
{
    if (!m_rows.isEmpty() && IsEmptyRow(m_rows.last()))
        return;
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(EntryRow());
    m_checks.append(RowCheck());
    endInsertRows();
}
