#include "core/EditRules.h"

#include "core/RegionalSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr QChar kBackspace(8);
constexpr QChar kTab(9);
constexpr QChar kEnter(13);
constexpr QChar kEscape(27);
constexpr QChar kMinus(u'-');

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexLetter(QChar c)
{
    return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isNumericType(TAdvEditType type)
{
    return type == EditTypes::etNumeric || type == EditTypes::etFloat || type == EditTypes::etMoney;
}

CharDecision decide(CharDecision::Action action, QChar c = QChar())
{
    CharDecision d;
    d.action = action;
    d.character = c;
    return d;
}

CharDecision replaceText(const QString& text, int caret)
{
    CharDecision d;
    d.action = CharDecision::ReplaceText;
    d.text = text;
    d.caret = caret;
    return d;
}

// "-" with a signed number type: removes the minus if there is one, else puts one in front.
CharDecision toggleMinus(const EditState& state)
{
    const qsizetype minus = state.text.indexOf(kMinus);
    if (minus >= 0) {
        QString text = state.text;
        text.remove(minus, 1);
        return replaceText(text, std::max(state.selStart - 1, 0));
    }
    return replaceText(kMinus + state.text, state.selStart + 1);
}

QString selectedText(const EditState& state)
{
    return state.text.mid(state.selStart, state.selLength);
}

// Whether a decimal or thousand separator may go in at the caret, judged by the thousand
// separators already in the text: the nearest must be exactly three places away.
bool separatorFitsGroups(const EditState& state, QChar thousand)
{
    QString rest = state.text;
    int caret = state.selStart;
    int nearest = -1;
    for (qsizetype index = rest.indexOf(thousand); index >= 0; index = rest.indexOf(thousand)) {
        const int position = int(index) + 1;
        const int distance = std::abs(position - caret);
        if (distance < 3)
            return false;
        if (nearest < 0 || distance < nearest)
            nearest = distance;
        if (position < caret)
            caret -= position;
        rest = rest.mid(position);
    }
    return nearest == 3;
}

CharDecision decideFloatCharacter(QChar c, const EditRules& rules, const EditState& state, Separators sep)
{
    const QChar D = sep.decimal;
    const QChar G = sep.thousand;
    const QString& text = state.text;
    const int caret = state.selStart;

    if ((c == u',' || c == u'.') && D != c && G != c)
        return decide(CharDecision::Consume);
    if (!(c == kBackspace || c == kTab || c == u',' || c == kMinus || c == u'.' || isDigit(c)))
        return decide(CharDecision::Consume);
    if (c == D && !selectedText(state).contains(D)) {
        const qsizetype existing = text.indexOf(D);
        if (existing >= 0 && rules.precision > 0) {
            CharDecision d = decide(CharDecision::MoveCaret);
            d.caret = int(existing) + 1;
            return d;
        }
        if (existing >= 0 || rules.precision == 0)
            return decide(CharDecision::Consume);
    }
    if (c == u',' && text.contains(u',') && !selectedText(state).contains(u',') && G != u',')
        return decide(CharDecision::Consume);
    if (!G.isNull() && (c == G || c == D) && text.contains(G) && !separatorFitsGroups(state, G))
        return decide(CharDecision::Consume);

    const qsizetype decimalIndex = text.indexOf(D);
    if (rules.precision > 0 && decimalIndex >= 0) {
        const int decimalPosition = int(decimalIndex) + 1;
        const int length = int(text.size());
        const bool fullDecimals = caret >= decimalPosition && length - decimalPosition >= rules.precision
                                  && length - caret <= rules.precision;
        if (fullDecimals && isDigit(c) && state.selLength == 0) {
            if (caret == length)
                return decide(CharDecision::Consume);
            return decide(CharDecision::OverwriteNext, c);
        }
    }
    if (caret == 0 && text.isEmpty() && c == D)
        return replaceText(QStringLiteral("0") + D, 2);
    if (c == kMinus && state.selLength == 0)
        return toggleMinus(state);
    return decide(CharDecision::Standard, c);
}

bool isRangeSeparator(QChar c)
{
    return c == u',' || c == kMinus || c == u';';
}

CharDecision decideByType(QChar c, bool ctrlHeld, const EditRules& rules, const EditState& state, Separators sep)
{
    switch (rules.type) {
    case EditTypes::etString:
    case EditTypes::etPassword:
        return decide(CharDecision::Standard, c);
    case EditTypes::etNumeric:
        if (isDigit(c) || c == kBackspace || c == kTab)
            return decide(CharDecision::Standard, c);
        if (c == kMinus && rules.isSigned)
            return toggleMinus(state);
        return decide(ctrlHeld ? CharDecision::Standard : CharDecision::Consume, c);
    case EditTypes::etFloat:
    case EditTypes::etMoney:
        return decideFloatCharacter(c, rules, state, sep);
    case EditTypes::etUppercase:
        return decide(CharDecision::Standard, c.toUpper());
    case EditTypes::etLowerCase:
        return decide(CharDecision::Standard, c.toLower());
    case EditTypes::etMixedCase: {
        CharDecision d = decide(CharDecision::Standard, c);
        d.recaseAfter = true;
        return d;
    }
    case EditTypes::etHex:
        if (isDigit(c) || isHexLetter(c) || c == kMinus || c == kBackspace || c == kTab || c == kEnter)
            return decide(CharDecision::Standard, c);
        return decide(CharDecision::Consume);
    case EditTypes::etAlphaNumeric:
        if (isDigit(c) || isAsciiLetter(c) || c == kBackspace || c == kTab || c == kEnter)
            return decide(CharDecision::Standard, c);
        return decide(CharDecision::Consume);
    case EditTypes::etValidChars:
        if (rules.validChars.contains(c) || c == kBackspace)
            return decide(CharDecision::Standard, c);
        return decide(CharDecision::Consume);
    case EditTypes::etRange: {
        if (isRangeSeparator(c)) {
            const QString& t = state.text;
            const int caret = state.selStart;
            const bool before = caret > 0 && isRangeSeparator(t.at(caret - 1));
            const int after = caret + state.selLength;
            const bool next = after < t.size() && isRangeSeparator(t.at(after));
            return decide(before || next ? CharDecision::Consume : CharDecision::Standard, c);
        }
        if (isDigit(c) || c == kBackspace || c == kTab || c == kEnter)
            return decide(CharDecision::Standard, c);
        return decide(CharDecision::Consume);
    }
    }
    return decide(CharDecision::Consume);
}

bool allCharactersAllowed(const QString& text, bool (*allowed)(QChar))
{
    return std::all_of(text.begin(), text.end(), allowed);
}

// Whether the type takes the candidate text of a paste (after case conversion).
bool typeAcceptsPaste(const QString& pasted, const QString& candidate, const EditRules& rules, Separators sep)
{
    const NumberTextKind kind = ClassifyNumberText(candidate, sep);
    switch (rules.type) {
    case EditTypes::etNumeric:
        return kind == NumberTextKind::Integer && (rules.isSigned || !candidate.contains(kMinus));
    case EditTypes::etFloat:
    case EditTypes::etMoney:
        if (kind == NumberTextKind::NotANumber || kind == NumberTextKind::Hexadecimal)
            return false;
        if (rules.precision == 0 && pasted.contains(sep.decimal))
            return false;
        return rules.isSigned || !candidate.contains(kMinus);
    case EditTypes::etHex:
        return kind == NumberTextKind::Integer || kind == NumberTextKind::Hexadecimal;
    case EditTypes::etAlphaNumeric:
        return allCharactersAllowed(candidate, [](QChar c) { return isDigit(c) || isAsciiLetter(c); });
    case EditTypes::etRange:
        return allCharactersAllowed(candidate, [](QChar c) { return isDigit(c) || isRangeSeparator(c); });
    case EditTypes::etValidChars:
        return std::all_of(candidate.begin(), candidate.end(), [&](QChar c) { return rules.validChars.contains(c); });
    case EditTypes::etString:
    case EditTypes::etPassword:
    case EditTypes::etUppercase:
    case EditTypes::etMixedCase:
    case EditTypes::etLowerCase:
        return true;
    }
    return false;
}

QString caseConverted(const QString& text, TAdvEditType type)
{
    switch (type) {
    case EditTypes::etUppercase:
        return text.toUpper();
    case EditTypes::etLowerCase:
        return text.toLower();
    case EditTypes::etMixedCase:
        return MixedCase(text);
    default:
        return text;
    }
}

// Decimal digits of |value| rounded to 18 significant digits, and the number of them that
// stand before the decimal point (may be zero or negative, or beyond 18).
struct SignificantDigits
{
    std::string digits;
    int integerDigits;
};

SignificantDigits significantDigits(long double magnitude)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    const std::string text(buffer, result.ptr);
    const std::size_t exponentAt = text.find('e');
    std::string digits = text.substr(0, exponentAt);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    return {digits, std::atoi(text.c_str() + exponentAt + 1) + 1};
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Integer digits and exactly `decimals` fraction digits of |value|, rounded as described.
std::pair<std::string, std::string> fixedDigits(long double magnitude, int decimals)
{
    const auto [digits, integerDigits] = significantDigits(magnitude);
    std::string whole;
    std::string fraction;
    if (integerDigits <= 0) {
        whole = "0";
        fraction = std::string(std::size_t(-integerDigits), '0') + digits;
    } else if (std::size_t(integerDigits) >= digits.size()) {
        whole = digits + std::string(std::size_t(integerDigits) - digits.size(), '0');
    } else {
        whole = digits.substr(0, std::size_t(integerDigits));
        fraction = digits.substr(std::size_t(integerDigits));
    }
    fraction.resize(std::size_t(decimals) + 1, '0');
    const bool roundUp = fraction.back() >= '5';
    fraction.pop_back();

    std::string all = whole + fraction;
    if (roundUp)
        incrementDigits(all);
    const std::size_t wholeLength = all.size() - std::size_t(decimals);
    return {all.substr(0, wholeLength), all.substr(wholeLength)};
}

QString signedText(long double value, const std::string& whole, const std::string& fraction,
                   const QString& grouped, QChar decimal)
{
    const bool showsZero = std::all_of(whole.begin(), whole.end(), [](char d) { return d == '0'; })
                           && std::all_of(fraction.begin(), fraction.end(), [](char d) { return d == '0'; });
    QString text = (value < 0 && !showsZero) ? QStringLiteral("-") : QString();
    text += grouped;
    if (!fraction.empty())
        text += decimal + QString::fromLatin1(fraction.data(), qsizetype(fraction.size()));
    return text;
}

} // namespace

