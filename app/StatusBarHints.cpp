#include "app/StatusBarHints.h"

#include <QApplication>
#include <QEvent>
#include <QStatusBar>
#include <QWidget>

QString HintFor(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (!w->statusTip().isEmpty())
            return w->statusTip();
        if (w == window)
            break;
    }
    return {};
}

StatusBarHints::StatusBarHints(QWidget* window, QStatusBar* statusBar)
    : QObject(window), m_window(window), m_statusBar(statusBar)
{
    // Watching the application sees mouse moves over controls that do not track the mouse and
    // over disabled ones, which never get to handle them themselves.
    qApp->installEventFilter(this);
}

bool StatusBarHints::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_window)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
    case QEvent::StatusTip:
        return true;
    case QEvent::Enter:
    case QEvent::MouseMove:
        show(HintFor(widget, m_window));
        break;
    case QEvent::Leave:
        // Leaving a control puts the mouse over its parent, unless it left the window.
        show(widget == m_window ? QString() : HintFor(widget->parentWidget(), m_window));
        break;
    default:
        break;
    }
    return false;
}

void StatusBarHints::show(const QString& hint)
{
    if (hint.isEmpty())
        m_statusBar->clearMessage();
    else if (m_statusBar->currentMessage() != hint)
        m_statusBar->showMessage(hint);
}
