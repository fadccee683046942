#include "widgets/Accessibility.h"

#include "widgets/AdvEdit.h"
#include "widgets/AdvProgressBar.h"
#include "widgets/GradientLabel.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

namespace {

// "1 цифра", "3 цифры", "5 цифр", "21 цифра", "12 цифр".
QString RussianCount(int n, const char* one, const char* few, const char* many)
{
    const int lastTwo = n % 100;
    const int last = n % 10;
    const char* word = (lastTwo >= 11 && lastTwo <= 14) ? many : last == 1 ? one : (last >= 2 && last <= 4) ? few : many;
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

QString JoinedDescription(const QString& own, const QString& more)
{
    if (own.isEmpty())
        return more;
    if (more.isEmpty())
        return own;
    return own + QStringLiteral(" ") + more;
}

// The edit field: editable text whose value is the text shown, its rules said in the description,
// and the text interface that screen readers read and follow the caret through.
class AccessibleAdvEdit : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleAdvEdit(TAdvEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return OwnAccessibleName(edit());
        case QAccessible::Value:
            return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
        case QAccessible::Description:
            // Limits only matter to someone who can type.
            return JoinedDescription(
                edit()->accessibleDescription(),
                edit()->isReadOnly() ? QString()
                                     : SpokenEditLimits(edit()->editType(), edit()->precision(), edit()->maxLength()));
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = edit()->isReadOnly();
        s.editable = !s.readOnly;
        s.selectableText = true;
        s.focusable = true;
        s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        return s;
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + edit()->selectionLength();
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int offset) const override
    {
        // Measured from the text's start; the fields are short enough never to scroll.
        const QFontMetrics metrics(edit()->font());
        const QString all = shown();
        const QRect area = edit()->contentsRect().marginsRemoved(edit()->textMargins());
        const int x = area.left() + metrics.horizontalAdvance(all.left(offset));
        const int width = offset < all.size() ? metrics.horizontalAdvance(all.at(offset)) : 0;
        const QRect local(x, area.top(), width, area.height());
        return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    TAdvEdit* edit() const { return static_cast<TAdvEdit*>(widget()); }
    QString shown() const
    {
        return edit()->echoMode() == QLineEdit::Normal ? edit()->QLineEdit::text() : QString();
    }
};

// The level bar: an indicator whose value is its position, 0 empty and 100 full. Its name is
// given by the window, which knows what the bar stands for.
class AccessibleLevelBar : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleLevelBar(TAdvProgressBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return OwnAccessibleName(widget());
        case QAccessible::Value:
            return QString::number(bar()->position());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

    QVariant currentValue() const override { return bar()->position(); }
    // An indicator: nobody sets it but the program.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TAdvProgressBar* bar() const { return static_cast<TAdvProgressBar*>(widget()); }
};

// The gradient label: a label whose name is its text.
class AccessibleGradientLabel : public QAccessibleWidget
{
public:
    explicit AccessibleGradientLabel(TGradientLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString own = widget()->accessibleName();
        // Trailing blanks only place the text.
        return own.isEmpty() ? static_cast<QLabel*>(widget())->text().trimmed() : own;
    }
};

template <typename Widget, typename Interface>
QAccessibleInterface* Make(const QString& className, QObject* object)
{
    if (className != QLatin1String(Widget::staticMetaObject.className()))
        return nullptr;
    if (auto* widget = qobject_cast<Widget*>(object))
        return new Interface(widget);
    return nullptr;
}

QAccessibleInterface* WidgetFactory(const QString& className, QObject* object)
{
    if (QAccessibleInterface* edit = Make<TAdvEdit, AccessibleAdvEdit>(className, object))
        return edit;
    if (QAccessibleInterface* bar = Make<TAdvProgressBar, AccessibleLevelBar>(className, object))
        return bar;
    return Make<TGradientLabel, AccessibleGradientLabel>(className, object);
}

} // namespace

void InstallWidgetAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&WidgetFactory);
        return true;
    }();
    (void)installed;
}

QString SpokenEditLimits(TAdvEditType type, int precision, int maxLength)
{
    QStringList parts;
    switch (type) {
    case EditTypes::etNumeric:
        parts << QStringLiteral("целое число");
        if (maxLength > 0)
            parts << QStringLiteral("максимум ") + RussianCount(maxLength, "цифра", "цифры", "цифр");
        return parts.join(QStringLiteral(", "));
    case EditTypes::etFloat:
    case EditTypes::etMoney:
        parts << QStringLiteral("число");
        if (precision > 0)
            parts << RussianCount(precision, "знак", "знака", "знаков") + QStringLiteral(" после запятой");
        break;
    case EditTypes::etHex:
        parts << QStringLiteral("шестнадцатеричное число");
        break;
    default:
        break;
    }
    if (maxLength > 0)
        parts << QStringLiteral("максимум ") + RussianCount(maxLength, "знак", "знака", "знаков");
    return parts.join(QStringLiteral(", "));
}

QString OwnAccessibleName(const QWidget* widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr)
        return {};
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == widget)
            return label->text().remove(QLatin1Char('&')).trimmed();
    return {};
}
