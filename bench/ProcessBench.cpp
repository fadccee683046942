// Times whole processes side by side: runs program A and program B in turn (A B A B ...), each
// to its end, and reports the median wall time, the median peak resident memory and the ratio
// A/B of both. Usage: process_bench RUNS PROGRAM_A PROGRAM_B
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample
{
    double wallMs = 0;
    double peakKiB = 0;
};

Sample runOnce(const char* program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not run to a clean end\n", program);
        std::exit(2);
    }
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            double(usage.ru_maxrss)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM_A PROGRAM_B\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    runOnce(argv[2]); // warm the file cache for both
    runOnce(argv[3]);

    std::vector<double> wallA, wallB, peakA, peakB, wallRatio, peakRatio;
    for (int i = 0; i < runs; ++i) {
        const Sample a = runOnce(argv[2]);
        const Sample b = runOnce(argv[3]);
        wallA.push_back(a.wallMs);
        wallB.push_back(b.wallMs);
        peakA.push_back(a.peakKiB);
        peakB.push_back(b.peakKiB);
        wallRatio.push_back(a.wallMs / b.wallMs);
        peakRatio.push_back(a.peakKiB / b.peakKiB);
    }
    std::printf("runs each:          %d\n", runs);
    std::printf("start-up, median:   %.1f ms vs %.1f ms, ratio %.2f\n", median(wallA),
                median(wallB), median(wallRatio));
    std::printf("peak memory, median: %.0f KiB vs %.0f KiB, ratio %.2f\n", median(peakA),
                median(peakB), median(peakRatio));
    return 0;
}
