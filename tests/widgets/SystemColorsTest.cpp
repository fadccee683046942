#include "widgets/SystemColors.h"

#include "widgets/Fonts.h"
#include "widgets/GradientLabel.h"
#include "widgets/VisualStyles.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStyle>
#include <gtest/gtest.h>

TEST(SystemColors, PlainValuesAreBlueGreenRed)
{
    EXPECT_EQ(ResolveColor(0x00F7E0CC), QColor(204, 224, 247));
    EXPECT_EQ(ResolveColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ResolveColor(clNone).alpha(), 0);
}

TEST(SystemColors, ReferencesFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    palette.setColor(QPalette::Base, QColor(10, 11, 12));
    palette.setColor(QPalette::Light, QColor(13, 14, 15));
    palette.setColor(QPalette::Dark, QColor(16, 17, 18));
    struct Row { TColor color; QColor rgb; };
    const Row rows[] = {
        {clBtnFace, QColor(1, 2, 3)},       {clWindowText, QColor(4, 5, 6)}, {clHighlight, QColor(7, 8, 9)},
        {clWindow, QColor(10, 11, 12)},     {clBtnHighlight, QColor(13, 14, 15)},
        {clBtnShadow, QColor(16, 17, 18)},  {clSystemColor | 200, QColor(Qt::black)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ResolveColor(row.color, palette), row.rgb) << std::hex << row.color;
}

TEST(Fonts, LayoutFontNamesResolveToInstalledFaces)
{
    RegisterFontSubstitutes();
    RegisterFontSubstitutes();
    const QStringList families = QFontDatabase::families();
    for (const QString& name : {QStringLiteral("MS Sans Serif"), QStringLiteral("Verdana")}) {
        const QStringList substitutes = QFont::substitutes(name);
        ASSERT_FALSE(substitutes.isEmpty()) << name.toStdString();
        EXPECT_TRUE(families.contains(substitutes.first(), Qt::CaseInsensitive)) << name.toStdString();
        EXPECT_EQ(substitutes.count(substitutes.first()), 1);
    }
}

TEST(VisualStyles, ThemedUnlessTheClassicStyleRuns)
{
    EXPECT_EQ(VisualStylesActive(), QApplication::style()->name().compare("windows", Qt::CaseInsensitive) != 0);
    TGradientLabel label;
    EXPECT_EQ(label.transparent(), VisualStylesActive());
}
