#pragma once

#include "compare/Stages.h"

#include <QAbstractTableModel>

// The stages chosen for a comparison, in the order given: each one's label (editable; empty
// puts the default back) and its folders or files.
class StageListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { ColLabel, ColSources, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A stage of these paths under `label`, or under its default label when empty.
    void addStage(const QStringList& paths, const QString& label = {});
    void removeStage(int row);
    // Moves a stage one place up (-1) or down (+1); false at either end.
    bool moveStage(int row, int step);
    const QList<StageInput>& stages() const { return m_stages; }

private:
    QList<StageInput> m_stages;
};
