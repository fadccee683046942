#pragma once

#include <QWidget>

class QPainter;

// A plain container filling its area with the button-face colour, framed by a flat single
// line and, inside it, a raised bevel of BevelWidth pixels.
class TPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int BevelWidth READ bevelWidth WRITE setBevelWidth)
    Q_PROPERTY(bool SingleBorder READ singleBorder WRITE setSingleBorder)

public:
    explicit TPanel(QWidget* parent = nullptr);

    int bevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    bool singleBorder() const { return m_singleBorder; }
    void setSingleBorder(bool single);

    void paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_bevelWidth = 1;
    bool m_singleBorder = false;
};
