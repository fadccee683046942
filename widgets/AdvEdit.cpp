#include "widgets/AdvEdit.h"

#include "core/Cp1251.h"
#include "core/EditRules.h"
#include "widgets/SystemColors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int kBevel = 2; // flat bevel: an outer shadow line and an inner face line

// Alt without Ctrl makes a key a menu key: it types nothing. (Ctrl+Alt is AltGr on some
// layouts and types its character.)
bool isMenuKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier);
}

// The characters a key event stands for, as a character message would carry them.
// Keys that produce no character (arrows, Delete, function keys, menu keys) give none.
QString charactersOf(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (isMenuKey(event))
        return {};
    switch (key) {
    case Qt::Key_Backspace:
        return QString(QChar(8));
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(13));
    case Qt::Key_Escape:
        return QString(QChar(27));
    default:
        break;
    }
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QString(QChar(char16_t(key - Qt::Key_A + 1)));
        return {};
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F)
        return {};
    return ReplaceNonCp1251(text);
}

Qt::Alignment qtAlignment(TAdvEdit::TEditAlign align)
{
    switch (align) {
    case TAdvEdit::eaRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TAdvEdit::eaCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

TAdvEdit::TAdvEdit(QWidget* parent) : QLineEdit(parent)
{
    // MaxLength limits the user only; the program's texts are never cut.
    QLineEdit::setMaxLength(std::numeric_limits<int>::max());
    setFrame(false);
    setTextMargins(kBevel, kBevel, kBevel, kBevel);
    setDragEnabled(false);
    setAcceptDrops(false);
    // Every character goes through the key rules; composed input would bypass them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAutoFillBackground(true);
    // The line edit reports every edit, even a selection replaced by the same text; only a
    // text that differs from the one shown before is a change.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& shown) {
        if (shown == m_shownText)
            return;
        m_shownText = shown;
        emit changed();
    });
    applyColors();
}

QString TAdvEdit::text() const
{
    QString shown = QLineEdit::text();
    if (!m_prefix.isEmpty() && shown.startsWith(m_prefix))
        shown.remove(0, m_prefix.size());
    if (!m_suffix.isEmpty())
        shown.chop(m_suffix.size());
    return shown;
}

void TAdvEdit::setText(const QString& value)
{
    EditRules rules;
    rules.type = m_editType;
    rules.precision = m_precision;
    setDisplayedText(m_prefix + NormaliseEditText(value, rules, Separators::current()) + m_suffix);
}

void TAdvEdit::setDisplayedText(const QString& displayed)
{
    const bool modified = isModified();
    if (displayed != QLineEdit::text())
        QLineEdit::setText(displayed);
    setModified(isReadOnly() && modified);
}

void TAdvEdit::setEditType(TAdvEditType value)
{
    m_editType = value;
    update();
}

void TAdvEdit::setPrecision(int value)
{
    m_precision = value;
    update();
}

bool TAdvEdit::tabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TAdvEdit::setTabStop(bool value)
{
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TAdvEdit::setColor(TColor value)
{
    m_restingColor = value;
    m_background = value;
    applyColors();
}

void TAdvEdit::setFontColor(TColor value)
{
    m_fontColor = value;
    applyColors();
}

void TAdvEdit::setDisabledColor(TColor value)
{
    m_disabledColor = value;
    applyColors();
}

void TAdvEdit::setEditAlign(TEditAlign value)
{
    m_editAlign = value;
    if (!hasFocus())
        applyAlignment(value);
}

void TAdvEdit::applyAlignment(TEditAlign align)
{
    if (align != eaDefault)
        setAlignment(qtAlignment(align));
}

void TAdvEdit::applyColors()
{
    const QColor background = ResolveColor(isEnabled() ? m_background : m_disabledColor);
    const QColor foreground = ResolveColor(m_fontColor);
    QPalette colors = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Base, background);
        colors.setColor(group, QPalette::Window, background);
        colors.setColor(group, QPalette::Text, foreground);
    }
    setPalette(colors);
}

void TAdvEdit::selectAllCaretAtStart()
{
    const int length = int(QLineEdit::text().size());
    setSelection(length, -length);
}

// --- keyboard ---------------------------------------------------------------------------

