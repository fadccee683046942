#pragma once

#include "compare/Stages.h"

#include <QAbstractTableModel>

// The stages chosen for a comparison in the order the comparison takes them: the given order,
// or the dates' when every stage has one (then reordering does nothing, and orderText says so).
// Each shows the label the comparison uses (editable; empty puts the default back; a repeated
// one marked with its number) and its folders or files.
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
    // Moves a stage one place up (-1) or down (+1); false at either end, or when the dates order them.
    bool moveStage(int row, int step);
    // The stages as given (labels as typed; ArrangeStages labels and orders them).
    const QList<StageInput>& stages() const { return m_stages; }
    bool orderedByDate() const { return m_arranged.order.byDate; }
    // What the list's order is, for the window: empty while it is the order given and no date disagrees.
    QString orderText() const;

private:
    void arrange();

    QList<StageInput> m_stages;
    ArrangedStages m_arranged; // row by row as m_stages
};
