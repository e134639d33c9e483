#!/usr/bin/env bash
# Runs a test executable of the windows on a real X server of 1920 x 1080
# pixels under a window manager (openbox), with a desktop panel of 48 pixels
# reserved along the bottom edge and Qt's scale factor at 1.5: the screen is
# 1280 x 720 units and its free area 1280 x 688, less than the height of the
# main windows; a maximised window also loses the height of its title bar.
#   panel_screen.sh <panel_dock> <test executable> [its arguments]
# Skips (77) where Xvfb or openbox is missing.
set -euo pipefail

script=$(readlink -f "$0")
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "${1:-}" != --inner ]; then
  for tool in xvfb-run openbox; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
  done
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$script" --inner "$@"
fi
shift
dock=$1
shift

tmp=$(mktemp -d)
wm=
panel=
cleanup() {
  [ -n "$panel" ] && kill "$panel" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
wm=$!
"$dock" 48 >"$tmp/panel.log" 2>&1 &
panel=$!
for _ in $(seq 300); do
  grep -qx ready "$tmp/panel.log" && break
  kill -0 "$panel" 2>/dev/null || { cat "$tmp/panel.log" "$tmp/openbox.log"; fail "the panel could not be reserved"; }
  sleep 0.1
done
grep -qx ready "$tmp/panel.log" || { cat "$tmp/panel.log" "$tmp/openbox.log"; fail "the panel was not reserved in time"; }

QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1.5 \
  VETRINORA_TEST_SCREEN=1280x720 VETRINORA_TEST_FREE_AREA=0,0,1280x688 "$@"
