#include "app/GroupBox.h"

#include "core/Colors.h"
#include "widgets/SystemColors.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int kCaptionLeft = 8;
}

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent) {}

void TGroupBox::paint(QPainter& painter) const
{
    const QFontMetrics metrics(font());
    const int lineTop = metrics.height() / 2;
    painter.setPen(ResolveColor(clBtnShadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, lineTop, width() - 1, height() - lineTop - 1));
    if (title().isEmpty())
        return;
    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.fillRect(caption, ResolveColor(clBtnFace));
    painter.setFont(font());
    painter.setPen(ResolveColor(clWindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter);
}
