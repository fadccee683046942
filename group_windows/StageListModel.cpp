#include "group_windows/StageListModel.h"

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
    const bool shown = role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole;
    if (!shown)
        return {};
    if (index.column() == ColLabel)
        return stage.label;
    return stage.paths.join(role == Qt::ToolTipRole ? QStringLiteral("\n") : QStringLiteral(", "));
}

bool StageListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != ColLabel || index.row() >= m_stages.size())
        return false;
    StageInput& stage = m_stages[index.row()];
    const QString label = value.toString().trimmed();
    stage.label = label.isEmpty() ? DefaultStageLabel(stage.paths) : label;
    emit dataChanged(index, index);
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
    m_stages.append({paths, label.trimmed().isEmpty() ? DefaultStageLabel(paths) : label.trimmed()});
    endInsertRows();
}

void StageListModel::removeStage(int row)
{
    if (row < 0 || row >= m_stages.size())
        return;
    beginRemoveRows({}, row, row);
    m_stages.removeAt(row);
    endRemoveRows();
}

bool StageListModel::moveStage(int row, int step)
{
    const int to = row + step;
    if (row < 0 || row >= m_stages.size() || to < 0 || to >= m_stages.size() || step == 0)
        return false;
    // beginMoveRows names the row the moved one goes before.
    beginMoveRows({}, row, row, {}, step > 0 ? to + 1 : to);
    m_stages.move(row, to);
    endMoveRows();
    return true;
}
