#pragma once

#include <QWidget>

class QPainter;

// An etched line along one edge of its rectangle: a shadow line and a highlight line beside it,
// dividing a window into parts.
class TBevel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TBevelShape Shape READ shape WRITE setShape)
    Q_PROPERTY(TBevelStyle Style READ style WRITE setStyle)

public:
    enum TBevelShape { bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
    Q_ENUM(TBevelShape)
    enum TBevelStyle { bsLowered, bsRaised };
    Q_ENUM(TBevelStyle)

    explicit TBevel(QWidget* parent = nullptr);

    TBevelShape shape() const { return m_shape; }
    void setShape(TBevelShape shape);
    TBevelStyle style() const { return m_style; }
    void setStyle(TBevelStyle style);

    void paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevelShape m_shape = bsTopLine;
    TBevelStyle m_style = bsLowered;
};
