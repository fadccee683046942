#pragma once

#include <QDialog>

// A frameless modal window of fixed size. The first showing centres it over its parent window;
// every later showing keeps that place. Escape does not close it: only its OK button does,
// clicked or pressed with Enter or Space while it has the focus.
class FixedModalWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FixedModalWindow(QWidget* owner);

protected:
    // The control that has the focus each time the window opens.
    void setInitialFocus(QWidget* control) { m_initialFocus = control; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_placed = false;
    QWidget* m_initialFocus = nullptr;
};
