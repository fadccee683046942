#pragma once

#include "core/Rounding.h"

#include <QRect>

// The arithmetic of the painting rules. Products are evaluated at extended precision,
// like every other floating-point expression of the program; Round sends halves to the
// even neighbour (the default rounding mode).

inline long long RoundEven(long double value)
{
    return RoundHalfEven(value);
}

inline long long Trunc(long double value)
{
    return static_cast<long long>(value);
}

// Half of an integer distance, rounded toward zero.
inline int HalfOf(int d)
{
    return d / 2;
}

// A rectangle given by its edges: it covers left <= x < right and top <= y < bottom,
// and is empty when right <= left or bottom <= top.
inline QRect RectFromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
