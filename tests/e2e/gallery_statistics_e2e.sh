#!/usr/bin/env bash
# The real program under Xvfb: a set catalogue of three cards, the first with
# a red photo. From the collection window, Alt+G shows the gallery, where the
# photo appears on the screen; Alt+S opens the statistics, whose table Ctrl+C
# copies with the catalogue's figures; Esc closes them again.
#   gallery_statistics_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

script=$0
source "$(dirname "$0")/lib.sh"

python3 - "$work" "$e2e_dir" <<'PY'
import sys, pathlib
sys.path.insert(0, sys.argv[2])
from records import set_card
cards = set_card(NomeSet="Faro", Tema="Città", Valore="1030,00", InVendita="No") + \
        set_card(NomeSet="Castello", Tema="Castelli", Valore="20,00", InVendita="No") + \
        set_card(NomeSet="Drago", Tema="Castelli", Valore="12,50", InVendita="No")
(pathlib.Path(sys.argv[1]) / "Catalogo_BLOKKO.pro").write_bytes(cards)
PY
mkdir -p "$work/Schedario"
convert -size 320x240 xc:'#ff0000' "$work/Schedario/BLOKKO_1.jpg"

# Pure red pixels of a window's picture on the screen.
red_pixels() {
  import -window "$1" "$work/shot.png" 2>/dev/null
  convert "$work/shot.png" -fuzz 8% -fill black +opaque '#ff0000' -fill white -opaque '#ff0000' \
    -format '%[fx:round(mean*w*h)]' info:
}

login
keys ctrl+l
collection=$(wait_for '^ Vetrinora - Collezione$') || fail "the collection window did not open"
xdotool windowfocus --sync "$collection"
sleep 0.5
[ "$(red_pixels "$collection")" -lt 100 ] || fail "the table already shows red"

keys alt+g
shown=0
for _ in $(seq 50); do
  shown=$(red_pixels "$collection")
  [ "$shown" -gt 2000 ] && break
  sleep 0.2
done
[ "$shown" -gt 2000 ] || fail "the gallery does not show the card's photo ($shown red pixels)"
echo "ok - Alt+G shows the gallery with the card's photo"
keys alt+g

keys alt+s
statistics=$(wait_for '^ Vetrinora - Statistiche$') || fail "the statistics window did not open"
[ -n "$statistics" ] || fail "the statistics window did not open"
xdotool windowfocus --sync "$statistics"
keys ctrl+c
table=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
for figure in "Castelli" "32,50" "Città" "1.030,00"; do
  case "$table" in *"$figure"*) ;; *) fail "the copied table lacks $figure: $table" ;; esac
done
echo "ok - Alt+S opens the statistics and Ctrl+C copies their table"
keys Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^ Vetrinora - Statistiche$' >/dev/null 2>&1 || break
  sleep 0.1
done
! xdotool search --onlyvisible --name '^ Vetrinora - Statistiche$' >/dev/null 2>&1 || fail "Esc left the statistics open"
echo "ok - Esc closes the statistics"
stop_program
echo "3 passed, 0 failed"
