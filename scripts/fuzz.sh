#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 (ASan + UBSan) and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds-per-target]   A finding (crash, leak, failed property) fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
# The record-file target saves on every run: keep its files in memory when we can.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DVORNALE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
targets=$(sed -n 's/^vornale_add_fuzzer(\([a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build build/fuzz -j2 --target $targets

status=0
for t in $targets; do
  corpus="fuzz/corpus/${t#fuzz_}"
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  dict=()
  [[ -f "fuzz/${t#fuzz_}.dict" ]] && dict=(-dict="fuzz/${t#fuzz_}.dict")
  echo "== $t for ${seconds}s"
  if ! QT_QPA_PLATFORM=offscreen build/fuzz/fuzz/"$t" "${dict[@]}" -max_total_time="$seconds" \
       -timeout=10 -rss_limit_mb=2048 -artifact_prefix="build/fuzz/$t-" -print_final_stats=0 \
       "$work" 2>"build/fuzz/$t.log"; then
    echo "FINDING in $t:"; tail -40 "build/fuzz/$t.log"; status=1
  else
    grep -E '^Done|^#[0-9]+.*DONE' "build/fuzz/$t.log" | tail -1
  fi
  rm -rf "$work"
done
exit $status
