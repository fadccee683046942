#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Conversions of entry texts into numbers, with the rules the entry fields rely on.

// Leading spaces, an optional sign, then decimal digits and nothing else. "$", "x", "X", "0x" or
// "0X" before the digits make them hexadecimal. The value must fit in 32 bits signed.
std::optional<qint32> TextToInt32(const QString& text);

// Leading and trailing spaces, an optional sign, digits with at most one decimal separator (the
// regional one, read now; a lone separator is 0), an optional exponent "E"/"e" with sign and
// digits. Correctly rounded to the extended type; fails when the value overflows it.
std::optional<long double> TextToExtended(const QString& text);

// TextToExtended, then held as a double (the second rounding); fails when the double overflows.
std::optional<double> TextToDouble(const QString& text);
