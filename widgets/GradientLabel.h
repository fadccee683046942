#pragma once

#include "core/Colors.h"
#include "widgets/AdvProgressBar.h"
#include "widgets/LabelText.h"

#include <QImage>
#include <QLabel>

// A text label whose background may be a stepped colour gradient from Color to ColorTo,
// or a thin gradient line (bottom, centre or top). The caption is QLabel's text; the
// label's whole painting is its own, through an off-screen image of its size at the surface's
// device pixel ratio.
// Horizontal alignment and the framework Layout (top, centre, bottom) come from QLabel's
// alignment; word wrap from QLabel's wordWrap.
class TGradientLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(quint32 ColorTo READ colorTo WRITE setColorTo)
    Q_PROPERTY(TEllipsType EllipsType READ ellipsType WRITE setEllipsType)
    Q_PROPERTY(TGradientType GradientType READ gradientType WRITE setGradientType)
    Q_PROPERTY(int Indent READ indent WRITE setIndent)
    Q_PROPERTY(int LineWidth READ lineWidth WRITE setLineWidth)
    Q_PROPERTY(TAdvProgressBar::TGradientOrientation Orientation READ orientation WRITE setOrientation)
    Q_PROPERTY(bool TransparentText READ transparentText WRITE setTransparentText)
    Q_PROPERTY(TVAlignment VAlignment READ vAlignment WRITE setVAlignment)
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(quint32 FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(bool Transparent READ transparent WRITE setTransparent)
    Q_PROPERTY(bool ShowAccelChar READ showAccelChar WRITE setShowAccelChar)

public:
    enum TEllipsType { etNone, etEndEllips, etPathEllips };
    Q_ENUM(TEllipsType)
    enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };
    Q_ENUM(TGradientType)
    enum TVAlignment { vaTop, vaCenter, vaBottom };
    Q_ENUM(TVAlignment)
    // The orientation values under this class's name too, for window layouts.
    static constexpr TGradientOrientation goHorizontal = TAdvProgressBar::goHorizontal;
    static constexpr TGradientOrientation goVertical = TAdvProgressBar::goVertical;

    // Transparent is decided here, once: true while the desktop's visual styles are active.
    explicit TGradientLabel(QWidget* parent = nullptr);

    TColor colorTo() const { return m_colorTo; }
    TEllipsType ellipsType() const { return m_ellipsType; }
    TGradientType gradientType() const { return m_gradientType; }
    int indent() const { return m_indent; }
    int lineWidth() const { return m_lineWidth; }
    TGradientOrientation orientation() const { return m_orientation; }
    bool transparentText() const { return m_transparentText; }
    TVAlignment vAlignment() const { return m_vAlignment; }
    TColor color() const { return m_color; }
    TColor fontColor() const { return m_fontColor; }
    bool transparent() const { return m_transparent; }
    bool showAccelChar() const { return m_showAccelChar; }

    void setColorTo(TColor value);
    void setEllipsType(TEllipsType value);
    void setGradientType(TGradientType value);
    void setIndent(int value);
    // Stored only: the line types are always two pixels thick.
    void setLineWidth(int value);
    void setOrientation(TGradientOrientation value);
    void setTransparentText(bool value);
    void setVAlignment(TVAlignment value);
    void setColor(TColor value);
    void setFontColor(TColor value);
    void setTransparent(bool value);
    void setShowAccelChar(bool value);

    // The caption's text-drawing flags for the current settings.
    unsigned drawTextFlags() const;
    // Gradient bands of the background: width div 4.
    int bandCount() const { return width() / 4; }

    void paint(QPainter& painter) const;
    // The label on a transparent image of its size at `ratio` device pixels per logical pixel
    // (what a transparent label leaves unpainted stays transparent).
    QImage render(qreal ratio = 1) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isLineType() const;
    QRect lineStrip() const;
    QRect textRect() const;
    void paintBackground(QPainter& painter) const;
    void paintLine(QPainter& painter) const;
    void paintCaption(QPainter& painter) const;
    void paintTurnedCaption(QPainter& painter, const QRect& area) const;
    void paintLines(QPainter& painter, const TextLayoutResult& layout, QPoint offset, TColor color) const;
    template <typename T>
    void store(T& field, T value);

    TColor m_colorTo = clWhite;
    TEllipsType m_ellipsType = etNone;
    TGradientType m_gradientType = gtFullHorizontal;
    int m_indent = 0;
    int m_lineWidth = 2;
    TGradientOrientation m_orientation = TAdvProgressBar::goHorizontal;
    bool m_transparentText = false;
    TVAlignment m_vAlignment = vaTop;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    bool m_transparent;
    bool m_showAccelChar = true;
};
