// What the custom widgets tell assistive technology, read through Qt's own accessibility API.
#include "widgets/Accessibility.h"

#include "widgets/AdvEdit.h"
#include "widgets/AdvProgressBar.h"
#include "widgets/GradientLabel.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

TEST(SpokenEditLimits, RussianCountsAndRules)
{
    struct Row { const char* name; TAdvEditType type; int precision; int maxLength; QString spoken; };
    const Row rows[] = {
        {"three digits", EditTypes::etNumeric, 0, 3, "целое число, максимум 3 цифры"},
        {"five digits", EditTypes::etNumeric, 0, 5, "целое число, максимум 5 цифр"},
        {"eleven digits", EditTypes::etNumeric, 0, 11, "целое число, максимум 11 цифр"},
        {"twenty-one digits", EditTypes::etNumeric, 0, 21, "целое число, максимум 21 цифра"},
        {"two decimals", EditTypes::etFloat, 2, 4, "число, 2 знака после запятой, максимум 4 знака"},
        {"free text", EditTypes::etString, 0, 0, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SpokenEditLimits(row.type, row.precision, row.maxLength), row.spoken) << row.name;
}

class AccessibleWidgets : public ::testing::Test
{
protected:
    AccessibleWidgets()
    {
        box.setTitle(QStringLiteral(" Обследуемый "));
        labelled.setEditType(TAdvEdit::etNumeric);
        labelled.setMaxLength(3);
        labelled.setText(QStringLiteral("120"));
        label.setText(QStringLiteral("Сист. АД, мм рт.ст."));
        label.setBuddy(&labelled);
    }

    static QAccessibleInterface* of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
    // Before any widget: an interface once made for an object stays its interface.
    bool installed = (InstallWidgetAccessibility(), true);
    QGroupBox box;
    TAdvEdit labelled{&box};
    TAdvEdit unlabelled{&box};
    QLabel label{&box};
};

TEST_F(AccessibleWidgets, EditFieldIsEditableTextNamedByItsLabelNeverByTheGroupBox)
{
    QAccessibleInterface* edit = of(&labelled);
    EXPECT_EQ(edit->role(), QAccessible::EditableText);
    EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Сист. АД, мм рт.ст."));
    EXPECT_EQ(edit->text(QAccessible::Value), QStringLiteral("120"));
    EXPECT_EQ(edit->text(QAccessible::Description), QStringLiteral("целое число, максимум 3 цифры"));
    ASSERT_NE(edit->textInterface(), nullptr);
    EXPECT_EQ(edit->textInterface()->text(0, edit->textInterface()->characterCount()), QStringLiteral("120"));
    // Qt's own line edit would borrow the group box's title here.
    EXPECT_EQ(of(&unlabelled)->text(QAccessible::Name), QString());

    labelled.setReadOnly(true);
    labelled.setAccessibleDescription(QStringLiteral("АД, исходя из индекса массы"));
    EXPECT_TRUE(edit->state().readOnly);
    EXPECT_EQ(edit->text(QAccessible::Description), QStringLiteral("АД, исходя из индекса массы"));
}

TEST_F(AccessibleWidgets, LevelBarIsAnIndicatorWithItsPositionAsValue)
{
    TAdvProgressBar bar;
    QAccessibleInterface* indicator = of(&bar);
    ASSERT_NE(indicator->valueInterface(), nullptr);
    EXPECT_EQ(indicator->role(), QAccessible::ProgressBar);
    EXPECT_EQ(indicator->valueInterface()->minimumValue().toInt(), 0);
    EXPECT_EQ(indicator->valueInterface()->maximumValue().toInt(), 100);
    bar.setPosition(130);
    EXPECT_EQ(indicator->valueInterface()->currentValue().toInt(), 130);
}

TEST_F(AccessibleWidgets, GradientLabelIsALabelNamedByItsText)
{
    TGradientLabel heading;
    heading.setText(QStringLiteral("О программе   "));
    EXPECT_EQ(of(&heading)->role(), QAccessible::StaticText);
    EXPECT_EQ(of(&heading)->text(QAccessible::Name), QStringLiteral("О программе"));
}

} // namespace
