#pragma once

#include "core/EditRules.h"

#include <QString>

class QWidget;

// How the custom-painted widgets speak to assistive technology: one QAccessibleWidget
// subclass each (the edit field as editable text with its value and its rules' limits, the
// level bar as a level indicator with a value, the gradient label as a label), made by a factory
// that both programs install once at start-up.
void InstallWidgetAccessibility();

// What a field's rules let the user type, said in Russian: "целое число, максимум 3 цифры".
// Empty for a free-text field without a length limit.
QString SpokenEditLimits(TAdvEditType type, int precision, int maxLength);

// A control's name as a sighted user reads it: its own accessible name, else the text of a label
// that names it as its buddy. Never the title of the group box around it.
QString OwnAccessibleName(const QWidget* widget);
