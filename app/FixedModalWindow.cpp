#include "app/FixedModalWindow.h"

#include "app/WindowPlacement.h"

#include <QKeyEvent>

FixedModalWindow::FixedModalWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
}

void FixedModalWindow::showEvent(QShowEvent* event)
{
    if (!m_placed && parentWidget() != nullptr) {
        move(CentredPlacement(parentWidget()->frameGeometry(), size()));
        m_placed = true;
    }
    QDialog::showEvent(event);
    if (m_initialFocus != nullptr)
        m_initialFocus->setFocus(Qt::ActiveWindowFocusReason);
}

void FixedModalWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape never closes the window, and Enter closes it only through the focused OK button,
    // which takes the key itself: Enter reaching the window comes from another control.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
