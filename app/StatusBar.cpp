#include "app/StatusBar.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr int kBorder = 2;
// Percent of the normal width: brings the substitute face to about the original's widths.
constexpr int kNarrowing = 95;

} // namespace

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    // Only the width is set here; family and size still follow the window's font.
    QFont narrower;
    narrower.setStretch(kNarrowing);
    setFont(narrower);
    // Qt repaints only its own, narrower message area when the message changes.
    connect(this, &QStatusBar::messageChanged, this, [this] {
        update();
        // The hint is the bar's accessible name.
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    });
}

QRect TStatusBar::messageRect() const
{
    return rect().adjusted(kBorder, 0, -kBorder, 0);
}

void TStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    const QString message = currentMessage();
    if (message.isEmpty())
        return;
    painter.setPen(palette().windowText().color());
    painter.drawText(messageRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, message);
}
