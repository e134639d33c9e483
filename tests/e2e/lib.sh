# What the end-to-end runs of the real program share. A script sources it
# twice: first outside Xvfb with the executable and the shipped credential
# file as $1 and $2 (it lays out a program folder and starts itself again
# inside Xvfb, passing on any further arguments), then inside, where $work is
# the program folder ($2; the arguments passed on follow it) and the
# functions below find windows, start the program, log in, answer and read
# messages, print and stop the program.

if [ "${1:-}" != --inner ]; then
  exe=$1
  credentials=$2
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$exe" "$work/Vetrinora"
  cp "$(dirname "$exe")"/vetrinora_webcam.* "$(dirname "$exe")"/vetrinora_print.* \
     "$(dirname "$exe")"/vetrinora_formats.* "$(dirname "$exe")"/vetrinora_channel.* \
     "$(dirname "$exe")"/vetrinora_charts.* \
     "$work/" 2>/dev/null || true
  cp "$credentials" "$work/unins000.dll"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$script" --inner "$work" "${@:3}"
fi

work=$2
app_pid=
# The shared Python helpers (records.py) lie beside the scripts.
e2e_dir=$(cd "$(dirname "$script")" && pwd)

# Types a text into the focused field. Plain ASCII is typed key by key; a
# text with accented letters is pasted with Ctrl+V, because xdotool types
# those by remapping a key for each one, a remapping that the program can
# miss on a busy machine.
type_text() {
  if printf '%s' "$1" | LC_ALL=C grep -q '[^ -~]'; then
    printf '%s' "$1" | xclip -selection clipboard
    sleep 0.2
    xdotool key ctrl+v
    sleep 0.2
  else
    xdotool type --delay 20 "$1"
  fi
}
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

# The program started is $program (the copy in $work unless set) with the
# home $program_home ($work unless set).
start_program() {
  HOME="${program_home:-$work}" QT_QPA_PLATFORM=xcb "${program:-$work/Vetrinora}" >"$work/out.log" 2>&1 &
  app_pid=$!
  login=$(wait_for '^ Vetrinora - Accesso$') || fail "the login window did not appear"
  [ -n "$login" ] || fail "the login window did not appear"
  [ "$(visible_names)" = " Vetrinora - Accesso" ] || fail "more than the login window is visible: $(visible_names)"
  xdotool windowfocus --sync "$login"
}

# Presses keys, one after another, and gives the program time to answer.
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }

# Types a password into the login window and presses Return.
enter_password() {
  xdotool type --delay 20 "$1"
  xdotool key Return
}

# Starts the program and logs in with the initial password; the start screen
# comes up and has the focus.
login() {
  start_program
  enter_password "pergamenaverde"
  focus_window '^ Vetrinora$'
}

stop_program() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

# Waits for a message box, checks that it reads exactly the text given (the
# box copies its text with Ctrl+C) and answers it with the key given: Return
# (OK, or Yes) unless another is named, e.g. Escape for No.
expect_message() { # text [key]
  local box=
  for _ in $(seq 100); do
    box=$(xdotool search --onlyvisible --name '^ Vetrinora$' 2>/dev/null | head -n 1) && [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no message appeared (expected: $1)"
  xdotool windowfocus --sync "$box"
  xdotool key ctrl+c
  sleep 0.3
  local text
  text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
  [ "$text" = "$1" ] || fail "the message reads: $text (expected: $1)"
  xdotool key "${2:-Return}"
  sleep 0.3
}

# With the print dialog on its way, prints to the PDF file the dialog
# proposes in $work: $printed_file is that file and $printed its text, read
# by pdftotext with the options given.
print_to_pdf() { # [pdftotext options]
  rm -f "$work"/*.pdf
  local dialog
  dialog=$(wait_for '^Stampa$')
  [ -n "$dialog" ] || fail "the print dialog did not open"
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  printed_file=
  for _ in $(seq 100); do
    printed_file=$(find "$work" -maxdepth 1 -name '*.pdf' -size +0 | head -n 1)
    [ -n "$printed_file" ] && break
    sleep 0.1
  done
  [ -n "$printed_file" ] || fail "nothing was printed"
  sleep 0.5
  printed=$(pdftotext "$@" "$printed_file" - 2>/dev/null || true)
}

focus_window() { # title regex
  local id
  id=$(wait_for "$1") || fail "no window $1"
  [ -n "$id" ] || fail "no window $1"
  xdotool windowfocus --sync "$id"
}

# The set catalogue in the data folder ($1, $work unless given) holds exactly
# one card: "Galeone", "Città", code 6285, year 1989, everything else empty,
# "0,00" and "No", byte for byte.
check_galeone_card() {
  python3 - "${1:-$work}" "$e2e_dir" <<'PY' || fail "the set catalogue is not as saved"
import sys, pathlib
sys.path.insert(0, sys.argv[2])
from records import set_card
expected = set_card(NomeSet="Galeone", Tema="Città", CodiceSet="6285", AnnoUscita="1989",
                    Valore="0,00", InVendita="No")
assert (pathlib.Path(sys.argv[1]) / "Catalogo_BLOKKO.pro").read_bytes() == expected, "record differs"
PY
}
