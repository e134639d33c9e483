#!/usr/bin/env bash
# The real program under Xvfb: a known set catalogue of three cards, one of
# them with an amount that cannot be read; log in, open the collection
# window from the start screen with Ctrl+L, print its table to a PDF file
# with Ctrl+P and read the totals back from it; then the same after a filter.
#   collection_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

script=$0
source "$(dirname "$0")/lib.sh"

# Cards of name, value and for-sale flag, laid out as the set catalogue
# stores them.
python3 - "$work" "$e2e_dir" <<'PY'
import sys, pathlib
sys.path.insert(0, sys.argv[2])
from records import set_card
cards = set_card(NomeSet="Faro", Valore="30,00", InVendita="Sì") + \
        set_card(NomeSet="Castello", Valore="abc", InVendita="No") + \
        set_card(NomeSet="Drago", Valore="12,50", InVendita="No")
(pathlib.Path(sys.argv[1]) / "Catalogo_BLOKKO.pro").write_bytes(cards)
PY

# Prints the window's table; $text is the text of the PDF file on one line.
print_table() {
  focus_window '^ Vetrinora - Collezione$'
  keys ctrl+p
  print_to_pdf -layout
  text=$(printf '%s' "$printed" | sed "s/ﬁ/fi/g" | tr -s " \n" " ")
}

login
keys ctrl+l
focus_window '^ Vetrinora - Collezione$'
echo "ok - Ctrl+L on the start screen opens the collection window"

print_table
expected="Schede filtrate: 3 schede, valore 42,50 €; in vendita 1 scheda per 30,00 € (1 importo illeggibile non sommato)"
case "$text" in *"$expected"*) ;; *) fail "the printed totals are not \"$expected\": $text" ;; esac
for word in Faro Castello Drago; do
  case "$text" in *"$word"*) ;; *) fail "the printed table lacks $word: $text" ;; esac
done
echo "ok - the totals of the catalogue are shown and printed"

# The filter has the focus as the window opens.
focus_window '^ Vetrinora - Collezione$'
xdotool type --delay 20 "dr"
sleep 0.3
print_table
expected="Schede filtrate: 1 scheda, valore 12,50 €; in vendita 0 schede per 0,00 €"
case "$text" in *"$expected"*) ;; *) fail "the printed totals are not \"$expected\": $text" ;; esac
case "$text" in *Faro*) fail "the filtered table still holds Faro: $text" ;; esac
echo "ok - a filter narrows the table and its totals"
stop_program
echo "3 passed, 0 failed"
