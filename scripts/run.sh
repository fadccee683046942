#!/usr/bin/env bash
# Builds both programs (release) and starts one: the main window, its arguments a record file;
# or, with --summary first, the group summary, its arguments folders, files and its options.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/release/app/vornale-lite
if [[ "${1:-}" == --summary ]]; then
  program=build/release/summary_app/vornale-summary
  shift
fi
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release -j2
for arg in "$@"; do
  case "$arg" in
    --) break ;;
    -h | --help | --help-all | -v | --version | --csv | --csv=* | --pdf | --pdf=*) exec "$program" "$@" ;; # no window
  esac
done
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display. Run it under a virtual one:  xvfb-run -a $program $*"
  exit 1
fi
exec "$program" "$@"