Separators Separators::current()
{
    const RegionalSettings& settings = regionalSettings();
    return {settings.decimalSeparator(), settings.thousandSeparator()};
}

NumberTextKind ClassifyNumberText(const QString& text, Separators separators)
{
    bool integer = !text.isEmpty();
    bool decimal = integer;
    bool hexadecimal = integer;
    int lastGroup = -1;
    int decimalCount = 0;
    int minusCount = 0;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text.at(index);
        const int position = int(index) + 1;
        if (c != kMinus && !isDigit(c))
            integer = false;
        if (!isDigit(c) && !(c >= u',' && c <= u'.'))
            decimal = false;
        if (c != kMinus && !isDigit(c) && !isHexLetter(c))
            hexadecimal = false;
        if (!separators.thousand.isNull() && c == separators.thousand) {
            if (position - lastGroup < 3)
                decimal = false;
            lastGroup = position;
        }
        if (c == separators.decimal)
            ++decimalCount;
        if (c == kMinus)
            ++minusCount;
    }
    NumberTextKind kind = NumberTextKind::NotANumber;
    if (hexadecimal && !integer)
        kind = NumberTextKind::Hexadecimal;
    if (integer)
        kind = NumberTextKind::Integer;
    else if (decimal)
        kind = NumberTextKind::Decimal;
    if (minusCount > 1 || decimalCount > 1)
        kind = NumberTextKind::NotANumber;
    return kind;
}

