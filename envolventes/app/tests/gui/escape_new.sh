#!/bin/bash
# Esc on the existing-or-new dialog means "Nuevo"; Esc on the name dialog ends
# the flow with no file created, and the missing script is reported once.
# usage: escape_new.sh VIEWER WORK_DIR
set -uo pipefail
VIEWER=$1 WORK=$2
source "$(dirname "$0")/gui_lib.sh"

start_on_empty_document 1
press Escape                                     # keeps 3000 x 400
focus_window "^Selecciona la existencia de fichero de envolventes$"
press Escape
focus_window "^NOMBRE DEL FICHERO DE ENVOLVENTES$"   # the new-envelope branch
press Escape
answer_message                                  # the first paint: no script name yet
message_shown "ERROR SCRD" || fail "no script error"
focus_window "^proyecto.txt - envolventes$"
press alt+u; sleep 0.5; press a                   # a repaint under the About box
focus_window "^Acerca de envolventes$"
press Return; wait_gone "$WIN"
sleep 1
[ "$(grep -c 'ERROR SCRD' "$ENVOLVENTES_MESSAGE_LOG")" -eq 1 ] || fail "script error shown more than once"
[ "$(ls "$WORK" | grep -v -e '^home$' -e '^proyecto.txt$' -e '^messages.log$' -e '^viewer.out$')" = "" ] ||
  fail "files created: $(ls "$WORK")"
quit_viewer
echo "PASS escape_new"
