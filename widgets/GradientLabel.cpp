#include "widgets/GradientLabel.h"

#include "widgets/GradientBands.h"
#include "widgets/OffscreenPicture.h"
#include "widgets/PixelMath.h"
#include "widgets/SystemColors.h"
#include "widgets/VisualStyles.h"

#include <QPainter>
#include <QRegion>

namespace {

constexpr int kLineThickness = 2;

TextAlign horizontalOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return TextAlign::Right;
    if (alignment & Qt::AlignHCenter)
        return TextAlign::Center;
    return TextAlign::Left;
}

TextVertical verticalOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignVCenter)
        return TextVertical::Center;
    if (alignment & Qt::AlignBottom)
        return TextVertical::Bottom;
    return TextVertical::Top;
}

} // namespace

TGradientLabel::TGradientLabel(QWidget* parent) : QLabel(parent), m_transparent(VisualStylesActive())
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont verdana = font();
    verdana.setFamily(QStringLiteral("Verdana"));
    setFont(verdana);
}

template <typename T>
void TGradientLabel::store(T& field, T value)
{
    field = value;
    update();
}

void TGradientLabel::setColorTo(TColor value) { store(m_colorTo, value); }
void TGradientLabel::setGradientType(TGradientType value) { store(m_gradientType, value); }
void TGradientLabel::setIndent(int value) { store(m_indent, value); }
void TGradientLabel::setLineWidth(int value) { store(m_lineWidth, value); }
void TGradientLabel::setOrientation(TGradientOrientation value) { store(m_orientation, value); }
void TGradientLabel::setTransparentText(bool value) { store(m_transparentText, value); }
void TGradientLabel::setVAlignment(TVAlignment value) { store(m_vAlignment, value); }
void TGradientLabel::setColor(TColor value) { store(m_color, value); }
void TGradientLabel::setFontColor(TColor value) { store(m_fontColor, value); }
void TGradientLabel::setTransparent(bool value) { store(m_transparent, value); }
void TGradientLabel::setShowAccelChar(bool value) { store(m_showAccelChar, value); }

void TGradientLabel::setEllipsType(TEllipsType value)
{
    if (value != m_ellipsType)
        store(m_ellipsType, value);
}

unsigned TGradientLabel::drawTextFlags() const
{
    LabelTextStyle style;
    style.alignment = horizontalOf(alignment());
    style.wordWrap = wordWrap();
    style.layout = verticalOf(alignment());
    style.ellipsis = m_ellipsType == etEndEllips    ? TextEllipsis::End
                     : m_ellipsType == etPathEllips ? TextEllipsis::Path
                                                    : TextEllipsis::None;
    style.showAccelChar = m_showAccelChar;
    style.vAlignment = m_vAlignment == vaCenter   ? TextVertical::Center
                       : m_vAlignment == vaBottom ? TextVertical::Bottom
                                                  : TextVertical::Top;
    style.rightToLeft = layoutDirection() == Qt::RightToLeft;
    return LabelDrawTextFlags(style);
}

bool TGradientLabel::isLineType() const
{
    return m_gradientType == gtBottomLine || m_gradientType == gtCenterLine || m_gradientType == gtTopLine;
}

QRect TGradientLabel::lineStrip() const
{
    const int w = width();
    const int h = height();
    if (m_orientation == goHorizontal) {
        const int top = m_gradientType == gtBottomLine   ? h - kLineThickness
                        : m_gradientType == gtCenterLine ? HalfOf(h)
                                                         : 0;
        return RectFromEdges(0, top, w, top + kLineThickness);
    }
    const int left = m_gradientType == gtBottomLine   ? w - kLineThickness
                     : m_gradientType == gtCenterLine ? HalfOf(w)
                                                      : 0;
    return RectFromEdges(left, 0, left + kLineThickness, h);
}

QRect TGradientLabel::textRect() const
{
    int left = 0;
    int top = 0;
    int right = width();
    int bottom = height();
    const TextAlign align = horizontalOf(alignment());
    if (m_orientation == goHorizontal) {
        if (align == TextAlign::Left)
            left += m_indent;
        else if (align == TextAlign::Right)
            right -= m_indent;
    } else {
        if (align == TextAlign::Left)
            bottom -= m_indent;
        else if (align == TextAlign::Right)
            top += m_indent;
    }
    return RectFromEdges(left, top, right, bottom);
}

