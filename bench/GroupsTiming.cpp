// Groups by sex and age band against the plain summary of the same folder, side by side in one
// run: each timed five times, alternating, after one warm-up of each; the medians are printed.
// With "once", only the grouping runs, once, and the process's peak memory is printed.
//
// usage: groups_timing FOLDER [once]

#include "groups/GroupsComputation.h"
#include "groups/GroupsText.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

SummaryRows ReadFolder(const QString& folder)
{
    const RecordFileList list = FindRecordFiles({folder});
    SummaryRows rows;
    rows.reserve(list.files.size());
    for (const QString& path : list.files)
        rows.append(AssessRecordFile(path, Separators::current()));
    return rows;
}

// What the summary's command line does with one folder: every file assessed, then counted.
qsizetype Summarise(const QString& folder)
{
    const SummaryRows rows = ReadFolder(folder);
    return CountsLines(CountRows(rows)).size();
}

qsizetype Group(const QString& folder)
{
    const std::vector<GroupSource> sources{{QStringLiteral("группа"), ReadFolder(folder)}};
    const GroupsResult result =
        ComputeGroups(sources, Grouping{{GroupingKey::Sex, GroupingKey::AgeBand}, DefaultAgeBands()});
    return GroupsLines(result).size();
}

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
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
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: groups_timing FOLDER [once]\n");
        return 2;
    }
    if (args.size() > 2 && args[2] == QStringLiteral("once")) {
        QElapsedTimer timer;
        timer.start();
        Group(args[1]);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("grouped once in %.0f ms, peak memory %.1f MiB\n", double(timer.nsecsElapsed()) / 1e6,
                    double(usage.ru_maxrss) / 1024.0);
        return 0;
    }
    Summarise(args[1]);
    Group(args[1]);
    std::vector<double> summaryMs, groupMs, summaryCpu, groupCpu;
    const auto timed = [](const auto& work, std::vector<double>& wall, std::vector<double>& cpu) {
        QElapsedTimer timer;
        timer.start();
        const double cpuFrom = CpuMs();
        work();
        cpu.push_back(CpuMs() - cpuFrom);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    };
    for (int round = 0; round < 5; ++round) {
        timed([&] { Summarise(args[1]); }, summaryMs, summaryCpu);
        timed([&] { Group(args[1]); }, groupMs, groupCpu);
    }
    std::printf("wall: summary %.0f ms, groups %.0f ms, ratio %.2f\n", Median(summaryMs), Median(groupMs),
                Median(groupMs) / Median(summaryMs));
    std::printf("cpu:  summary %.0f ms, groups %.0f ms, ratio %.2f\n", Median(summaryCpu), Median(groupCpu),
                Median(groupCpu) / Median(summaryCpu));
    return 0;
}
