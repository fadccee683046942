// Costs of one calculation and of one save and reopen, as the commands run them.
#include "core/Assessment.h"
#include "core/NumberText.h"
#include "core/RegionalSettings.h"
#include "core/SubjectRecord.h"
#include "records/RecordFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

SubjectRecord exampleRecord()
{
    SubjectRecord r;
    r.Systolic = 140;
    r.Diastolic = 90;
    r.Pulse = 80;
    r.Weight = 95;
    r.Height = 180;
    r.Age = 55;
    return r;
}

void BM_Assess(benchmark::State& state)
{
    SubjectRecord record = exampleRecord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(record);
        benchmark::DoNotOptimize(Assess(record));
    }
}
BENCHMARK(BM_Assess);

void BM_ParseAssessAndShowIndex(benchmark::State& state)
{
    ScopedRegionalSettings comma(u',', QChar(0x00A0));
    for (auto _ : state) {
        const SubjectRecord record = ParseSubject(QStringLiteral("Name"), QStringLiteral("140"), QStringLiteral("90"),
                                                  QStringLiteral("80"), Sex::Male, QStringLiteral("95"),
                                                  QStringLiteral("180"), QStringLiteral("55,5"));
        benchmark::DoNotOptimize(FloatToText(Assess(record).AdaptationIndex));
    }
}
BENCHMARK(BM_ParseAssessAndShowIndex);

void BM_RecordFileRoundTrip(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("subject.vnl"));
    const SubjectTexts texts {QStringLiteral("Петрова Анна Сергеевна"), "120", "80", "72", Sex::Female, "65", "170", "30,5"};
    for (auto _ : state) {
        WriteRecordFile(path, texts, [] {});
        RecordFileReader reader(path);
        int slotsRead = 0;
        reader.read([&](int, const QString& text) { slotsRead += int(text.size() > 0); });
        benchmark::DoNotOptimize(slotsRead);
    }
}
BENCHMARK(BM_RecordFileRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