void TGradientLabel::paintBackground(QPainter& painter) const
{
    if (m_transparent)
        return;
    if (m_colorTo == clNone || isLineType()) {
        painter.fillRect(rect(), ResolveColor(m_color));
        return;
    }
    const Qt::Orientation along = m_gradientType == gtFullVertical ? Qt::Vertical : Qt::Horizontal;
    DrawGradientBands(painter, m_color, m_colorTo, along, rect(), bandCount());
}

void TGradientLabel::paintLine(QPainter& painter) const
{
    const QRect strip = lineStrip();
    painter.save();
    if (m_transparentText) {
        // Keep the line out from behind the caption: cut its one-line extent from the strip.
        const int captionWidth = painter.fontMetrics().horizontalAdvance(text());
        const QRect area = textRect();
        const TextAlign align = horizontalOf(alignment());
        const int captionLeft = align == TextAlign::Right    ? area.left() + area.width() - captionWidth
                                : align == TextAlign::Center ? area.left() + (area.width() - captionWidth) / 2
                                                             : area.left();
        const QRegion clip = QRegion(strip).subtracted(QRegion(captionLeft, strip.top(), captionWidth, strip.height()));
        painter.setClipRegion(clip, Qt::IntersectClip);
    }
    if (m_orientation == goHorizontal)
        DrawGradientBands(painter, m_color, m_colorTo, Qt::Horizontal, strip, bandCount());
    else
        DrawGradientBands(painter, m_colorTo, m_color, Qt::Vertical, strip, bandCount());
    painter.restore();
}

void TGradientLabel::paintLines(QPainter& painter, const TextLayoutResult& layout, QPoint offset, TColor color) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(ResolveColor(color));
    for (const TextLine& line : layout.lines) {
        const QPoint origin = line.topLeft + offset;
        painter.drawText(origin.x(), origin.y() + metrics.ascent(), line.text);
        if (line.underline >= 0) {
            const int x = origin.x() + metrics.horizontalAdvance(line.text.left(line.underline));
            const int w = metrics.horizontalAdvance(line.text.at(line.underline));
            const int y = origin.y() + metrics.ascent() + metrics.underlinePos();
            painter.fillRect(x, y, w, std::max(1, metrics.lineWidth()), ResolveColor(color));
        }
    }
}

void TGradientLabel::paintTurnedCaption(QPainter& painter, const QRect& area) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int captionWidth = metrics.horizontalAdvance(text());
    const int captionHeight = metrics.height();
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();

    const TextVertical layout = verticalOf(alignment());
    const int x = layout == TextVertical::Top      ? area.left()
                  : layout == TextVertical::Center ? HalfOf(area.width()) - HalfOf(captionHeight)
                                                   : right - captionHeight;
    const TextAlign align = horizontalOf(alignment());
    const int y = align == TextAlign::Left    ? bottom
                  : align == TextAlign::Right ? area.top() + captionWidth
                                              : HalfOf(captionWidth) + HalfOf(area.height());

    painter.save();
    painter.setPen(ResolveColor(m_fontColor));
    painter.translate(x, y);
    painter.rotate(-90); // reads bottom to top, the top of the glyphs facing left
    painter.drawText(0, metrics.ascent(), text());
    painter.restore();
}

void TGradientLabel::paintCaption(QPainter& painter) const
{
    const QRect area = textRect();
    if (isEnabled() && m_orientation == goVertical) {
        paintTurnedCaption(painter, area);
        return;
    }
    const TextLayoutResult layout = LayOutText(text(), drawTextFlags(), area, painter.fontMetrics());
    painter.save();
    if (layout.clip)
        painter.setClipRect(area, Qt::IntersectClip);
    if (!isEnabled()) {
        paintLines(painter, layout, QPoint(1, 1), clBtnHighlight);
        paintLines(painter, layout, QPoint(0, 0), clBtnShadow);
    } else {
        paintLines(painter, layout, QPoint(0, 0), m_fontColor);
    }
    painter.restore();
}

void TGradientLabel::paint(QPainter& painter) const
{
    painter.save();
    painter.setClipRect(rect());
    painter.setFont(font());
    paintBackground(painter);
    if (isLineType())
        paintLine(painter);
    paintCaption(painter);
    painter.restore();
}

QImage TGradientLabel::render(qreal ratio) const
{
    QImage image = OffscreenPicture(*this, ratio, QImage::Format_ARGB32_Premultiplied, Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

void TGradientLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Drawn at the surface's own resolution, so the caption stays sharp on a high-density screen.
    painter.drawImage(0, 0, render(painter.device()->devicePixelRatio()));
}
