// The comparison of two stages against summarising the same two folders, side by side in one
// run: each is timed five times, alternating, after one warm-up of each; the medians are printed.
//
// usage: compare_timing STAGE_A STAGE_B OUT_FOLDER

#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "summary/CsvExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// What the summary's command line does with one folder and a CSV.
void Summarise(const QString& folder, const QString& csv)
{
    const RecordFileList list = FindRecordFiles({folder});
    SummaryRows rows;
    rows.reserve(list.files.size());
    for (const QString& path : list.files)
        rows.append(AssessRecordFile(path, Separators::current()));
    WriteSummaryCsv(csv, rows);
}

void Compare(const QString& a, const QString& b, const QString& csv)
{
    const Comparison comparison = RunComparison(OrderStages({{{a}, {}}, {{b}, {}}}), Separators::current());
    ComputeGroupFigures(comparison);
    ComparisonTable table(comparison, false);
    table.setOrder(ComparisonTable::Order::WorseFirst);
    table.writeCsv(csv);
}

// CPU time of the process (user and system) in ms: steadier than wall time on a busy machine.
double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: compare_timing STAGE_A STAGE_B OUT_FOLDER\n");
        return 2;
    }
    const QDir out(args[3]);
    const auto summaries = [&] {
        Summarise(args[1], out.filePath("a.csv"));
        Summarise(args[2], out.filePath("b.csv"));
    };
    const auto comparison = [&] { Compare(args[1], args[2], out.filePath("compare.csv")); };
    summaries();
    comparison();
    std::vector<double> summaryMs, compareMs, summaryCpu, compareCpu;
    const auto timed = [](const auto& work, std::vector<double>& wall, std::vector<double>& cpu) {
        QElapsedTimer timer;
        timer.start();
        const double cpuFrom = CpuMs();
        work();
        cpu.push_back(CpuMs() - cpuFrom);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    };
    for (int round = 0; round < 5; ++round) {
        timed(summaries, summaryMs, summaryCpu);
        timed(comparison, compareMs, compareCpu);
    }
    const double summary = Median(summaryMs);
    const double compare = Median(compareMs);
    std::printf("wall: two summaries %.0f ms, comparison %.0f ms, ratio %.2f\n", summary, compare,
                compare / summary);
    std::printf("cpu:  two summaries %.0f ms, comparison %.0f ms, ratio %.2f\n", Median(summaryCpu),
                Median(compareCpu), Median(compareCpu) / Median(summaryCpu));
    return 0;
}
