#include "group_windows/ElidedTextDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

void ElidedTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = m_modes.value(index.column(), Qt::ElideRight);
}

bool ElidedTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    const QWidget* widget = shown.widget;
    const QStyle* style = widget != nullptr ? widget->style() : view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &shown, widget) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &shown, widget);
    if (shown.fontMetrics.horizontalAdvance(shown.text) <= text.width() - 2 * margin)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QString tip = shown.text;
    if (const QString own = index.data(Qt::ToolTipRole).toString(); !own.isEmpty() && own != tip)
        tip += u'\n' + own;
    QToolTip::showText(event->globalPos(), tip, view);
    return true;
}
