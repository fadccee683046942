#include "widgets/AdvProgressBar.h"

#include "widgets/OffscreenPicture.h"
#include "widgets/PixelMath.h"
#include "widgets/SystemColors.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>

namespace {

// A one-pixel outline drawn as four filled strips rather than with a pen, so that on a
// high-density surface it grows into whole device-pixel blocks like every other rectangle.
void FillOutline(QPainter& painter, const QRect& r, const QColor& color)
{
    if (r.isEmpty())
        return;
    painter.fillRect(r.left(), r.top(), r.width(), 1, color);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, color);
    painter.fillRect(r.left(), r.top(), 1, r.height(), color);
    painter.fillRect(r.right(), r.top(), 1, r.height(), color);
}

} // namespace

TAdvProgressBar::TAdvProgressBar(QWidget* parent)
    : QWidget(parent),
      m_scheme{{LevelPair{clLime, 0x00E1FFE1}, LevelPair{0x0000FFFF, 0x00CAFFFF},
                LevelPair{0x0053A9FF, 0x00A8D3FF}, LevelPair{clRed, 0x00CACAFF}},
               70,
               90},
      m_borderColor(clBlack),
      m_showBorder(true),
      m_stacked(false),
      m_showPercentage(true),
      m_fontColor(clWindowText),
      m_completionSmooth(true),
      m_showGradient(true),
      m_steps(20),
      m_position(0),
      m_backgroundColor(clWhite),
      m_orientation(goHorizontal)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSize(10);
    setFont(verdana);
}

template <typename T>
void TAdvProgressBar::store(T& field, T value)
{
    field = value;
    update();
}

void TAdvProgressBar::setLevel0Color(TColor value) { store(m_scheme.pairs[0].color, value); }
void TAdvProgressBar::setLevel0ColorTo(TColor value) { store(m_scheme.pairs[0].colorTo, value); }
void TAdvProgressBar::setLevel1Color(TColor value) { store(m_scheme.pairs[1].color, value); }
void TAdvProgressBar::setLevel1ColorTo(TColor value) { store(m_scheme.pairs[1].colorTo, value); }
void TAdvProgressBar::setLevel2Color(TColor value) { store(m_scheme.pairs[2].color, value); }
void TAdvProgressBar::setLevel2ColorTo(TColor value) { store(m_scheme.pairs[2].colorTo, value); }
void TAdvProgressBar::setLevel3Color(TColor value) { store(m_scheme.pairs[3].color, value); }
void TAdvProgressBar::setLevel3ColorTo(TColor value) { store(m_scheme.pairs[3].colorTo, value); }
void TAdvProgressBar::setLevel1Perc(int value) { store(m_scheme.level1Perc, value); }
void TAdvProgressBar::setLevel2Perc(int value) { store(m_scheme.level2Perc, value); }
void TAdvProgressBar::setBorderColor(TColor value) { store(m_borderColor, value); }
void TAdvProgressBar::setShowBorder(bool value) { store(m_showBorder, value); }
void TAdvProgressBar::setStacked(bool value) { store(m_stacked, value); }
void TAdvProgressBar::setShowPercentage(bool value) { store(m_showPercentage, value); }
void TAdvProgressBar::setFontColor(TColor value) { store(m_fontColor, value); }
void TAdvProgressBar::setCompletionSmooth(bool value) { store(m_completionSmooth, value); }
void TAdvProgressBar::setShowGradient(bool value) { store(m_showGradient, value); }
void TAdvProgressBar::setSteps(int value) { store(m_steps, value); }
void TAdvProgressBar::setBackgroundColor(TColor value) { store(m_backgroundColor, value); }
void TAdvProgressBar::setOrientation(TGradientOrientation value) { store(m_orientation, value); }

void TAdvProgressBar::setPosition(int value)
{
    const bool changed = value != m_position;
    m_position = value;
    repaint();
    if (changed) {
        QAccessibleValueChangeEvent event(this, value);
        QAccessible::updateAccessibility(&event);
    }
}

Qt::Orientation TAdvProgressBar::fillDirection() const
{
    return m_orientation == goVertical ? Qt::Vertical : Qt::Horizontal;
}

void TAdvProgressBar::paintShaded(QPainter& painter, const QRect& area, const LevelPair& pair) const
{
    if (!m_showGradient) {
        if (!area.isEmpty())
            painter.fillRect(area, ResolveColor(pair.color));
        return;
    }
    const auto [first, second] = GradientHalves(fillDirection(), area);
    const Qt::Orientation across = BandAxis(fillDirection());
    DrawGradientBands(painter, pair.colorTo, pair.color, across, first, m_steps);
    DrawGradientBands(painter, pair.color, pair.colorTo, across, second, m_steps);
}

void TAdvProgressBar::paint(QPainter& painter) const
{
    const QRect client = rect();
    painter.save();
    painter.setClipRect(client);

    painter.fillRect(client, ResolveColor(m_backgroundColor));
    FillOutline(painter, client, ResolveColor(m_showBorder ? m_borderColor : m_backgroundColor));

    if (m_position > 0) {
        const Qt::Orientation fill = fillDirection();
        const int inner = InnerLength(fill, client.size());
        if (m_stacked) {
            for (const StackedShare& share : StackedShares(fill, client.size(), m_position, m_scheme))
                paintShaded(painter, share.rect, share.pair);
        } else {
            const LevelPair pair = ChooseLevelPair(m_position, m_scheme);
            if (m_completionSmooth) {
                paintShaded(painter, SmoothFillRect(fill, client.size(), SmoothFillLength(m_position, inner)), pair);
            } else {
                for (const QRect& block : BlockRects(fill, client.size(), BlockFillLength(m_position, inner)))
                    paintShaded(painter, block, pair);
            }
        }
    }

    if (m_showPercentage)
        paintPercentage(painter);
    painter.restore();
}

void TAdvProgressBar::paintPercentage(QPainter& painter) const
{
    const QString text = QString::number(m_position) + QLatin1Char('%');
    painter.setFont(font());
    painter.setPen(ResolveColor(m_fontColor));
    const QFontMetrics metrics = painter.fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    if (m_orientation == goVertical) {
        // Turned a quarter to the left: the text runs bottom to top, its top facing left.
        painter.save();
        painter.translate(HalfOf(width() - textHeight), HalfOf(height() + textWidth));
        painter.rotate(-90);
        painter.drawText(0, metrics.ascent(), text);
        painter.restore();
    } else {
        painter.drawText(HalfOf(width() - textWidth), HalfOf(height() - textHeight) + metrics.ascent(), text);
    }
}

QImage TAdvProgressBar::render(qreal ratio) const
{
    QImage image = OffscreenPicture(*this, ratio, QImage::Format_RGB32, Qt::white);
    QPainter painter(&image);
    paint(painter);
    return image;
}

void TAdvProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // One device pixel of the picture per device pixel of the surface: nothing is blown up.
    painter.drawImage(0, 0, render(painter.device()->devicePixelRatio()));
}
