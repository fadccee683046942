#include "group_windows/EntryTableView.h"

#include <QApplication>
#include <QKeyEvent>

void EntryTableView::commitOpenEditor()
{
    if (state() != EditingState)
        return;
    QWidget* editor = QApplication::focusWidget();
    if (editor == nullptr || !viewport()->isAncestorOf(editor))
        return;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool EntryTableView::isEditable(int row, int column) const
{
    return model()->flags(model()->index(row, column)).testFlag(Qt::ItemIsEditable);
}

QModelIndex EntryTableView::nextEditable(const QModelIndex& from)
{
    const int columns = model()->columnCount();
    int row = from.isValid() ? from.row() : 0;
    int column = from.isValid() ? from.column() + 1 : 0;
    for (;;) {
        for (; column < columns; ++column) {
            if (isEditable(row, column))
                return model()->index(row, column);
        }
        ++row;
        column = 0;
        if (row >= model()->rowCount() && !model()->insertRows(model()->rowCount(), 1))
            return {};
    }
}

QModelIndex EntryTableView::previousEditable(const QModelIndex& from) const
{
    const int columns = model()->columnCount();
    for (int row = from.row(), column = from.column() - 1; row >= 0; --row, column = columns - 1) {
        for (; column >= 0; --column) {
            if (isEditable(row, column))
                return model()->index(row, column);
        }
    }
    return from;
}

QModelIndex EntryTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    switch (cursorAction) {
    case MoveNext:
        return current.isValid() ? nextEditable(current) : current;
    case MovePrevious:
        return current.isValid() ? previousEditable(current) : current;
    default:
        return QTableView::moveCursor(cursorAction, modifiers);
    }
}

void EntryTableView::moveTo(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

void EntryTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter moves on as Tab does, but the next cell waits for typing rather than opening its editor.
    const bool forward = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::SubmitModelCache;
    const bool backward = hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, forward || backward ? QAbstractItemDelegate::NoHint : hint);
    if (forward)
        moveTo(nextEditable(currentIndex()));
    else if (backward)
        moveTo(previousEditable(currentIndex()));
    setFocus();
}

void EntryTableView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || state() == EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    const bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            moveTo((event->modifiers() & Qt::ShiftModifier) ? previousEditable(current) : nextEditable(current));
            event->accept();
            return;
        }
        break;
    case Qt::Key_Backtab:
        moveTo(previousEditable(current));
        event->accept();
        return;
    case Qt::Key_Delete:
        if (isEditable(current.row(), current.column()))
            model()->setData(current, QString(), Qt::EditRole);
        event->accept();
        return;
    default:
        break;
    }
    if (current.column() == m_sexColumn && plain && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        if (isEditable(current.row(), current.column()))
            model()->setData(current, event->text(), Qt::EditRole);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