void TAdvEdit::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+V and Shift+Insert alike.
    if (event->matches(QKeySequence::Paste)) {
        pasteFromClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy) && !clipboardRequestAllowed(&TAdvEdit::clipboardCopy)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        const bool allowed = clipboardRequestAllowed(&TAdvEdit::clipboardCut);
        // Nothing can be taken out of a read-only field, but what it shows can still be taken.
        if (allowed && isReadOnly())
            copy();
        if (!allowed || isReadOnly()) {
            event->accept();
            return;
        }
    }

    // The key going down.
    const bool ctrlHeld = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        handleEnterDown(*event);
        break;
    case Qt::Key_Escape:
        if (m_canUndo)
            undoToFocusEntry();
        break;
    case Qt::Key_Delete:
        if (!isReadOnly())
            setModified(true);
        break;
    default:
        break;
    }

    // Then the characters it stands for, each handled once.
    const QString characters = charactersOf(*event);
    if (characters.isEmpty()) {
        // QLineEdit would insert a menu key's text past every rule; leave it to shortcuts.
        if (isMenuKey(*event) && !event->text().isEmpty() && event->text().at(0).isPrint()) {
            event->ignore();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    for (const QChar c : characters)
        handleCharacter(c, ctrlHeld, event);
}

void TAdvEdit::handleEnterDown(const QKeyEvent& event)
{
    if (event.modifiers() & Qt::ControlModifier)
        return;
    // Posted, so that the move happens after the Enter has been handled completely, and
    // judged like any Tab press: Shift goes back, Alt goes nowhere.
    if (m_returnIsTab && isVisible())
        QCoreApplication::postEvent(
            this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, event.modifiers(), QStringLiteral("\t")));
}

void TAdvEdit::handleCharacter(QChar c, bool ctrlHeld, QKeyEvent* event)
{
    EditRules rules;
    rules.type = m_editType;
    rules.precision = m_precision;
    rules.isSigned = m_signed;
    rules.canUndo = m_canUndo;
    rules.readOnly = isReadOnly();
    rules.validChars = m_validChars;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const EditState state{text(), std::max(start - int(m_prefix.size()), 0), int(selectedText().size())};
    const CharDecision decision = DecideTypedCharacter(c, ctrlHeld, rules, state, Separators::current());

    switch (decision.action) {
    case CharDecision::Consume:
        return;
    case CharDecision::EnterKeyPress:
        emit keyPress(c);
        return;
    case CharDecision::MoveCaret:
        setCursorPosition(int(m_prefix.size()) + decision.caret);
        return;
    case CharDecision::ReplaceText:
        setDisplayedText(m_prefix + decision.text + m_suffix);
        setCursorPosition(int(m_prefix.size()) + decision.caret);
        setModified(true);
        return;
    case CharDecision::OverwriteNext:
        setSelection(cursorPosition(), 1);
        insertTyped(decision.character);
        return;
    case CharDecision::Standard:
        break;
    }

    // Standard processing: printable characters are inserted (within MaxLength), control
    // characters go to the line edit as the key they came from.
    if (decision.character.unicode() < 0x20) {
        if (decision.character != QChar(27) || !m_canUndo)
            QLineEdit::keyPressEvent(event);
        return;
    }
    insertTyped(decision.character);
    if (decision.recaseAfter) {
        const int caret = cursorPosition();
        setDisplayedText(m_prefix + MixedCase(text()) + m_suffix);
        setCursorPosition(caret);
        setModified(true);
    }
}

void TAdvEdit::insertTyped(QChar c)
{
    if (isReadOnly())
        return;
    if (m_maxLength > 0 && QLineEdit::text().size() - selectedText().size() + 1 > m_maxLength)
        return;
    insert(QString(c));
}

void TAdvEdit::undoToFocusEntry()
{
    setText(m_focusEntryText);
    if (m_focusFontColor != clNone)
        setFontColor(m_focusFontColor);
    selectAll();
    setModified(false);
}

// --- clipboard --------------------------------------------------------------------------

bool TAdvEdit::clipboardRequestAllowed(void (TAdvEdit::*request)(const QString&, bool&))
{
    bool allow = true;
    emit(this->*request)(selectedText(), allow);
    return allow;
}

void TAdvEdit::pasteFromClipboard()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    pasteText(clipboard->text(QClipboard::Clipboard));
}

