// The edit field's rules on arbitrary texts: classification, text to number, the text setter's
// normalisation, typed characters and pastes.
#include "fuzz/FuzzInput.h"
#include "core/EditRules.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool isDigitsOnly(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInput in(data, size);
    const bool commaDecimal = !(in.options & 1);
    const Separators separators{commaDecimal ? QChar(u',') : QChar(u'.'),
                                (in.options & 2) ? QChar(0x00A0)
                                                 : (commaDecimal ? QChar(u'.') : QChar(u','))};
    const QString text = in.field(0);
    const QString typed = in.field(1);

    (void)ClassifyNumberText(text, separators);
    (void)TextToFloat(text, separators);

    EditRules numeric;
    numeric.type = EditTypes::etNumeric;
    EditRules decimal;
    decimal.type = EditTypes::etFloat;
    decimal.precision = 2;

    // Normalising is idempotent: what the setter shows, it shows unchanged when assigned again.
    for (const EditRules& rules : {numeric, decimal}) {
        const QString shown = NormaliseEditText(text, rules, separators);
        FUZZ_CHECK(NormaliseEditText(shown, rules, separators) == shown);
        FUZZ_CHECK(text.isEmpty() == shown.isEmpty());
    }
    const QString number = NormaliseEditText(text, numeric, separators);
    FUZZ_CHECK(number.isEmpty() || ClassifyNumberText(number, separators) == NumberTextKind::Integer);

    // Typing into an integer field never lets anything but digits through without Ctrl.
    EditState state{number, int(in.options >> 4) % (int(number.size()) + 1), 0};
    for (const QChar c : typed) {
        const CharDecision d = DecideTypedCharacter(c, false, numeric, state, separators);
        if (d.action == CharDecision::Standard)
            FUZZ_CHECK(c.isDigit() || c == QChar(8) || c == QChar(9));
        (void)DecideTypedCharacter(c, false, decimal, state, separators);
    }

    // An accepted paste into an integer field is digits only and within the length limit.
    const int maxLength = (in.options >> 2) & 3 ? 3 : 0;
    const PasteDecision paste = DecidePaste(typed, maxLength, numeric, state, separators);
    if (paste.outcome == PasteDecision::Accepted) {
        FUZZ_CHECK(isDigitsOnly(paste.candidate));
        FUZZ_CHECK(maxLength == 0 || paste.candidate.size() <= maxLength);
    }
    FUZZ_CHECK(paste.selStart >= 0 && paste.selLength >= 0);
    (void)DecidePaste(typed, 4, decimal, state, separators);
    return 0;
}
