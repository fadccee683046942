#pragma once

#include "core/EntryFields.h"

#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class TAdvEdit;

// Gives an edit field the rules of an entry field, exactly as the main window's field has them.
void ConfigureEntryEditor(TAdvEdit& editor, EntryField field);

// Edits the entry table's cells with the main window's edit field, configured per column from the
// entry field table; columns that hold no entry field get the default editor.
class EntryCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using FieldOfColumn = std::function<std::optional<EntryField>(int column)>;
    EntryCellDelegate(FieldOfColumn fieldOfColumn, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    FieldOfColumn m_fieldOfColumn;
};
