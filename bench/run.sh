#!/usr/bin/env bash
# Builds and runs the benchmarks and prints their figures, each with its goal
# and FAIL beside any that misses it, with the machine's core count and load
# average before and after, so that a figure can be judged where it was taken.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target Vetrinora bare_window startup_bench last_card_bench search_bench export_bench collection_bench statistics_bench transfer_bench write_catalogue gallery_bench
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
echo "== machine: $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg) =="
echo "== start-up: process start to the first window =="
# Started as from a desktop session, which always has its session bus.
session=()
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  session=(dbus-run-session --)
fi
"${session[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bench/startup_bench" "$build/Vetrinora/Vetrinora" "$build/bench/bare_window" "${RUNS:-25}" 2>/dev/null
echo "== last card =="
"$build/bench/last_card_bench" "${LAST_CARD_RUNS:-200}" 2>/dev/null
echo "== lists over 100,000 cards =="
"$build/bench/search_bench" "${SEARCH_RUNS:-7}" 2>/dev/null
echo "== the real program under Xvfb: \"Cerca\" over 100,000 cards against cat =="
"$top/bench/search_program.sh" "$build/Vetrinora/Vetrinora" "$top/src/resources/unins000.dll" \
  "$build/bench/write_catalogue" "${PROGRAM_RUNS:-7}"
echo "== export of 100,000 cards (.xls, and .xlsx against it) =="
"$build/bench/export_bench" "${EXPORT_RUNS:-5}" 2>/dev/null
echo "== collection window over 100,000 cards =="
"$build/bench/collection_bench" 2>/dev/null
echo "== statistics of 100,000 cards =="
"$build/bench/statistics_bench" "${STATISTICS_RUNS:-7}" 2>/dev/null
echo "== gallery over 10,000 cards with photos =="
"$build/bench/gallery_bench" 2>/dev/null
echo "== CSV and .xlsx import of 100,000 rows; backup of 100,000 cards and 1,000 photos =="
"$build/bench/transfer_bench" 2>/dev/null
if [ -n "${VETRINORA_SCALE:-}" ]; then
  # Generates 3.4 GB in a temporary folder (minutes on a slow disk); removed afterwards.
  echo "== scale check: 1,000,000 cards =="
  cmake --build "$build" --target scale_bench
  "$build/bench/scale_bench" "${SCALE_RUNS:-5}" 2>/dev/null
else
  echo "== scale check skipped: set VETRINORA_SCALE=1 to generate 1,000,000 cards (3.4 GB) =="
fi
echo "== load average afterwards: $(cut -d' ' -f1-3 /proc/loadavg) =="
