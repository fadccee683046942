#include "widgets/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct SystemColorRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed by the low byte of a system colour reference.
constexpr SystemColorRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Mid},             //  0 scroll bar
    {QPalette::Active, QPalette::Dark},            //  1 desktop
    {QPalette::Active, QPalette::Highlight},       //  2 active caption
    {QPalette::Inactive, QPalette::Mid},           //  3 inactive caption
    {QPalette::Active, QPalette::Button},          //  4 menu
    {QPalette::Active, QPalette::Base},            //  5 window (clWindow)
    {QPalette::Active, QPalette::Shadow},          //  6 window frame
    {QPalette::Active, QPalette::WindowText},      //  7 menu text
    {QPalette::Active, QPalette::WindowText},      //  8 window text (clWindowText)
    {QPalette::Active, QPalette::HighlightedText}, //  9 caption text
    {QPalette::Active, QPalette::Button},          // 10 active border
    {QPalette::Inactive, QPalette::Button},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight (clHighlight)
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face (clBtnFace)
    {QPalette::Active, QPalette::Dark},            // 16 button shadow (clBtnShadow)
    {QPalette::Disabled, QPalette::Text},          // 17 grey text (clGrayText)
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight (clBtnHighlight)
    {QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 info background
    {QPalette::Active, QPalette::Button},          // 25 (unused index)
    {QPalette::Active, QPalette::Link},            // 26 hot light
    {QPalette::Active, QPalette::Highlight},       // 27 gradient active caption
    {QPalette::Inactive, QPalette::Mid},           // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Button},          // 30 menu bar
};

} // namespace

QColor ResolveColor(TColor color, const QPalette& palette)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (IsSystemColor(color)) {
        const unsigned index = color & 0xFF;
        if (index >= std::size(kSystemRoles))
            return QColor(Qt::black);
        const SystemColorRole& entry = kSystemRoles[index];
        return palette.color(entry.group, entry.role);
    }
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QColor ResolveColor(TColor color)
{
    return ResolveColor(color, QGuiApplication::palette());
}
