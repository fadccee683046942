#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors; runs each fuzz
# target briefly (clang, libFuzzer), then every test. Any failure or finding fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVORNALE_SANITIZE=ON -DVORNALE_WERROR=ON -DBUILD_TESTING=ON
cmake --build build/test -j2
bash scripts/fuzz.sh "${VORNALE_FUZZ_SECONDS:-20}"
ctest --test-dir build/test --output-on-failure -j2 --timeout 300
