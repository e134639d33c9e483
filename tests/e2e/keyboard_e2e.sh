#!/usr/bin/env bash
# The real program under Xvfb with the keyboard alone (no pointer event at
# all): log in, open the set editor from the start screen with Tab and Enter,
# type a card and save it with Ctrl+S, step back to it with Alt+Home, find it
# with Ctrl+F and recall it with Enter, print it to a PDF file with Ctrl+P;
# the stored card is checked byte for byte.
#   keyboard_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

script=$0
source "$(dirname "$0")/lib.sh"

login
keys Tab Return                                   # the first tile: the set catalogue
focus_window '^ Vetrinora - Catalogo BLOKKO$'
xdotool type --delay 20 "Galeone"; keys Return
type_text "Città"; keys Return Return
xdotool type --delay 20 "6285"; keys Return
xdotool type --delay 20 "1989"
keys ctrl+s
expect_message "La scheda corrente è stata inserita in archivio."
check_galeone_card
echo "ok - a card typed and saved with Ctrl+S is on disk byte for byte"

# A new card, then back to the stored one with Alt+Home.
focus_window '^ Vetrinora - Catalogo BLOKKO$'
keys ctrl+n
keys alt+Home
sleep 0.3

# Ctrl+F: the search window; the name in the first filter, Cerca from the
# keyboard, then Enter on the first line recalls the card.
keys ctrl+f
focus_window '^ Trova set BLOKKO in catalogo$'
xdotool type --delay 20 "GALEONE"
# Through the ten filters and "Chiudi" to "Cerca".
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
keys Tab space Return                             # from the find field to the list: select, recall
for _ in $(seq 50); do
  [ -z "$(xdotool search --onlyvisible --name '^ Trova set BLOKKO in catalogo$' 2>/dev/null)" ] && break
  sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --name '^ Trova set BLOKKO in catalogo$' 2>/dev/null)" ] \
  || fail "Enter on the found line did not recall the card"
echo "ok - Ctrl+F finds the card and Enter recalls it"

# Ctrl+P: the print window; its print button from the keyboard, then the
# print dialog prints to its proposed PDF file.
focus_window '^ Vetrinora - Catalogo BLOKKO$'
keys ctrl+p
focus_window '^ Stampa documento$'
keys Tab space
print_to_pdf
for word in Galeone Città 6285 1989; do
  case "$printed" in *"$word"*) ;; *) fail "the printed card lacks $word: $printed" ;; esac
done
echo "ok - Ctrl+P prints the recalled card to a PDF file"
stop_program
echo "4 passed, 0 failed"
