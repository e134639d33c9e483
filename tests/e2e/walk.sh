#!/usr/bin/env bash
# Walks the whole program as a new collector would, under Xvfb: every window
# of the roster opened by its own button, with a screenshot of each.
#   walk.sh <Vetrinora executable> <shipped unins000.dll> <screenshot folder>
set -euo pipefail

script=$0
if [ "${1:-}" != --inner ]; then
  mkdir -p "$3"
  set -- "$1" "$2" "$(cd "$3" && pwd)"
fi
source "$(dirname "$0")/lib.sh"
shots=$3

shot() { sleep 0.6; import -window root "$shots/$1.png"; echo "shot $1"; }
at() { xdotool mousemove $((142 + $1)) $((166 + $2)) click 1; sleep 0.5; }
focus() { focus_window "$1"; }
close_modal() { xdotool key Escape; sleep 0.5; }

start_program
focus '^ Vetrinora - Accesso$'
shot 01-TfrmPassword
xdotool mousemove 640 670 click 1                      # Cambia password
focus '^ Cambia password$'
shot 03-TfrmCambiaPassword
xdotool mousemove $((435 + 29 + 260)) $((303 + 352 + 19)) click 1   # Chiudi
focus '^ Vetrinora - Accesso$'
enter_password pergamenaverde
focus '^ Vetrinora$'
shot 02-TfrmAvvio
at 31 31;  focus '^ Informazioni su Vetrinora$'; shot 05-TfrmInfo; close_modal
at 964 30; focus "^ Guida all'utilizzo del software$"; shot 04-TfrmGuida; close_modal
at 27 669; focus '^ Vetrinora - un programma'; shot 06-TfrmSplash; close_modal

# The set catalogue: a card, then every tool.
at 168 344; focus '^ Vetrinora - Catalogo BLOKKO$'
xdotool type --delay 15 "Galeone dei pirati"; xdotool key Return; xdotool type --delay 15 "Pirati"
xdotool key Return Return; xdotool type "6285"; xdotool key Return; xdotool type "1989"
at 122 34; expect_message "La scheda corrente è stata inserita in archivio."
xdotool mousemove $((142 + 700)) $((166 + 580)) click 1; sleep 0.3   # the "In vendita" box
shot 07-TfrmArmi
at 188 513; focus '^ Fai clic sulla foto'; shot 08-TfrmZoom; close_modal
at 256 34; focus '^ Allega file$'; shot 09-TfrmAllegaCartella; close_modal
at 376 34; focus '^ Stampa documento$'; shot 10-TfrmStampaArma; close_modal
at 736 34; focus '^ Esporta catalogo BLOKKO in Excel$'; shot 11-TfrmExpArmi; close_modal
at 780 34; focus '^ Riepilogo set BLOKKO in vendita$'; shot 12-TfrmArmi_Disponibili; close_modal
at 166 34; focus '^ Trova set BLOKKO in catalogo$'; shot 13-TfrmTrovaArmi; close_modal
at 884 34; focus '^ Vetrinora$'

# The MOC archives.
at 497 344; focus '^ Vetrinora - Creazione nuovo archivio MOC$'
xdotool type --delay 15 "Castelli medievali"; shot 14-TfrmCreaCatalogo
at 260 382
expect_message "$(printf 'Il file relativo al nuovo archivio di MOC è stato creato con successo.\r\n\r\nE'"'"' ora possibile visualizzarlo nell'"'"'elenco degli archivi MOC esistenti.')"
at 826 344; focus '^ Vetrinora - Apertura archivio MOC$'
at 170 163; shot 15-TfrmApriCatalogo
at 260 622; focus '^ Vetrinora - Archivio MOC$'
xdotool type --delay 15 "Torre di guardia"; xdotool key Return; xdotool type "T-01"; xdotool key Return
xdotool type "Castelli"; xdotool key Return; xdotool type "Rossi"; xdotool key Return Return Return Return
xdotool type "1200"
at 78 34; expect_message "La scheda corrente è stata inserita in archivio."
shot 16-TfrmCartoline
at 48 154; focus '^ Cattura foto con webcam$'; shot 17-TfrmWebCam; close_modal
at 122 34; focus '^ Trova MOC in archivio$'; shot 18-TfrmTrovaCartoline; close_modal
at 166 34; focus '^ Riepilogo MOC in vendita$'; shot 19-TfrmInVendita; close_modal
at 795 34; focus '^ Slide Show MOC$'; shot 20-TfrmSlideshow_Euro_01; close_modal
at 751 34; focus '^ Esporta archivio MOC in Excel$'; shot 21-TfrmExpCartoline; close_modal
at 346 34; focus '^ Anteprima di stampa$'; shot 22-TfrmAnteprimaCartolina; close_modal
at 420 34; focus '^ Stampa documento$'; shot 23-TfrmStampaCartolina; close_modal
at 899 34; focus '^ Vetrinora$'
echo "walked: $(ls "$shots" | wc -l) windows"
stop_program
