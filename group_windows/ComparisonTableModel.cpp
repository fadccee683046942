#include "group_windows/ComparisonTableModel.h"

#include "reports/HeaderCaption.h"

#include "compare/PersonCourse.h"
#include "summary/CountsChart.h"

#include <QBrush>
#include <QFont>

#include <limits>

namespace {

using PersonColumn = ComparisonTable::PersonColumn;
using StageColumn = ComparisonTable::StageColumn;

const QColor kMissingTint(0xe4, 0xe4, 0xe4);
const QColor kAmbiguousTint(0xff, 0xe0, 0xa0);
const QColor kNotAssessedTint(0xff, 0xe0, 0xe0);
const QColor kWorseTint(0xff, 0xc8, 0xc8);
const QColor kMarksTint(0xff, 0xf4, 0xb0);

} // namespace

ComparisonTableModel::~ComparisonTableModel() = default;

void ComparisonTableModel::setComparison(const SharedComparison& comparison, bool anonymised)
{
    beginResetModel();
    m_table.reset();
    m_comparison = comparison;
    m_columns.clear();
    m_cells.clear();
    m_captions.clear();
    if (m_comparison) {
        m_table = std::make_unique<ComparisonTable>(*m_comparison, anonymised);
        m_captions = m_table->captions();
        m_columns.resize(std::size_t(m_captions.size()));
        for (int c = 0; c < int(PersonColumn::Count); ++c)
            m_columns[std::size_t(m_table->column(PersonColumn(c)))].person = PersonColumn(c);
        for (std::size_t s = 0; s < stageCount(); ++s) {
            for (int c = 0; c < int(StageColumn::Count); ++c) {
                const qsizetype at = m_table->column(s, StageColumn(c));
                if (at >= 0)
                    m_columns[std::size_t(at)] = {std::nullopt, StageColumn(c), s};
            }
        }
        m_cells.reserve(std::size_t(m_table->rowCount()));
        for (qsizetype r = 0; r < m_table->rowCount(); ++r)
            m_cells.push_back(m_table->cells(r));
    }
    endResetModel();
}

int ComparisonTableModel::column(PersonColumn column) const
{
    return m_table ? int(m_table->column(column)) : -1;
}

int ComparisonTableModel::column(std::size_t stage, StageColumn column) const
{
    return m_table ? int(m_table->column(stage, column)) : -1;
}

int ComparisonTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_cells.size());
}

int ComparisonTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant ComparisonTableModel::sortKey(int row, const ColumnRole& role, const QString& shown) const
{
    const PersonCourse& course = m_table->course(row);
    if (role.person == PersonColumn::Change) {
        // Ascending puts the largest rise of the index first and those without a change last.
        return course.changeHundredths ? qlonglong(-*course.changeHundredths)
                                       : qlonglong(std::numeric_limits<int>::max());
    }
    if (role.person == PersonColumn::Direction) {
        if (!course.direction)
            return 3;
        return *course.direction == LevelDirection::Worse ? 0 : *course.direction == LevelDirection::Same ? 1 : 2;
    }
    if (role.stageColumn == StageColumn::Index) {
        if (const std::optional<int> hundredths = ShownHundredths(shown))
            return qlonglong(*hundredths);
        return qlonglong(std::numeric_limits<int>::max());
    }
    if (role.stageColumn == StageColumn::Kerdo || role.stageColumn == StageColumn::Level) {
        const SummaryRow* file = m_comparison->singleRow(m_table->person(row), role.stage);
        if (!file || file->outcome != RowOutcome::Assessed)
            return qlonglong(std::numeric_limits<int>::max());
        return qlonglong(role.stageColumn == StageColumn::Kerdo ? file->result.KerdoShown : int(file->result.Level));
    }
    return shown;
}

QVariant ComparisonTableModel::background(int row, const ColumnRole& role) const
{
    const ComparedPerson& person = m_table->person(row);
    if (role.person == PersonColumn::Marks)
        return m_cells[std::size_t(row)].value(int(PersonColumn::Marks)).isEmpty() ? QVariant() : QBrush(kMarksTint);
    if (role.person == PersonColumn::Person || role.person == PersonColumn::Change
        || role.person == PersonColumn::Direction) {
        const bool worse = m_table->course(row).direction == LevelDirection::Worse;
        return worse ? QBrush(kWorseTint) : QVariant();
    }
    if (!role.stageColumn)
        return {};
    const StagePresence& presence = person.stages[role.stage];
    const SummaryRow* file = m_comparison->singleRow(person, role.stage);
    if (role.stageColumn == StageColumn::Level && file && file->outcome == RowOutcome::Assessed)
        return QBrush(LevelQColor(file->result.Level));
    if (role.stageColumn != StageColumn::State)
        return {};
    if (presence.kind == Presence::Missing)
        return QBrush(kMissingTint);
    if (presence.kind == Presence::Ambiguous)
        return QBrush(kAmbiguousTint);
    return file && file->outcome != RowOutcome::Assessed ? QBrush(kNotAssessedTint) : QVariant();
}

QVariant ComparisonTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const QString& shown = m_cells[std::size_t(index.row())][index.column()];
    const ColumnRole& column = m_columns[std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return shown;
    case Qt::ToolTipRole:
        return shown.isEmpty() ? QVariant() : QVariant(shown);
    case SortRole:
        return sortKey(index.row(), column, shown);
    case Qt::BackgroundRole:
        return background(index.row(), column);
    case Qt::ForegroundRole:
        if (column.stageColumn == StageColumn::Level) {
            const SummaryRow* file = m_comparison->singleRow(m_table->person(index.row()), column.stage);
            if (file && file->outcome == RowOutcome::Assessed)
                return QBrush(TextColorOn(LevelQColor(file->result.Level)));
        }
        return {};
    case Qt::FontRole:
        if (column.person == PersonColumn::Direction && m_table->course(index.row()).direction == LevelDirection::Worse) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant ComparisonTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_captions.size()) {
        // The stage's label and each word on a line of its own keep the columns narrow.
        return WrapCaption(m_captions[section], 1);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
