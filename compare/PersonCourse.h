#pragma once

#include "compare/Comparison.h"

#include <optional>

enum class LevelDirection
{
    Better,
    Same,
    Worse
};

// A person from the first stage to the last, both assessed (one file each): the change of ИФИ
// in hundredths, from the two-decimal values as shown, and where the level went (a lower level
// is better). Empty when the person lacks an assessed value in the first or in the last stage.
struct PersonCourse
{
    std::optional<int> changeHundredths;
    std::optional<LevelDirection> direction;
    std::optional<AdaptationLevel> firstLevel;
    std::optional<AdaptationLevel> lastLevel;
};

// The index as shown ("2,35", "-0,10"; any one decimal separator) in hundredths, exactly.
std::optional<int> ShownHundredths(const QString& shown);

PersonCourse CourseOf(const Comparison& comparison, const ComparedPerson& person);

// "лучше", "так же", "хуже".
QString DirectionText(LevelDirection direction);

// Hundredths as a two-decimal number with the regional decimal separator: -35 -> "-0,35".
QString HundredthsText(int hundredths);
