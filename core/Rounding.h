#pragma once

#include <cmath>

// Round as the program means it: to the nearest integer, an exact half going to the even
// neighbour, taken from the extended value. That is the default rounding mode, which the
// program never leaves.
inline long long RoundHalfEven(long double value)
{
    return std::llrint(value);
}
