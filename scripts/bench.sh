#!/usr/bin/env bash
# Builds the program in Release and measures it; checks the budgets and reports (never fails on them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVORNALE_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j2 --target vornale_bench calculate_bench warning_latency startup_app startup_minimal process_bench \
  summary_export_timing summary_window_timing groups_timing
b=build/bench/bench
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

echo "== Assessment and record files"
"$b/vornale_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo "== Calculate command (fields in, results written, bar painted)"
"$b/calculate_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true | tee build/bench/calculate.txt

echo "== Start-up to first painted window and peak memory: program vs minimal Qt Widgets program"
"$b/process_bench" 20 "$b/startup_app" "$b/startup_minimal" | tee build/bench/startup.txt

echo "== Input error to first warning sample reaching ALSA (default PCM written to a file)"
conf=$(mktemp --suffix=.conf); raw=$(mktemp --suffix=.raw)
printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$raw" > "$conf"
ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$conf" "$b/warning_latency" | tee build/bench/latency.txt
rm -f "$conf" "$raw"

echo "== Group summary: 3 000 files to CSV and to PDF in one process, in turn; the window while it exports"
group=$(mktemp -d)
python3 bench/make_group.py "$group/g" 3000
LC_ALL=ru_RU.UTF-8 "$b/summary_export_timing" "$group/g" "$group/out" 5 | tee build/bench/summary.txt
LC_ALL=ru_RU.UTF-8 "$b/summary_window_timing" "$group/g" "$group/window.pdf" | tee -a build/bench/summary.txt
rm -rf "$group"

echo "== Groups: 10 000 files by sex and age band against their plain summary"
group=$(mktemp -d)
python3 bench/make_group.py "$group/g" 10000
LC_ALL=ru_RU.UTF-8 "$b/groups_timing" "$group/g" | tee build/bench/groups.txt
LC_ALL=ru_RU.UTF-8 "$b/groups_timing" "$group/g" once | tee -a build/bench/groups.txt
rm -rf "$group"

echo "== Budgets"
ratio() { sed -n "s/^$1.*ratio \([0-9.]*\).*/\1/p" build/bench/startup.txt; }
calc_us=$(sed -n 's/^BM_CalculateCommand_median *\([0-9.]*\) us.*/\1/p' build/bench/calculate.txt)
latency=$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' build/bench/latency.txt)
check() { if awk "BEGIN{exit !($2)}"; then echo "met:     $1"; else echo "NOT MET: $1"; fi; }
check "start-up at most 1.5 x minimal Qt program (ratio $(ratio start-up))" "$(ratio start-up) <= 1.5"
check "peak memory at most 1.3 x minimal Qt program (ratio $(ratio 'peak memory'))" "$(ratio 'peak memory') <= 1.3"
check "calculate command under 1 ms (median ${calc_us} us)" "${calc_us} < 1000"
check "first warning sample within 20 ms (median ${latency} ms)" "${latency} <= 20"
pdf_ratio=$(sed -n 's/^pdf\/csv ratio \([0-9.]*\)/\1/p' build/bench/summary.txt)
pdf_peak=$(sed -n 's/^peak memory \([0-9.]*\) MiB/\1/p' build/bench/summary.txt)
unanswered=$(sed -n 's/.*longest the window went unanswered: \([0-9]*\) ms/\1/p' build/bench/summary.txt)
check "PDF of 3 000 files at most 10 x their CSV (ratio ${pdf_ratio})" "${pdf_ratio} <= 10"
check "peak memory of the exports under 64 MiB (${pdf_peak} MiB)" "${pdf_peak} < 64"
check "the window answers within 100 ms while it exports (${unanswered} ms)" "${unanswered} <= 100"
