#include "group_windows/EntryCellDelegate.h"

#include "widgets/AdvEdit.h"

namespace {

// The main window's focus colour, so the cell being typed looks like the field being typed there.
constexpr TColor kFocusColor = 16244940;

} // namespace

void ConfigureEntryEditor(TAdvEdit& editor, EntryField field)
{
    const EntryFieldDefinition& definition = DefinitionOf(field);
    const EditRules rules = EntryFieldRules(field);
    editor.setEditType(definition.type);
    editor.setPrecision(definition.precision);
    editor.setMaxLength(definition.maxLength);
    editor.setSigned(rules.isSigned);
    editor.setCanUndo(rules.canUndo);
    editor.setFocusColor(kFocusColor);
    editor.setAutoThousandSeparator(false);
}

EntryCellDelegate::EntryCellDelegate(FieldOfColumn fieldOfColumn, QObject* parent)
    : QStyledItemDelegate(parent), m_fieldOfColumn(std::move(fieldOfColumn))
{
}

QWidget* EntryCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    const std::optional<EntryField> field = m_fieldOfColumn(index.column());
    if (!field)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* editor = new TAdvEdit(parent);
    ConfigureEntryEditor(*editor, *field);
    editor->setFrame(false);
    return editor;
}

void EntryCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* edit = qobject_cast<TAdvEdit*>(editor)) {
        edit->setText(index.data(Qt::EditRole).toString());
        edit->selectAll();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void EntryCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* edit = qobject_cast<TAdvEdit*>(editor)) {
        model->setData(index, edit->text(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
