#!/usr/bin/env bash
# The real program started twice on one program folder, under Xvfb: the
# second start opens no window and ends at once, and the first program's
# login window, with another program's window in front meanwhile, comes back
# to the front with the keyboard focus (minimised windows come back too: the
# window tests check that, as Xvfb has no window manager to minimise them). Then the first is killed
# with SIGKILL: its lock stays behind, and the next start opens its login
# window as usual.
#   instance_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

script=$0
source "$(dirname "$0")/lib.sh"

start_program
first_pid=$app_pid
[ -e "$work/Vetrinora.lock" ] || fail "the program holds no lock in its folder"

# Another program in front, with the focus.
xeyes -geometry 200x200+600+400 &
other_pid=$!
trap 'kill $other_pid 2>/dev/null || true' EXIT
other=$(timeout 20 xdotool search --sync --onlyvisible --class xeyes | head -n 1)
[ -n "$other" ] || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other"
[ "$(xdotool getwindowfocus)" = "$other" ] || fail "the other window did not take the focus"

# The second start.
start=$(date +%s%N)
set +e
QT_QPA_PLATFORM=xcb timeout 30 "$work/Vetrinora" >"$work/second.log" 2>&1
code=$?
set -e
took=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$code" = 0 ] || fail "the second start ended with $code: $(cat "$work/second.log")"
echo "the second start ended in $took ms"
kill -0 "$first_pid" 2>/dev/null || fail "the first program ended"
sleep 0.5
names=$(visible_names)
[ "$(printf '%s\n' "$names" | grep -c '^ Vetrinora - Accesso$')" = 1 ] \
  || fail "not exactly one login window: $names"
focused=$(xdotool getwindowfocus)
[ "$(xdotool getwindowname "$focused")" = " Vetrinora - Accesso" ] \
  || fail "the first program did not come to the front: the focus is on $(xdotool getwindowname "$focused")"

# A killed program's lock is taken over.
kill "$other_pid"
kill -9 "$first_pid"
wait "$first_pid" 2>/dev/null || true
app_pid=
[ -e "$work/Vetrinora.lock" ] || fail "the killed program's lock is gone"
start_program
stop_program
echo "PASS"
