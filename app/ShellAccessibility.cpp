#include "app/ShellAccessibility.h"

#include "app/Bevel.h"
#include "app/Error_Unit.h"
#include "app/GroupBox.h"
#include "app/Panel.h"
#include "app/StatusBar.h"
#include "app/Unit_main.h"
#include "widgets/Accessibility.h"

#include <QAccessibleWidget>

namespace {

class AccessibleGroupBox : public QAccessibleWidget
{
public:
    explicit AccessibleGroupBox(TGroupBox* box) : QAccessibleWidget(box, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QGroupBox*>(widget())->title().trimmed();
        return QAccessibleWidget::text(t);
    }
};

// The status bar's name is the hint it shows, so a reader hears what a sighted user sees there.
class AccessibleStatusBar : public QAccessibleWidget
{
public:
    explicit AccessibleStatusBar(TStatusBar* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return static_cast<QStatusBar*>(widget())->currentMessage();
        return QAccessibleWidget::text(t);
    }
};

class AccessibleInputError : public QAccessibleWidget
{
public:
    explicit AccessibleInputError(TFrmError* window) : QAccessibleWidget(window, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* window = static_cast<const TFrmError*>(widget());
        if (t == QAccessible::Name)
            return window->heading();
        if (t == QAccessible::Description)
            return window->message();
        return QAccessibleWidget::text(t);
    }
};

// Decoration and plain containers: a role and no name (the toolkit would lend them the title of
// the group box around them).
class AccessibleUnnamed : public QAccessibleWidget
{
public:
    AccessibleUnnamed(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? widget()->accessibleName() : QAccessibleWidget::text(t);
    }
};

template <typename Widget, typename Interface, typename... Role>
QAccessibleInterface* Make(const QString& className, QObject* object, Role... role)
{
    if (className != QLatin1String(Widget::staticMetaObject.className()))
        return nullptr;
    if (auto* widget = qobject_cast<Widget*>(object))
        return new Interface(widget, role...);
    return nullptr;
}

QAccessibleInterface* ShellFactory(const QString& className, QObject* object)
{
    if (auto* box = Make<TGroupBox, AccessibleGroupBox>(className, object))
        return box;
    if (auto* bar = Make<TStatusBar, AccessibleStatusBar>(className, object))
        return bar;
    if (auto* error = Make<TFrmError, AccessibleInputError>(className, object))
        return error;
    if (auto* window = Make<TForm1, QAccessibleWidget>(className, object, QAccessible::Window))
        return window;
    if (auto* bevel = Make<TBevel, AccessibleUnnamed>(className, object, QAccessible::Separator))
        return bevel;
    return Make<TPanel, AccessibleUnnamed>(className, object, QAccessible::Pane);
}

} // namespace

void InstallShellAccessibility()
{
    InstallWidgetAccessibility();
    static const bool installed = [] {
        QAccessible::installFactory(&ShellFactory);
        return true;
    }();
    (void)installed;
}
