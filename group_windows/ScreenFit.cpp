#include "group_windows/ScreenFit.h"

#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>

void FitToScreen(QMainWindow& window)
{
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("contentScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus); // the controls inside take the focus, not the frame
    scroll->setWidget(window.takeCentralWidget());
    window.setCentralWidget(scroll);

    if (const QScreen* screen = window.screen()) {
        // Room for the frame and title the window manager adds.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        window.resize(window.size().boundedTo(room));
    }
}
