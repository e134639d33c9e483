#!/usr/bin/env bash
# Builds and runs the benchmarks and prints their figures.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target Vetrinora bare_window startup_bench last_card_bench search_bench export_bench collection_bench transfer_bench
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
echo "== start-up: process start to the first window =="
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bench/startup_bench" "$build/Vetrinora/Vetrinora" "$build/bench/bare_window" "${RUNS:-15}"
echo "== last card =="
"$build/bench/last_card_bench" "${LAST_CARD_RUNS:-200}"
echo "== Cerca over 100,000 cards =="
"$build/bench/search_bench" "${SEARCH_RUNS:-5}"
echo "== export of 100,000 cards =="
"$build/bench/export_bench" "${EXPORT_RUNS:-3}"
echo "== collection window over 100,000 cards =="
"$build/bench/collection_bench"
echo "== CSV import of 100,000 rows; backup of 100,000 cards and 1,000 photos =="
"$build/bench/transfer_bench"
