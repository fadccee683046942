#pragma once

#include <QChar>
#include <QObject>
#include <QString>

// The input rules of the validated edit field, apart from any widget: number
// classification, text-to-number conversion, fixed-decimal formatting, normalisation of
// assigned text, and the decisions for typed characters and pasted text. Everything that shows
// or takes a field's text (the edit field, the group summary, the group entry) uses these.

// What kind of text a field takes. The edit field publishes it as its EditType property.
namespace EditTypes {
Q_NAMESPACE
enum TAdvEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase,
    etPassword, etMoney, etRange, etHex, etAlphaNumeric, etValidChars
};
Q_ENUM_NS(TAdvEditType)
} // namespace EditTypes
using EditTypes::TAdvEditType;

// The decimal and thousand separators in force for one operation.
struct Separators
{
    QChar decimal;
    QChar thousand; // null when the locale has none

    // Read from the regional settings at this moment. Worker threads get them handed over
    // instead: the provider is the GUI thread's.
    static Separators current();
};

enum class NumberTextKind { NotANumber, Integer, Decimal, Hexadecimal };

// Classifies a text by its characters: "-12" and even "1-2" are integer text, "12,5" and
// "1.5" decimal text whatever the separators, "1A" hexadecimal text; the empty text, a
// text with two minus signs or two decimal separators is not a number.
NumberTextKind ClassifyNumberText(const QString& text, Separators separators);

// The value of a text: thousand separators are removed, the rest must be a number written
// with the decimal separator (optional blanks around, optional sign, optional exponent).
// Anything else gives 0. Converted at extended precision.
long double TextToFloat(const QString& text, Separators separators);

// `value` in fixed-point notation with exactly `decimals` decimals and no thousand
// separators: rounded first to 18 significant digits (halves to even), then cut after
// `decimals` decimals, the last kept digit raised when the first dropped one is 5 or more.
// A value that shows as zero has no sign.
QString FixedDecimalText(long double value, int decimals, QChar decimal);

// The same value with `thousand` between groups of three integer digits.
QString GroupedDecimalText(long double value, int decimals, Separators separators);

// The settings of a field that its rules read.
struct EditRules
{
    TAdvEditType type = EditTypes::etString;
    int precision = 0;
    bool isSigned = false;
    bool canUndo = true;
    bool readOnly = false;
    QString validChars;
};

// The text and selection the rules see (selection start and length in characters; the
// caret is the selection start).
struct EditState
{
    QString text;
    int selStart = 0;
    int selLength = 0;
};

// A value as a field with Precision above 0 shows it: fixed decimals for etFloat, the same
// with thousand separators for etMoney. Other types get the value's fixed-decimal text.
QString DecimalDisplayText(long double value, const EditRules& rules, Separators separators);

// The text the text setter displays for an assigned value (prefix and suffix aside).
QString NormaliseEditText(const QString& value, const EditRules& rules, Separators separators);

// What happens to one typed character.
struct CharDecision
{
    enum Action {
        Consume,         // dropped: nothing happens
        Standard,        // handed to the edit control as `character`
        OverwriteNext,   // the character after the caret is selected, then `character` is handed on
        EnterKeyPress,   // Enter: the key-press event is raised, then the character is dropped
        MoveCaret,       // dropped; the caret goes to `caret`
        ReplaceText,     // dropped; the text becomes `text`, the caret `caret`, the field counts as modified
    };
    Action action = Consume;
    QChar character;
    QString text;
    int caret = 0;
    bool recaseAfter = false; // mixed case: the whole text is re-cased after the character
};

CharDecision DecideTypedCharacter(QChar c, bool ctrlHeld, const EditRules& rules, const EditState& state,
                                  Separators separators);

// The outcome of a paste request with clipboard text `pasted`.
struct PasteDecision
{
    enum Outcome {
        Refused,      // nothing changes
        SelectionOnly,// the type refused the text: only the selection below is applied
        Accepted,     // `candidate` goes through the text setter, then the selection is applied
    };
    Outcome outcome = Refused;
    QString candidate;
    int selStart = 0;
    int selLength = 0;
};

PasteDecision DecidePaste(const QString& pasted, int maxLength, const EditRules& rules, const EditState& state,
                          Separators separators);

// Words start with a capital and continue in lower case.
QString MixedCase(const QString& text);
