#pragma once

#include <QStatusBar>

// A status bar in simple mode: one line of text, the current message. The message gets the
// whole width but for a thin border, as on the desktop's own status bar (Qt's keeps room for a
// size grip and item frames), and is written in the window's font narrowed a little: the
// installed substitute for the window's bitmap sans face is wider than the original, and the
// longest hint must still fit on the line.
class TStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Where the message is written; its width is the room a hint has.
    QRect messageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
