#pragma once

#include "groups/RiskList.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The groups view's three tables as texts, made on the GUI thread (the regional settings are
// read there) from the library's result, and one read-only model that shows any of them.
struct TextTable
{
    QStringList captions;
    QList<QStringList> rows;
    int firstNumberColumn = 1; // the cells of these columns are centred
    int lastNumberColumn = 1 << 20;
};

// A paper's first table: a row per figure, a column per group, p in the last column.
TextTable FiguresTable(const GroupsResult& result);
// A row per test: what was compared and the test's line.
TextTable TestsTable(const GroupsResult& result);
// The risk list, worst first within each group; with `coder` codes stand for the names and the
// files are left out.
TextTable RiskTable(const GroupsResult& result, const RiskCoder& coder);

class TextTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(TextTable table);
    const TextTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TextTable m_table;
};
