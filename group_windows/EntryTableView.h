#pragma once

#include <QTableView>

// The entry table's keyboard route, as in a spreadsheet: typing on a cell starts editing it with
// that character; Enter and Tab commit and go to the next editable cell, from a row's last one to
// the next row's first, a new row appearing after the last; Delete clears the cell; the sex cell
// takes М/Ж (m/f on a Latin keyboard). Cells the model does not let edit are passed over.
class EntryTableView : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;

    // The column whose typed character goes to the model as it is (the model takes М/Ж, m/f).
    void setSexColumn(int column) { m_sexColumn = column; }
    // Puts what the open editor holds into the model and closes it (before a save or a close).
    void commitOpenEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool isEditable(int row, int column) const;
    QModelIndex nextEditable(const QModelIndex& from);
    QModelIndex previousEditable(const QModelIndex& from) const;
    void moveTo(const QModelIndex& index);

    int m_sexColumn = -1;
};
