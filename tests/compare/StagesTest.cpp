#include "compare/Stages.h"
#include "compare/GroupFigures.h"
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
        OrderRow{"words_keep_given", {"после", "до"}, {"после", "до"}},
        OrderRow{"leading_dates_order", {"2027-05 7А", "01.09.2026 7А"}, {"01.09.2026 7А", "2027-05 7А"}},
        OrderRow{"digit_after_date_is_no_date", {"2027-051", "2026-09"}, {"2027-051", "2026-09"}}),
    RowName());

struct LabelRow
{
    const char* name;
    QList<StageInput> given;
    QStringList labels; // as compared
    bool byDate;
    bool disagree;
};

class StageLabels : public ::testing::TestWithParam<LabelRow>
{
};

TEST_P(StageLabels, AreToldApartAndTheOrderIsTold)
{
    const ArrangedStages arranged = ArrangeStages(GetParam().given);
    QStringList labels;
    for (const StageInput& stage : arranged.stages)
        labels << stage.label;
    EXPECT_EQ(labels, GetParam().labels);
    EXPECT_EQ(arranged.order.byDate, GetParam().byDate);
    EXPECT_EQ(arranged.order.datesDisagree, GetParam().disagree);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, StageLabels,
    ::testing::Values(
        LabelRow{"same_folder_name_gets_parent", {{{"/a/2025-09/7А"}, {}}, {{"/a/2026-05/7А"}, {}}},
                 {"2025-09/7А", "2026-05/7А"}, true, false},
        LabelRow{"typed_repeat_is_marked", {{{"/a/x"}, "7А", true}, {{"/a/y"}, "7А", true}, {{"/a/z"}, "7А (2)", true}},
                 {"7А", "7А (2)", "7А (2) (2)"}, false, false},
        LabelRow{"folder_date_under_word_label", {{{"/a/2027-05 7А"}, "весна", true}, {{"/a/2026-09 7А"}, "осень", true}},
                 {"осень", "весна"}, true, true},
        LabelRow{"given_order_kept_but_dates_disagree", {{{"/a/2027-05"}, {}}, {{"/a/x"}, "итог", true}, {{"/a/2026-09"}, {}}},
                 {"2027-05", "итог", "2026-09"}, false, true}),
    RowName());

// Many notes of one kind make one line with their count; a typed "%4" stays as typed.
TEST(StageNotes, AreGroupedAndLabelsPrintedAsTyped)
{
    Comparison comparison;
    comparison.stages.resize(2);
    comparison.stages[0].input.label = QStringLiteral("7А %4 смена");
    comparison.stages[1].input.label = QStringLiteral("весна");
    for (int i = 0; i < 300; ++i)
        comparison.stages[1].notes.push_back({StageNote::Kind::GivenBefore, 0, QStringLiteral("/f%1").arg(i)});
    comparison.stages[1].notes.push_back({StageNote::Kind::InsideOther, 0, QStringLiteral("/g")});
    EXPECT_EQ(StageNoteLines(comparison, 1),
              QStringList({"уже есть в этапе «7А %4 смена»: путей 300, первый /f0", "/g лежит внутри папки этапа «7А %4 смена»"}));
    comparison.persons.clear();
    const QStringList lines = GroupFiguresLines(comparison, ComputeGroupFigures(comparison));
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("Этап 1 «7А %4 смена»: файлов 0"))) << lines.front().toStdString();
}

TEST(StageLabel, DefaultsToTheFolderName)
{
    EXPECT_EQ(DefaultStageLabel({"/data/класс 5А/"}), "класс 5А");
    EXPECT_EQ(DefaultStageLabel({"/data/a.vnl", "/data/b.vnl"}), "a.vnl…");
    EXPECT_EQ(OrderStages({{{"/data/весна"}, " "}}).front().label, "весна");
}

} // namespace
