#!/bin/bash
# An existing envelope reopened: chosen from the list, its files emptied and
# written again, its projects shown one by one, the shear diagram drawn.
# usage: existing_envelope.sh VIEWER CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIEWER=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
source "$(dirname "$0")/gui_lib.sh"
make_projects
printf ' 2\nenv_a\nenv_c\n' > "$WORK/env.dat"
echo "old report" > "$WORK/env.res"
echo "old table" > "$WORK/env.esf"

start_on_empty_document 3
press Tab; replace_field 2000; press Return      # width 2000, height as preset
focus_window "^Selecciona la existencia de fichero de envolventes$"
press Return                                    # "Existente"
focus_window "^Nombre del Proyecto Envolvente$"
sleep 0.5
import -window root "$WORK/envelope_list.png"
press shift+Tab Home                            # first name of the sorted list: env
press Tab Return
answer_message
answer_message
grep -q "^env_a$" "$ENVOLVENTES_MESSAGE_LOG" && grep -q "^env_c$" "$ENVOLVENTES_MESSAGE_LOG" ||
  fail "project names not shown"

focus_window "^proyecto.txt - envolventes$"
wait_file "$WORK/envc.scr"
sleep 1
import -window root "$WORK/existing_envelope.png"
[ "$(cat "$WORK/env.dat")" = "$(printf ' 2\nenv_a\nenv_c')" ] || fail "env.dat changed"
grep -q "NODO  Flechas" "$WORK/env.res" && ! grep -q "old" "$WORK/env.res" || fail "env.res not written anew"
grep -q "Coordenada" "$WORK/env.esf" || fail "env.esf not written"
head -1 "$WORK/envc.scr" | grep -q "^text 20,-50 6 0.0  Esfuerzos de Corte" || fail "envc.scr starts: $(head -1 "$WORK/envc.scr")"
# Width 2000: the beam spans 1640 nominal pixels, drawn to about 1660.
axis=$(grep -E "^line 20,200 [0-9]+,200 $" "$WORK/envc.scr" | head -1)
end=${axis#line 20,200 }; end=${end%,200 }
[ -n "$axis" ] && [ "$end" -ge 1600 ] && [ "$end" -le 1700 ] || fail "axis for width 2000: '$axis'"
quit_viewer
echo "PASS existing_envelope"
