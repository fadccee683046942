#include "group_windows/StageListModel.h"

#include <QColor>

#include <algorithm>
#include <numeric>

int StageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_stages.size());
}

int StageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StageListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_stages.size())
        return {};
    const StageInput& stage = m_stages[index.row()];
    const QString& shown = m_arranged.stages[index.row()].label;
    // A label the list changed (a parent folder added, a repeat numbered) stands out.
    const bool changed = shown != (stage.labelGiven ? stage.label : DefaultStageLabel(stage.paths));
    if (index.column() == ColLabel) {
        switch (role) {
        case Qt::DisplayRole: return shown;
        case Qt::EditRole: return stage.labelGiven ? stage.label : shown;
        case Qt::BackgroundRole: return changed ? QVariant(QColor(0xff, 0xf4, 0xb0)) : QVariant();
        case Qt::ToolTipRole:
            return changed ? QStringLiteral("Такая метка уже есть у другого этапа: метка дополнена") : QVariant();
        default: return {};
        }
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return stage.paths.join(role == Qt::ToolTipRole ? QStringLiteral("\n") : QStringLiteral(", "));
    return {};
}

bool StageListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != ColLabel || index.row() >= m_stages.size())
        return false;
    StageInput& stage = m_stages[index.row()];
    stage.label = value.toString().trimmed();
    stage.labelGiven = !stage.label.isEmpty();
    arrange();
    return true;
}

Qt::ItemFlags StageListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == ColLabel ? flags | Qt::ItemIsEditable : flags;
}

QVariant StageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section == ColLabel ? QStringLiteral("Метка") : QStringLiteral("Папки и файлы");
}

void StageListModel::addStage(const QStringList& paths, const QString& label)
{
    beginInsertRows({}, int(m_stages.size()), int(m_stages.size()));
    m_stages.append({paths, label.trimmed(), !label.trimmed().isEmpty()});
    m_arranged.stages.append(m_stages.back());
    endInsertRows();
    arrange();
}

void StageListModel::removeStage(int row)
{
    if (row < 0 || row >= m_stages.size())
        return;
    beginRemoveRows({}, row, row);
    m_stages.removeAt(row);
    m_arranged.stages.removeAt(row);
    endRemoveRows();
    arrange();
}

bool StageListModel::moveStage(int row, int step)
{
    const int to = row + step;
    if (row < 0 || row >= m_stages.size() || to < 0 || to >= m_stages.size() || step == 0 || orderedByDate())
        return false;
    // beginMoveRows names the row the moved one goes before.
    beginMoveRows({}, row, row, {}, step > 0 ? to + 1 : to);
    m_stages.move(row, to);
    m_arranged.stages.move(row, to);
    endMoveRows();
    arrange();
    return true;
}

QString StageListModel::orderText() const
{
    if (!m_arranged.order.byDate && !m_arranged.order.datesDisagree)
        return {};
    QStringList labels;
    for (const StageInput& stage : m_arranged.stages)
        labels << stage.label;
    return StageOrderText(m_arranged.order, labels);
}

// The list keeps the order the comparison will use: by date when every stage has one.
void StageListModel::arrange()
{
    m_arranged = ArrangeStages(m_stages);
    if (!std::is_sorted(m_arranged.given.begin(), m_arranged.given.end())) {
        emit layoutAboutToBeChanged();
        QList<StageInput> given;
        for (qsizetype i : m_arranged.given)
            given.append(m_stages[i]);
        m_stages = given;
        std::iota(m_arranged.given.begin(), m_arranged.given.end(), qsizetype(0));
        emit layoutChanged();
    }
    if (!m_stages.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}
