#pragma once

#include "core/Colors.h"
#include "widgets/GradientBands.h"
#include "widgets/ProgressBarGeometry.h"

#include <QImage>
#include <QWidget>

// A bar showing an integer position (0 empty, 100 full, not clamped) whose fill colours
// depend on the position: four colour pairs chosen by two thresholds. It takes no focus
// and no keyboard input. Painting goes through an off-screen image of the control's size at the
// surface's device pixel ratio.
class TAdvProgressBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(quint32 Level0Color READ level0Color WRITE setLevel0Color)
    Q_PROPERTY(quint32 Level0ColorTo READ level0ColorTo WRITE setLevel0ColorTo)
    Q_PROPERTY(quint32 Level1Color READ level1Color WRITE setLevel1Color)
    Q_PROPERTY(quint32 Level1ColorTo READ level1ColorTo WRITE setLevel1ColorTo)
    Q_PROPERTY(quint32 Level2Color READ level2Color WRITE setLevel2Color)
    Q_PROPERTY(quint32 Level2ColorTo READ level2ColorTo WRITE setLevel2ColorTo)
    Q_PROPERTY(quint32 Level3Color READ level3Color WRITE setLevel3Color)
    Q_PROPERTY(quint32 Level3ColorTo READ level3ColorTo WRITE setLevel3ColorTo)
    Q_PROPERTY(int Level1Perc READ level1Perc WRITE setLevel1Perc)
    Q_PROPERTY(int Level2Perc READ level2Perc WRITE setLevel2Perc)
    Q_PROPERTY(quint32 BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool ShowBorder READ showBorder WRITE setShowBorder)
    Q_PROPERTY(bool Stacked READ stacked WRITE setStacked)
    Q_PROPERTY(bool ShowPercentage READ showPercentage WRITE setShowPercentage)
    Q_PROPERTY(quint32 FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(bool CompletionSmooth READ completionSmooth WRITE setCompletionSmooth)
    Q_PROPERTY(bool ShowGradient READ showGradient WRITE setShowGradient)
    Q_PROPERTY(int Steps READ steps WRITE setSteps)
    Q_PROPERTY(int Position READ position WRITE setPosition)
    Q_PROPERTY(quint32 BackgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(TGradientOrientation Orientation READ orientation WRITE setOrientation)

public:
    enum TGradientOrientation { goHorizontal, goVertical };
    Q_ENUM(TGradientOrientation)

    explicit TAdvProgressBar(QWidget* parent = nullptr);

    TColor level0Color() const { return m_scheme.pairs[0].color; }
    TColor level0ColorTo() const { return m_scheme.pairs[0].colorTo; }
    TColor level1Color() const { return m_scheme.pairs[1].color; }
    TColor level1ColorTo() const { return m_scheme.pairs[1].colorTo; }
    TColor level2Color() const { return m_scheme.pairs[2].color; }
    TColor level2ColorTo() const { return m_scheme.pairs[2].colorTo; }
    TColor level3Color() const { return m_scheme.pairs[3].color; }
    TColor level3ColorTo() const { return m_scheme.pairs[3].colorTo; }
    int level1Perc() const { return m_scheme.level1Perc; }
    int level2Perc() const { return m_scheme.level2Perc; }
    TColor borderColor() const { return m_borderColor; }
    bool showBorder() const { return m_showBorder; }
    bool stacked() const { return m_stacked; }
    bool showPercentage() const { return m_showPercentage; }
    TColor fontColor() const { return m_fontColor; }
    bool completionSmooth() const { return m_completionSmooth; }
    bool showGradient() const { return m_showGradient; }
    int steps() const { return m_steps; }
    int position() const { return m_position; }
    TColor backgroundColor() const { return m_backgroundColor; }
    TGradientOrientation orientation() const { return m_orientation; }

    void setLevel0Color(TColor value);
    void setLevel0ColorTo(TColor value);
    void setLevel1Color(TColor value);
    void setLevel1ColorTo(TColor value);
    void setLevel2Color(TColor value);
    void setLevel2ColorTo(TColor value);
    void setLevel3Color(TColor value);
    void setLevel3ColorTo(TColor value);
    void setLevel1Perc(int value);
    void setLevel2Perc(int value);
    void setBorderColor(TColor value);
    void setShowBorder(bool value);
    void setStacked(bool value);
    void setShowPercentage(bool value);
    void setFontColor(TColor value);
    void setCompletionSmooth(bool value);
    void setShowGradient(bool value);
    void setSteps(int value);
    // Paints at once: a command that sets the position shows it before it returns,
    // even while it keeps the event loop busy.
    void setPosition(int value);
    void setBackgroundColor(TColor value);
    void setOrientation(TGradientOrientation value);

    // Draws the whole bar for the current size into `painter` (0, 0 = the control's corner).
    void paint(QPainter& painter) const;
    // The bar as it appears on a surface with `ratio` device pixels per logical pixel; at 1,
    // one pixel per pixel.
    QImage render(qreal ratio = 1) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation fillDirection() const;
    void paintShaded(QPainter& painter, const QRect& area, const LevelPair& pair) const;
    void paintPercentage(QPainter& painter) const;
    template <typename T>
    void store(T& field, T value);

    LevelScheme m_scheme;
    TColor m_borderColor;
    bool m_showBorder;
    bool m_stacked;
    bool m_showPercentage;
    TColor m_fontColor;
    bool m_completionSmooth;
    bool m_showGradient;
    int m_steps;
    int m_position;
    TColor m_backgroundColor;
    TGradientOrientation m_orientation;
};

using TGradientOrientation = TAdvProgressBar::TGradientOrientation;
