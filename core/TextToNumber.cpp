#include "core/TextToNumber.h"

#include "core/RegionalSettings.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

bool isDecimalDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexDigitValue(QChar c)
{
    if (isDecimalDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

qsizetype skipSpaces(const QString& text, qsizetype i)
{
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

// strtold reads the decimal point of LC_NUMERIC, which the program sets from the user's
// locale; the normalised text always uses ".", so it is read under the "C" locale.
locale_t classicNumericLocale()
{
    static const locale_t classic = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return classic;
}

} // namespace

std::optional<qint32> TextToInt32(const QString& text)
{
    qsizetype i = skipSpaces(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }

    // One past the largest magnitude keeps -2147483648 in range.
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 magnitude = 0;
    const qsizetype firstDigit = i;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? hexDigitValue(text[i]) : (isDecimalDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    if (i == firstDigit)
        return std::nullopt;
    return qint32(negative ? -magnitude : magnitude);
}

std::optional<long double> TextToExtended(const QString& text)
{
    const QChar separator = regionalSettings().decimalSeparator();

    std::string normalised;
    normalised.reserve(std::size_t(text.size()) + 2);
    qsizetype i = skipSpaces(text, 0);
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        normalised += char(text[i++].unicode());

    bool anyDigit = false;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        if (isDecimalDigit(text[i])) {
            anyDigit = true;
            normalised += char(text[i].unicode());
        } else if (text[i] == separator && !seenSeparator) {
            seenSeparator = true;
            normalised += '.';
        } else {
            break;
        }
    }
    if (!anyDigit && !seenSeparator)
        return std::nullopt;
    if (!anyDigit)
        normalised += '0'; // a lone separator is zero

    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        normalised += 'e';
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            normalised += char(text[i++].unicode());
        const qsizetype firstExponentDigit = i;
        for (; i < text.size() && isDecimalDigit(text[i]); ++i)
            normalised += char(text[i].unicode());
        if (i == firstExponentDigit)
            return std::nullopt;
    }

    if (skipSpaces(text, i) != text.size())
        return std::nullopt;

    errno = 0;
    char* end = nullptr;
    const long double value = strtold_l(normalised.c_str(), &end, classicNumericLocale());
    if (end != normalised.c_str() + normalised.size())
        return std::nullopt;
    if (errno == ERANGE && std::isinf(value))
        return std::nullopt;
    return value;
}

std::optional<double> TextToDouble(const QString& text)
{
    const std::optional<long double> extended = TextToExtended(text);
    if (!extended)
        return std::nullopt;
    const auto value = static_cast<double>(*extended);
    if (std::isinf(value))
        return std::nullopt;
    return value;
}
