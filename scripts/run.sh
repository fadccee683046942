#!/usr/bin/env bash
# Builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release -j2
if [[ ! -x build/release/app/vornale-lite ]]; then
  echo "Built the libraries; the program's window does not exist yet."
  exit 0
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display. Run it under a virtual one:  xvfb-run -a build/release/app/vornale-lite"
  exit 1
fi
exec build/release/app/vornale-lite
