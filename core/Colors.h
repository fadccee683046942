#pragma once

#include <cstdint>

// A colour as the layouts store it: 0x00BBGGRR (red in the low byte), or a reference to a
// system colour (high byte 0xFF, low byte the system colour index), resolved when painting.
using TColor = std::uint32_t;

constexpr TColor RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clLime = 0x0000FF00;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clWhite = 0x00FFFFFF;

constexpr TColor clSystemColor = 0xFF000000;
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000) == clSystemColor; }

constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
