#include "compare/Stages.h"
#include "compare/PersonMatcher.h"
#include "tests/core/RowName.h"

#include <gtest/gtest.h>

namespace {

struct OrderRow
{
    const char* name;
    QStringList labels; // in the order given
    QStringList expected;
};

class StageOrder : public ::testing::TestWithParam<OrderRow>
{
};

TEST_P(StageOrder, FollowsDatesOnlyWhenEveryLabelIsOne)
{
    QList<StageInput> stages;
    for (const QString& label : GetParam().labels)
        stages.append({{QStringLiteral("/x/") + label}, label});
    QStringList ordered;
    for (const StageInput& stage : OrderStages(stages))
        ordered << stage.label;
    EXPECT_EQ(ordered, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, StageOrder,
    ::testing::Values(
        OrderRow{"three_forms",
                 {"2027-05", "01.09.2026", "2026-12-31"},
                 {"01.09.2026", "2026-12-31", "2027-05"}},
        OrderRow{"month_is_first_day_equal_keeps_order",
                 {"2026-09-01", "2026-09"},
                 {"2026-09-01", "2026-09"}},
        OrderRow{"mixed_keeps_given", {"май", "2026-09"}, {"май", "2026-09"}},
        OrderRow{"invalid_date_is_not_one", {"2026-13", "2026-01"}, {"2026-13", "2026-01"}},
        OrderRow{"words_keep_given", {"после", "до"}, {"после", "до"}}),
    RowName());

TEST(StageLabel, DefaultsToTheFolderName)
{
    EXPECT_EQ(DefaultStageLabel({"/data/класс 5А/"}), "класс 5А");
    EXPECT_EQ(DefaultStageLabel({"/data/a.vnl", "/data/b.vnl"}), "a.vnl…");
    EXPECT_EQ(OrderStages({{{"/data/весна"}, " "}}).front().label, "весна");
}

} // namespace
