#!/bin/bash
# A new envelope of two projects, from the first dialog to the drawing (a
# project's name offered as the envelope name is refused on the way).
# usage: new_envelope.sh VIEWER CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIEWER=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
source "$(dirname "$0")/gui_lib.sh"
make_projects

start_on_empty_document 2
press Tab; replace_field 1200; press Return     # the whole beam on the screen
focus_window "^Selecciona la existencia de fichero de envolventes$" 
press Tab space                                # "Nuevo"
focus_window "^NOMBRE DEL FICHERO DE ENVOLVENTES$" 
type_text "env"; press Return
for project in env_a env_b; do
  focus_window "^Nombre del Proyecto$"
  replace_field "$project"; press Return       # "Seleccione el proyecto a sumar"
  wait_gone "$WIN"
done
focus_window "^Nombre del Proyecto$"
press Escape                                   # "Finaliza selección"

focus_window "^proyecto.txt - envolventes$"; frame=$WIN
wait_file "$WORK/envm.scr"
sleep 1
import -window root "$WORK/new_envelope.png"

[ "$(cat "$WORK/env.dat")" = "$(printf ' 2\nenv_a\nenv_b')" ] || fail "env.dat holds: $(cat "$WORK/env.dat")"
grep -q "Coordenada" "$WORK/env.esf" || fail "env.esf not written"
grep -q "NODO  Flechas" "$WORK/env.res" || fail "env.res not written"
[ ! -e "$WORK/envd.scr" ] && [ ! -e "$WORK/envc.scr" ] || fail "a script of another kind was written"
# The moment diagram drawn 1200 wide, 400 high: the beam's nominal length is
# 40 x (1 + 24) = 1000 pixels, so the axis at y 200 runs from 20 to about 1020.
head -1 "$WORK/envm.scr" | grep -q "^text 20,-70 6 0.0  Momentos flexores de la viga" || fail "envm.scr starts: $(head -1 "$WORK/envm.scr")"
axis=$(grep -E "^line 20,200 [0-9]+,200 $" "$WORK/envm.scr" | head -1)
end=${axis#line 20,200 }; end=${end%,200 }
[ -n "$axis" ] && [ "$end" -ge 980 ] && [ "$end" -le 1060 ] || fail "axis for width 1200: '$axis'"
[ ! -s "$ENVOLVENTES_MESSAGE_LOG" ] || fail "unexpected messages"

# Every paint writes the script again: the About box over the drawing makes
# the window paint when it closes.
rm -f "$WORK/envm.scr"
xdotool windowfocus "$frame"; press alt+u; sleep 0.5; press a
focus_window "^Acerca de envolventes$"
press Return; wait_gone "$WIN"
wait_file "$WORK/envm.scr"

# Nuevo runs the whole flow again; cancelling it keeps the envelope drawn.
xdotool windowfocus "$frame"; press ctrl+n
focus_window "^Selecciona ancho y alto de pantalla$"
press Escape
focus_window "^Selecciona la existencia de fichero de envolventes$"
press Escape
focus_window "^NOMBRE DEL FICHERO DE ENVOLVENTES$"
press Escape
wait_gone "$WIN"
rm -f "$WORK/envm.scr"
xdotool windowfocus "$frame"; press alt+u; sleep 0.5; press a
focus_window "^Acerca de envolventes$"
press Return; wait_gone "$WIN"
wait_file "$WORK/envm.scr"
[ ! -s "$ENVOLVENTES_MESSAGE_LOG" ] || fail "unexpected messages after Nuevo"

quit_viewer
recent="$HOME/.Local AppWizard-Generated Applications"
grep -qx "file1=$WORK/proyecto.txt" "$recent" || fail "recent files: $(cat "$recent")"
! grep -q "^file5=" "$recent" || fail "more than 4 recent files kept"
echo "PASS new_envelope (screenshot $WORK/new_envelope.png)"
