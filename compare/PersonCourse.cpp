#include "compare/PersonCourse.h"

#include "core/RegionalSettings.h"

#include <cstdlib>

namespace {

const SummaryRow* AssessedRow(const Comparison& comparison, const ComparedPerson& person,
                              std::size_t stage)
{
    const SummaryRow* row = comparison.singleRow(person, stage);
    if (!row || row->outcome != RowOutcome::Assessed || !ShownHundredths(row->adaptationIndexShown))
        return nullptr;
    return row;
}

} // namespace

std::optional<int> ShownHundredths(const QString& shown)
{
    const QString text = shown.trimmed();
    const bool negative = text.startsWith(u'-');
    const qsizetype from = negative ? 1 : 0;
    // digits, one separator, exactly two digits
    if (text.size() - from < 4 || text[text.size() - 3].isDigit())
        return std::nullopt;
    int value = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (i == text.size() - 3)
            continue;
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9' || value > 1'000'000)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

PersonCourse CourseOf(const Comparison& comparison, const ComparedPerson& person)
{
    PersonCourse course;
    if (comparison.stages.size() < 2)
        return course;
    const SummaryRow* first = AssessedRow(comparison, person, 0);
    const SummaryRow* last = AssessedRow(comparison, person, comparison.stages.size() - 1);
    if (!first || !last)
        return course;
    course.changeHundredths = *ShownHundredths(last->adaptationIndexShown) -
                              *ShownHundredths(first->adaptationIndexShown);
    course.firstLevel = first->result.Level;
    course.lastLevel = last->result.Level;
    const int step = int(last->result.Level) - int(first->result.Level);
    course.direction = step < 0   ? LevelDirection::Better
                       : step > 0 ? LevelDirection::Worse
                                  : LevelDirection::Same;
    return course;
}

QString DirectionText(LevelDirection direction)
{
    switch (direction) {
    case LevelDirection::Better:
        return QStringLiteral("лучше");
    case LevelDirection::Same:
        break;
    case LevelDirection::Worse:
        return QStringLiteral("хуже");
    }
    return QStringLiteral("так же");
}

QString HundredthsText(int hundredths)
{
    const int magnitude = std::abs(hundredths);
    return QStringLiteral("%1%2%3%4")
        .arg(hundredths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(regionalSettings().decimalSeparator())
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}
