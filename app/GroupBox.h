#pragma once

#include <QGroupBox>

class QPainter;

// A group box with a flat single-line frame whose top line runs through the middle of the
// caption; the caption sits 8 pixels in from the left on the window's background.
class TGroupBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TGroupBox(QWidget* parent = nullptr);

    void paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
