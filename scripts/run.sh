#!/usr/bin/env bash
# Builds the program (release) and starts it; its arguments go to the program (a record file).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release -j2
if [[ ! -x build/release/app/vornale-lite ]]; then
  echo "Built the libraries; the program's window does not exist yet."
  exit 0
fi
case "${1:-}" in
  -h | --help | --help-all | -v | --version) exec build/release/app/vornale-lite "$@" ;; # no window
esac
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display. Run it under a virtual one:  xvfb-run -a build/release/app/vornale-lite $*"
  exit 1
fi
exec build/release/app/vornale-lite "$@"
