#pragma once

#include <QHash>
#include <QStyledItemDelegate>

// Cells cut at their end ("Иванова Мария Серг…"), so a name keeps its surname; a column may be
// cut elsewhere (a path in the middle: its first folder and the file's name stay). A cut cell's
// tooltip holds its whole text, before the model's own tooltip.
class ElidedTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setElideMode(int column, Qt::TextElideMode mode) { m_modes.insert(column, mode); }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QHash<int, Qt::TextElideMode> m_modes;
};
