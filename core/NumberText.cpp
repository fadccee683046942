#include "core/NumberText.h"

#include "core/RegionalSettings.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int SignificantDigits = 15;

// The value's decimal digits after rounding to 15 significant ones (trailing zeros removed)
// and its decimal exponent: value = d.ddd × 10^exponent.
struct DecimalDigits
{
    QString digits;
    int exponent = 0;
};

DecimalDigits roundToSignificantDigits(double magnitude)
{
    // to_chars rounds the exact binary value correctly, like "%.14e" in the C locale, but never
    // takes the process locale's decimal point: 15 significant digits as "d.dddde±xx".
    char buffer[64];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                       SignificantDigits - 1);
    const QString text = QString::fromLatin1(buffer, printed.ptr - buffer);
    const qsizetype exponentAt = text.indexOf(u'e');

    DecimalDigits result;
    const char* exponent = buffer + exponentAt + 1;
    if (*exponent == '+')
        ++exponent; // from_chars takes no leading plus
    std::from_chars(exponent, printed.ptr, result.exponent);
    result.digits = text.left(exponentAt).remove(u'.');
    while (result.digits.size() > 1 && result.digits.endsWith(u'0'))
        result.digits.chop(1);
    return result;
}

QString plainForm(const DecimalDigits& d, QChar separator)
{
    if (d.exponent < 0)
        return QStringLiteral("0") + separator + QString(-d.exponent - 1, u'0') + d.digits;
    const qsizetype integerDigits = d.exponent + 1;
    if (d.digits.size() <= integerDigits)
        return d.digits + QString(integerDigits - d.digits.size(), u'0');
    return d.digits.left(integerDigits) + separator + d.digits.mid(integerDigits);
}

QString exponentForm(const DecimalDigits& d, QChar separator)
{
    QString mantissa = d.digits.left(1);
    if (d.digits.size() > 1)
        mantissa += separator + d.digits.mid(1);
    return mantissa + u'E' + QString::number(d.exponent);
}

} // namespace

QString FloatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0"); // negative zero included: it is not shown as "-0"

    const QChar separator = regionalSettings().decimalSeparator();
    const DecimalDigits d = roundToSignificantDigits(std::fabs(value));
    const bool plain = d.exponent >= -4 && d.exponent < SignificantDigits;
    const QString body = plain ? plainForm(d, separator) : exponentForm(d, separator);
    return value < 0 ? u'-' + body : body;
}
