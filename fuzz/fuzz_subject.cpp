// Entry texts through conversion, acceptance and assessment.
#include "core/Assessment.h"
#include "core/NumberText.h"
#include "core/RegionalSettings.h"
#include "core/SubjectRecord.h"
#include "fuzz/FuzzInput.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInput in(data, size);
    const QChar decimal = (in.options & 1) ? QChar(u'.') : QChar(u',');
    const QChar thousand = (in.options & 2) ? QChar(0x00A0) : QChar(u' ');
    ScopedRegionalSettings settings(decimal, thousand);
    const Sex sex = (in.options & 4) ? Sex::Female : Sex::Male;

    SubjectRecord record;
    try {
        record = ParseSubject(in.field(0), in.field(1), in.field(2), in.field(3), sex, in.field(4),
                              in.field(5), in.field(6));
    } catch (const EConvertError&) {
        return 0;
    }
    FUZZ_CHECK(std::isfinite(record.Age));
    if (!IsAcceptable(record))
        return 0;

    const AssessmentResult r = Assess(record);
    // The ranges every accepted record stays within.
    FUZZ_CHECK(r.AdaptationIndex >= -0.83 && r.AdaptationIndex <= 10.19);
    FUZZ_CHECK(r.LevelBarPosition >= -21 && r.LevelBarPosition <= 254);
    FUZZ_CHECK(r.KerdoIndex >= -575.0 && r.KerdoIndex <= 80.0);
    FUZZ_CHECK(r.ExpectedSystolic >= 79 && r.ExpectedSystolic <= 547);
    FUZZ_CHECK(r.ExpectedDiastolic >= 49 && r.ExpectedDiastolic <= 362);
    FUZZ_CHECK(r.OptimalWeight >= 10 && r.OptimalWeight <= 130);
    FUZZ_CHECK(!LevelText(r.Level).isEmpty() && !BalanceText(r.Balance).isEmpty());

    const QString indexText = FloatToText(r.AdaptationIndex);
    FUZZ_CHECK(!indexText.isEmpty() && indexText.size() <= 24);

    double anyDouble = 0;
    if (size >= sizeof anyDouble) {
        std::memcpy(&anyDouble, data + size - sizeof anyDouble, sizeof anyDouble);
        FUZZ_CHECK(!FloatToText(anyDouble).isEmpty());
    }
    return 0;
}
