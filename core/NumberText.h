#pragma once

#include <QString>

// A double as the program shows it: rounded to 15 significant digits, trailing zeros dropped
// (the separator too when nothing follows it), the regional decimal separator read now, "-" when
// negative, no thousand separators. Values whose decimal exponent lies outside -4..14 take the
// exponent form "1,5E-7" / "1E20". Non-finite values give "NAN", "INF" or "-INF".
QString FloatToText(double value);
