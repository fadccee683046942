#pragma once

#include "entry/EntryRow.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

// The screening-day table: the entry columns a nurse types, then what the main window would show
// for them. There is always one empty row at the end; typing into it adds the next.
class EntryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        ColName,
        ColSex,
        ColSystolic,
        ColDiastolic,
        ColPulse,
        ColWeight,
        ColHeight,
        ColAge,
        ColIndex,
        ColLevel,
        ColExpectedSystolic,
        ColExpectedDiastolic,
        ColOptimalWeight,
        ColKerdo,
        ColBalance,
        ColumnCount
    };
    static constexpr int FirstResultColumn = ColIndex;

    // The problem text of an unassessable row, for a tooltip or a status line; on the name cell,
    // first why a record file cannot hold the name.
    static constexpr int ProblemRole = Qt::UserRole;

    // `separators` are the regional settings the main window's fields would use.
    explicit EntryTableModel(Separators separators, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores the text as the field would show it after assignment, recalculates the row at once.
    // An empty value (Delete) clears the cell. Пол refuses anything but М/Ж/m/f.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Removes rows (never the empty one at the end, which comes back).
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // The entry field of an entry column; none for Пол and the result columns.
    static std::optional<EntryField> FieldOfColumn(int column);
    static int ColumnOfField(EntryField field);

    // Replaces every row (an opened folder, a roster or a journal); the rows keep their dirty flags.
    void setRows(const EntryRows& rows);
    // The rows without the empty one at the end.
    EntryRows rows() const;
    const EntryRow& row(int index) const;
    const RowCheck& check(int index) const;

    bool hasUnsavedRows() const;
    std::vector<int> unsavedRows() const;
    // After a save: the row is in `filePath` and no longer dirty.
    void markSaved(int row, const QString& filePath);

signals:
    // A batch of edits is done: the journal writes the unsaved rows.
    void unsavedRowsChanged();

private:
    void recalculate(int row);
    void ensureTrailingEmptyRow();

    Separators m_separators;
    EntryRows m_rows;
    QList<RowCheck> m_checks;
};
