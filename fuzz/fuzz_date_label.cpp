// Stage labels and folder names through the date reader and the stages' arrangement.
#include "compare/Stages.h"
#include "fuzz/FuzzInput.h"

#include <QDate>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInput in(data, size);
    QList<StageInput> stages;
    for (qsizetype i = 0; i < in.fields.size() && i < 8; ++i) {
        const QString& text = in.fields[i];
        if (const std::optional<int> key = StageDateKey(text))
            FUZZ_CHECK(QDate::isValid(*key / 10000, *key / 100 % 100, *key % 100));
        // Odd options: the text is a folder's name, the label left to the arrangement.
        const bool folder = (in.options >> (i % 8)) & 1;
        stages.append({{QStringLiteral("/s/") + QString::number(i) + u'/' + text}, folder ? QString() : text, !folder});
    }
    const ArrangedStages arranged = ArrangeStages(stages);
    FUZZ_CHECK(arranged.stages.size() == stages.size());
    FUZZ_CHECK(qsizetype(arranged.given.size()) == stages.size());
    QStringList labels;
    for (qsizetype i = 0; i < arranged.stages.size(); ++i) {
        FUZZ_CHECK(arranged.stages[i].paths == stages[arranged.given[std::size_t(i)]].paths);
        FUZZ_CHECK(!labels.contains(arranged.stages[i].label));
        labels << arranged.stages[i].label;
        if (arranged.order.byDate && i > 0)
            FUZZ_CHECK(*StageDate(arranged.stages[i - 1]) <= *StageDate(arranged.stages[i]));
    }
    StageOrderText(arranged.order, labels);
    return 0;
}
