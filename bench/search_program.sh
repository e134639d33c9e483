#!/usr/bin/env bash
# The real program under Xvfb, driven by xdotool as the end-to-end runs drive
# it: a program folder with 100,000 set cards, the set search opened from the
# editor, and the time from the click on "Cerca" to the count sentence painted,
# against `cat` of the same file, interleaved in one run (medians).
#   search_program.sh <Vetrinora executable> <shipped unins000.dll> <write_catalogue> [runs]
# The program stamps both moments on stderr when VETRINORA_TEMPI_RICERCA is set.
set -euo pipefail

script=$0
if [ "${1:-}" != --inner ]; then
  export WRITE_CATALOGUE=$3 SEARCH_PROGRAM_RUNS=${4:-7}
fi
source "$(dirname "$0")/../tests/e2e/lib.sh"
trap 'rm -rf "$work"' EXIT                  # 340 MB of cards

"$WRITE_CATALOGUE" "$work" 100000 2>/dev/null
catalogue="$work/Catalogo_BLOKKO.pro"
export VETRINORA_TEMPI_RICERCA=1
at() { xdotool mousemove $((142 + $1)) $((166 + $2)) click 1; sleep 0.3; }

start_program
xdotool type --delay 20 "pergamenaverde"
xdotool key Return
wait_for '^ Vetrinora$' >/dev/null || fail "the start screen did not appear"
at 168 344                                   # first tile: the set catalogue
focus_window '^ Vetrinora - Catalogo BLOKKO$'

# Milliseconds of one `cat` of the catalogue (the shell's own clock: no fork
# around it; its decimal separator follows the locale).
cat_ms() {
  local start=$EPOCHREALTIME
  cat "$catalogue" >/dev/null
  local end=$EPOCHREALTIME
  python3 -c "print(f'{(${end/,/.} - ${start/,/.}) * 1000:.3f}')"
}

# One search: open the window, click "Cerca", wait for the count painted,
# close the window. Prints the milliseconds between the program's stamps.
search_ms() {
  local done_before
  done_before=$(grep -c '^conteggio ' "$work/out.log" || true)
  at 166 34                                  # cmdTrova
  local search
  search=$(wait_for '^ Trova set BLOKKO in catalogo$') || fail "the search window did not open"
  eval "$(xdotool getwindowgeometry --shell "$search")"
  xdotool windowfocus --sync "$search"
  sleep 0.3
  xdotool mousemove $((X + 748)) $((Y + 497)) click 1   # Cerca
  for _ in $(seq 600); do
    [ "$(grep -c '^conteggio ' "$work/out.log" || true)" -gt "$done_before" ] && break
    sleep 0.05
  done
  [ "$(grep -c '^conteggio ' "$work/out.log" || true)" -gt "$done_before" ] ||
    fail "the count did not appear"
  local click count
  click=$(grep '^cerca ' "$work/out.log" | tail -n 1 | cut -d' ' -f2)
  count=$(grep '^conteggio ' "$work/out.log" | tail -n 1 | cut -d' ' -f2)
  xdotool mousemove $((X + 14 + 99)) $((Y + 505)) click 1   # Chiudi
  sleep 0.5
  python3 -c "print(f'{($count - $click) / 1e6:.3f}')"
}

cat_ms >/dev/null; search_ms >/dev/null         # warm-up
cats=() searches=()
for _ in $(seq "$SEARCH_PROGRAM_RUNS"); do
  cats+=("$(cat_ms)")
  searches+=("$(search_ms)")
done
stop_program

python3 - "$SEARCH_PROGRAM_RUNS" "${cats[*]}" "${searches[*]}" <<'PY'
import sys, statistics
runs = sys.argv[1]
cats = [float(v) for v in sys.argv[2].split()]
searches = [float(v) for v in sys.argv[3].split()]
c, s = statistics.median(cats), statistics.median(searches)
print(f"runs: {runs} each (median)")
print(f"cat of the catalogue:             {c:7.1f} ms")
print(f"click on \"Cerca\" to the count:    {s:7.1f} ms")
ratio = s / c
print(f"{'Cerca in the program vs cat':<44s} ratio {ratio:5.2f}  (goal: at most 2.0){'' if ratio <= 2.0 else '  FAIL'}")
PY