void TAdvEdit::pasteText(const QString& pasted)
{
    if (isReadOnly() || pasted.isEmpty())
        return;
    if (!clipboardRequestAllowed(&TAdvEdit::clipboardPaste))
        return;

    EditRules rules;
    rules.type = m_editType;
    rules.precision = m_precision;
    rules.isSigned = m_signed;
    rules.validChars = m_validChars;
    const int prefixLength = int(m_prefix.size());
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const EditState state{text(), std::max(start - prefixLength, 0), int(selectedText().size())};
    const PasteDecision decision =
        DecidePaste(ReplaceNonCp1251(pasted), m_maxLength, rules, state, Separators::current());
    if (decision.outcome == PasteDecision::Refused)
        return;
    if (decision.outcome == PasteDecision::Accepted)
        setText(decision.candidate);

    const int length = int(QLineEdit::text().size());
    const int selStart = std::min(prefixLength + decision.selStart, length);
    const int selEnd = std::min(selStart + decision.selLength, length);
    if (selEnd > selStart)
        setSelection(selStart, selEnd - selStart);
    else
        setCursorPosition(selStart);
    if (decision.outcome == PasteDecision::Accepted)
        setModified(true);
}

QMenu* TAdvEdit::createContextMenu()
{
    QMenu* menu = createStandardContextMenu();
    const auto rebind = [this](QAction* action, auto handler) {
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, handler);
    };
    for (QAction* action : menu->actions()) {
        // The standard menu names its items by the line edit's own (translated) texts.
        const QString item = action->text().section(QLatin1Char('\t'), 0, 0);
        if (item == QLineEdit::tr("&Paste")) {
            rebind(action, &TAdvEdit::pasteFromClipboard);
        } else if (item == QLineEdit::tr("&Copy")) {
            rebind(action, [this] {
                if (clipboardRequestAllowed(&TAdvEdit::clipboardCopy))
                    copy();
            });
        } else if (item == QLineEdit::tr("Cu&t")) {
            rebind(action, [this] {
                if (clipboardRequestAllowed(&TAdvEdit::clipboardCut))
                    cut();
            });
        }
    }
    return menu;
}

void TAdvEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// --- focus ------------------------------------------------------------------------------

void TAdvEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_focusEntryText = text();
    if (m_focusColor != clNone)
        m_background = m_focusColor;
    if (m_fontColor != m_restingFontColor)
        m_restingFontColor = m_fontColor;
    if (m_focusFontColor != clNone)
        m_fontColor = m_focusFontColor;
    applyColors();
    applyAlignment(m_focusAlign);

    if (m_autoSelect) {
        selectAllCaretAtStart();
    } else if (m_editType == etFloat || m_editType == etMoney) {
        const qsizetype decimal = text().indexOf(Separators::current().decimal);
        setCursorPosition(int(m_prefix.size()) + int(decimal < 0 ? 0 : decimal));
    }
}

void TAdvEdit::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        m_background = m_restingColor;
        m_fontColor = m_restingFontColor;
        applyColors();
        applyAlignment(m_editAlign);

        const bool decimalType = m_editType == etFloat || m_editType == etMoney;
        if (decimalType && text().isEmpty()) {
            setText(QStringLiteral("0"));
            setModified(true);
        }
        if (decimalType && m_precision > 0) {
            const bool modified = isModified();
            const Separators separators = Separators::current();
            EditRules rules;
            rules.type = m_editType;
            rules.precision = m_precision;
            setDisplayedText(m_prefix + DecimalDisplayText(TextToFloat(text(), separators), rules, separators)
                             + m_suffix);
            setModified(modified);
        }
        if (m_editType == etNumeric && text().isEmpty())
            setText(QStringLiteral("0"));
    }
    QLineEdit::focusOutEvent(event);
}

// --- mouse ------------------------------------------------------------------------------

void TAdvEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && hasFocus() && hasSelectedText()) {
        const int at = cursorPositionAt(event->position().toPoint());
        const int start = selectionStart();
        if (at >= start && at < start + selectionLength()) {
            // No drag selection from inside the selection; the release places the caret.
            m_pressInSelection = true;
            event->accept();
            return;
        }
    }
    QLineEdit::mousePressEvent(event);
}

void TAdvEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressInSelection) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void TAdvEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressInSelection && event->button() == Qt::LeftButton) {
        m_pressInSelection = false;
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        event->accept();
        return;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard != nullptr && clipboard->supportsSelection()) {
        // The desktop's selection paste obeys the same rule as any other paste.
        deselect();
        pasteText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// --- painting and state -----------------------------------------------------------------

void TAdvEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ApplicationPaletteChange)
        applyColors();
    // QLineEdit switches composed input back on when it stops being read-only.
    if (event->type() == QEvent::ReadOnlyChange)
        setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TAdvEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(ResolveColor(clBtnShadow));
    painter.drawRect(outer);
    painter.setPen(ResolveColor(clBtnFace));
    painter.drawRect(outer.adjusted(1, 1, -1, -1));
}
