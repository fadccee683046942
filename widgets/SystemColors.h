#pragma once

#include "core/Colors.h"

#include <QColor>

class QPalette;

// The one place where a TColor becomes RGB, at paint time.
// Plain values are 0x00BBGGRR. System colour references resolve through the application
// palette, so the controls follow the desktop's colour scheme:
//   clWindow -> Base, clWindowText -> WindowText, clHighlight -> Highlight,
//   clHighlightText -> HighlightedText, clBtnFace -> Button, clBtnShadow -> Dark,
//   clBtnHighlight -> Light, clBtnText -> ButtonText, clGrayText -> disabled Text,
//   and the rarer references onto their nearest roles (see the table in the source).
// clNone ("no colour") resolves to fully transparent; an unknown reference to black.
QColor ResolveColor(TColor color);
QColor ResolveColor(TColor color, const QPalette& palette);
