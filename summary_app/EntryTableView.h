#pragma once

#include <QTableView>

#include <optional>

// The entry table's keyboard route, as in a spreadsheet: typing on a cell starts editing it with
// that character; Enter and Tab commit and go to the next editable cell, from a row's last one to
// the next row's first, a new row appearing after the last; Delete clears the cell; the sex cell
// takes М/Ж (m/f on a Latin keyboard). Cells the model does not let edit are passed over.
class EntryTableView : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;

    void setSexColumn(int column) { m_sexColumn = column; }

    // The sex a typed character stands for ("М" or "Ж"), if any.
    static std::optional<QString> SexOfKey(const QString& typed);

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