long double TextToFloat(const QString& text, Separators separators)
{
    QString plain = text;
    if (!separators.thousand.isNull())
        plain.remove(separators.thousand);
    plain = plain.trimmed();

    // Rewrite into the C notation, refusing every character the notation does not allow.
    std::string ascii;
    ascii.reserve(std::size_t(plain.size()));
    qsizetype i = 0;
    if (i < plain.size() && (plain.at(i) == u'-' || plain.at(i) == u'+'))
        ascii += char(plain.at(i++).unicode());
    int mantissaDigits = 0;
    while (i < plain.size() && isDigit(plain.at(i))) {
        ascii += char(plain.at(i++).unicode());
        ++mantissaDigits;
    }
    if (i < plain.size() && plain.at(i) == separators.decimal) {
        ascii += '.';
        ++i;
        while (i < plain.size() && isDigit(plain.at(i))) {
            ascii += char(plain.at(i++).unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < plain.size() && (plain.at(i) == u'e' || plain.at(i) == u'E')) {
        ascii += 'e';
        ++i;
        if (i < plain.size() && (plain.at(i) == u'-' || plain.at(i) == u'+'))
            ascii += char(plain.at(i++).unicode());
        int exponentDigits = 0;
        while (i < plain.size() && isDigit(plain.at(i))) {
            ascii += char(plain.at(i++).unicode());
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return 0;
    }
    if (i != plain.size())
        return 0;

    // from_chars takes no leading plus.
    const char* first = ascii.data() + (ascii.front() == '+' ? 1 : 0);
    long double value = 0;
    const auto result = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return 0;
    return value;
}

QString FixedDecimalText(long double value, int decimals, QChar decimal)
{
    const auto [whole, fraction] = fixedDigits(std::fabs(value), decimals);
    return signedText(value, whole, fraction, QString::fromLatin1(whole.data(), qsizetype(whole.size())), decimal);
}

QString GroupedDecimalText(long double value, int decimals, Separators separators)
{
    const auto [whole, fraction] = fixedDigits(std::fabs(value), decimals);
    QString grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0 && !separators.thousand.isNull())
            grouped += separators.thousand;
        grouped += QLatin1Char(whole[i]);
    }
    return signedText(value, whole, fraction, grouped, separators.decimal);
}

QString DecimalDisplayText(long double value, const EditRules& rules, Separators separators)
{
    if (rules.type == EditTypes::etMoney)
        return GroupedDecimalText(value, rules.precision, separators);
    return FixedDecimalText(value, rules.precision, separators.decimal);
}

QString NormaliseEditText(const QString& value, const EditRules& rules, Separators separators)
{
    if (value.isEmpty())
        return value;
    QString v = value;
    const NumberTextKind kind = ClassifyNumberText(v, separators);
    switch (rules.type) {
    case EditTypes::etNumeric:
        if (kind != NumberTextKind::Integer)
            v = QStringLiteral("0");
        break;
    case EditTypes::etFloat:
    case EditTypes::etMoney:
        if (kind == NumberTextKind::NotANumber || kind == NumberTextKind::Hexadecimal)
            v = QStringLiteral("0");
        break;
    case EditTypes::etHex:
        if (kind != NumberTextKind::Integer && kind != NumberTextKind::Hexadecimal)
            v = QStringLiteral("0");
        break;
    default:
        break;
    }
    if (rules.precision > 0 && (rules.type == EditTypes::etFloat || rules.type == EditTypes::etMoney))
        v = DecimalDisplayText(TextToFloat(v, separators), rules, separators);
    if (rules.type == EditTypes::etHex)
        v = v.toUpper();
    return v;
}

CharDecision DecideTypedCharacter(QChar c, bool ctrlHeld, const EditRules& rules, const EditState& state,
                                  Separators separators)
{
    if (c == kEnter)
        return decide(ctrlHeld ? CharDecision::Consume : CharDecision::EnterKeyPress);
    if (c == kEscape && !rules.canUndo)
        return decide(CharDecision::Standard, c);
    if (ctrlHeld && (c == QChar(3) || c == QChar(22) || c == QChar(24)))
        return decide(CharDecision::Standard, c);
    if (isNumericType(rules.type) && !rules.isSigned && c == kMinus)
        return decide(CharDecision::Consume);
    CharDecision d = decideByType(c, ctrlHeld, rules, state, separators);
    // A read-only field never changes its text from the keyboard.
    if (rules.readOnly && d.action == CharDecision::ReplaceText)
        return decide(CharDecision::Consume);
    return d;
}

PasteDecision DecidePaste(const QString& pasted, int maxLength, const EditRules& rules, const EditState& state,
                          Separators separators)
{
    PasteDecision d;
    if (rules.readOnly)
        return d;
    if (maxLength > 0 && pasted.size() + state.text.size() - state.selLength > maxLength)
        return d;

    QString candidate = state.text;
    candidate.replace(state.selStart, state.selLength, pasted);
    candidate = caseConverted(candidate, rules.type);
    if (state.selLength > 0) {
        d.selStart = state.selStart;
        d.selLength = int(pasted.size());
    } else {
        d.selStart = state.selStart + int(pasted.size());
        d.selLength = 0;
    }
    d.outcome = typeAcceptsPaste(pasted, candidate, rules, separators) ? PasteDecision::Accepted
                                                                       : PasteDecision::SelectionOnly;
    d.candidate = candidate;
    return d;
}

QString MixedCase(const QString& text)
{
    QString result = text;
    bool wordStart = true;
    for (QChar& c : result) {
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = !c.isLetter();
    }
    return result;
}
