#!/usr/bin/env bash
# The real program under Xvfb, driven by xdotool: it starts on the login
# window; the initial password in small letters and Return bring up the start
# screen as the only visible window; a wrong password brings up the message
# "Attenzione: password errata.".
#   login_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

if [ "${1:-}" != --inner ]; then
  exe=$1
  credentials=$2
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$exe" "$work/Vetrinora"
  cp "$credentials" "$work/unins000.dll"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inner "$work"
fi

work=$2
app_pid=
fail() { echo "FAIL: $*" >&2; [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; exit 1; }

visible_names() {
  local id
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    xdotool getwindowname "$id"
  done | sort
}

wait_for() { # title regex
  timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

start_program() {
  QT_QPA_PLATFORM=xcb "$work/Vetrinora" >"$work/out.log" 2>&1 &
  app_pid=$!
  login=$(wait_for '^ Vetrinora - Accesso$') || fail "the login window did not appear"
  [ -n "$login" ] || fail "the login window did not appear"
  [ "$(visible_names)" = " Vetrinora - Accesso" ] || fail "more than the login window is visible: $(visible_names)"
  xdotool windowfocus --sync "$login"
}

stop_program() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

# 1. The right password, typed in small letters, then Return.
start_program
xdotool type --delay 20 "pergamenaverde"
xdotool key Return
wait_for '^ Vetrinora$' >/dev/null || fail "the start screen did not appear"
for _ in $(seq 50); do
  [ "$(visible_names)" = " Vetrinora" ] && break
  sleep 0.1
done
[ "$(visible_names)" = " Vetrinora" ] || fail "the start screen is not the only visible window: $(visible_names)"
echo "ok - right password shows the start screen alone"
stop_program

# 2. A wrong password: a message box over the login window.
start_program
xdotool type --delay 20 "pergamena"
xdotool key Return
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name '^ Vetrinora$' 2>/dev/null | head -n 1) && [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message appeared"
xdotool windowfocus --sync "$box"
# The message box copies its text with Ctrl+C.
xdotool key ctrl+c
sleep 0.5
text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
case "$text" in
  *"Attenzione: password errata."*) ;;
  *) fail "the message reads: $text" ;;
esac
xdotool key Return
sleep 0.5
[ "$(visible_names)" = " Vetrinora - Accesso" ] || fail "the login window should stay alone: $(visible_names)"
echo "ok - wrong password shows \"Attenzione: password errata.\""
stop_program
echo "2 passed, 0 failed"
