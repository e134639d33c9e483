#!/usr/bin/env bash
# The real program under Xvfb, driven by xdotool: it starts on the login
# window; the initial password in small letters and Return bring up the start
# screen as the only visible window; a wrong password brings up the message
# "Attenzione: password errata."; a set card and a MOC card typed into the
# editors and saved land on disk byte for byte, with their photo files.
#   program_e2e.sh <Vetrinora executable> <shipped unins000.dll>
set -euo pipefail

script=$0
source "$(dirname "$0")/lib.sh"

# 1. The right password, typed in small letters, then Return.
login
for _ in $(seq 50); do
  [ "$(visible_names)" = " Vetrinora" ] && break
  sleep 0.1
done
[ "$(visible_names)" = " Vetrinora" ] || fail "the start screen is not the only visible window: $(visible_names)"
echo "ok - right password shows the start screen alone"
stop_program

# 2. A wrong password: a message box over the login window.
start_program
enter_password "pergamena"
expect_message "Attenzione: password errata."
sleep 0.2
[ "$(visible_names)" = " Vetrinora - Accesso" ] || fail "the login window should stay alone: $(visible_names)"
echo "ok - wrong password shows \"Attenzione: password errata.\""
stop_program

# 3. A set card and a MOC card typed and saved through the real windows.
# Windows fill the 1280 x 1024 screen; content panels sit centred at (142, 166).
at() { xdotool mousemove $((142 + $1)) $((166 + $2)) click 1; sleep 0.3; }

login
at 168 344                                   # first tile: the set catalogue
focus_window '^ Vetrinora - Catalogo BLOKKO$'
xdotool type --delay 20 "Galeone"; xdotool key Return
type_text "Città"; xdotool key Return Return
xdotool type --delay 20 "6285"; xdotool key Return
xdotool type --delay 20 "1989"
at 122 34                                    # cmdSalva
expect_message "La scheda corrente è stata inserita in archivio."
check_galeone_card
python3 - "$work" <<'PY' || fail "the set catalogue has no photo"
import sys, pathlib
folder = pathlib.Path(sys.argv[1])
photo = (folder / "Schedario" / "BLOKKO_1.jpg").read_bytes()
assert photo[:2] == b"\xff\xd8", "the photo is not a JPEG"
PY
echo "ok - a set card saved through the editor is on disk byte for byte, with its photo"

# Search for it, and print the result list to a PDF file through the print dialog.
at 166 34                                    # cmdTrova
search=$(wait_for '^ Trova set BLOKKO in catalogo$') || fail "the search window did not open"
eval "$(xdotool getwindowgeometry --shell "$search")"
xdotool windowfocus --sync "$search"
xdotool type --delay 20 "GALEONE"
xdotool mousemove $((X + 748)) $((Y + 497)) click 1   # Cerca
sleep 0.5
xdotool mousemove $((X + 748)) $((Y + 505)) click 1   # Stampa
print_to_pdf                                          # to the proposed PDF file
[ "$printed_file" = "$work/Riepilogo dati.pdf" ] || fail "the list was printed to $printed_file"
case "$printed" in
  *"Riepilogo set BLOKKO in catalogo"*Galeone*"Tema: Città"*"Stampa eseguita in data"*) ;;
  *) fail "the printed list reads: $printed" ;;
esac
xdotool mousemove $((X + 14 + 99)) $((Y + 505)) click 1   # Chiudi
sleep 0.5
echo "ok - the search finds the card and its list prints to a PDF file"

# Export the catalogue; answer Yes to export and No to opening the file.
at 736 34                                    # cmdEsporta
exp=$(wait_for '^ Esporta catalogo BLOKKO in Excel$') || fail "the export window did not open"
eval "$(xdotool getwindowgeometry --shell "$exp")"
xdotool mousemove $((X + 12 + 678)) $((Y + 13 + 42)) click 1
expect_message "$(printf "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?")"
# No: the file is not opened.
expect_message "$(printf 'Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?')" Escape
sleep 0.2
python3 - "$work" <<'PY' || fail "the spreadsheet is not as exported"
import sys, pathlib
data = (pathlib.Path(sys.argv[1]) / "Catalogo_BLOKKO.xls").read_bytes()
assert b"<x:Name>Catalogo BLOKKO</x:Name>" in data
assert b'<td style="text-align: left;">Galeone</td><td style="text-align: left;">Citt\xe0</td>' in data
assert data.count(b"<tr>") == 2
PY
xdotool mousemove $((X + 12 + 790)) $((Y + 13 + 42)) click 1   # cmdEsci
sleep 0.5
echo "ok - the catalogue exports to a spreadsheet file"

at 884 34                                    # cmdEsci: back to the start screen
focus_window '^ Vetrinora$'
at 497 344                                   # second tile: create an archive
focus_window '^ Vetrinora - Creazione nuovo archivio MOC$'
xdotool type --delay 20 "Castelli"
at 260 382                                   # btnApplica
expect_message "$(printf 'Il file relativo al nuovo archivio di MOC è stato creato con successo.\r\n\r\nE'"'"' ora possibile visualizzarlo nell'"'"'elenco degli archivi MOC esistenti.')"
[ -f "$work/Castelli.moc" ] || fail "the archive was not created"
focus_window '^ Vetrinora$'
at 826 344                                   # third tile: open an archive
focus_window '^ Vetrinora - Apertura archivio MOC$'
at 170 163                                   # the first entry of the list
at 260 622                                   # btnApri
focus_window '^ Vetrinora - Archivio MOC$'
xdotool type --delay 20 "Torre"; xdotool key Return
xdotool type --delay 20 "T-01"; xdotool key Return
xdotool type --delay 20 "Castelli"; xdotool key Return
xdotool type --delay 20 "Rossi"; xdotool key Return Return Return Return
xdotool type --delay 20 "1200"
at 78 34                                     # cmdSalva
expect_message "La scheda corrente è stata inserita in archivio."
python3 - "$work" <<'PY' || fail "the MOC archive is not as saved"
import sys, pathlib
folder = pathlib.Path(sys.argv[1])
def field(text, capacity):
    data = text.encode("cp1252")
    return bytes([len(data)]) + data + bytes(capacity - len(data))
caps = [120, 50, 50, 50, 250, 10, 12, 50, 120, 50, 50, 120, 50, 120, 250, 50, 50, 50, 50, 50, 250, 2] + [250] * 6
texts = {0: "Torre", 1: "T-01", 2: "Castelli", 3: "Rossi", 6: "0,00", 7: "1200", 21: "No"}
expected = b"".join(field(texts.get(i, ""), c) for i, c in enumerate(caps))
assert len(expected) == 3382
assert (folder / "Castelli.moc").read_bytes() == expected, "record differs"
for tag in "AB":
    photo = (folder / "Foto_MOC" / f"Castelli_Foto_{tag}_1.jpg").read_bytes()
    assert photo[:2] == b"\xff\xd8", f"photo {tag} is not a JPEG"
PY
echo "ok - a MOC card saved in a new archive is on disk byte for byte, with both photos"
stop_program
echo "6 passed, 0 failed"
