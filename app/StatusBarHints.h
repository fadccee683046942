#pragma once

#include <QObject>
#include <QString>

class QStatusBar;
class QWidget;

// The hint shown for `widget`: its own, or that of the nearest enclosing widget with one, up to
// and including `window`; empty when none has one. A widget's hint is its status tip.
QString HintFor(const QWidget* widget, const QWidget* window);

// Shows in the status bar the hint of whatever the mouse rests on in `window`, disabled
// controls included, and nothing where no hint applies. Pop-up tooltips never appear there.
class StatusBarHints : public QObject
{
    Q_OBJECT

public:
    StatusBarHints(QWidget* window, QStatusBar* statusBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(const QString& hint);

    QWidget* m_window;
    QStatusBar* m_statusBar;
};
