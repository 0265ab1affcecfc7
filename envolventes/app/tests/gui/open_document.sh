#!/bin/bash
# Abrir runs the start-up flow again with the chosen file as the document,
# whose content is never touched; Guardar como writes an empty file.
# usage: open_document.sh VIEWER WORK_DIR
set -uo pipefail
VIEWER=$1 WORK=$2
source "$(dirname "$0")/gui_lib.sh"
echo "contenido" > "$WORK/otro.txt"

start_viewer                                   # no command line: a new document
focus_window "^Selecciona ancho y alto de pantalla$"; press Escape
focus_window "^Selecciona la existencia de fichero de envolventes$"; press Escape
focus_window "^NOMBRE DEL FICHERO DE ENVOLVENTES$"; press Escape
focus_window "^Sin título - envolventes$"

press ctrl+o
focus_window "^Abrir archivo$"
press ctrl+l; sleep 0.5; type_text "$WORK/otro.txt"; press Return
focus_window "^Selecciona ancho y alto de pantalla$"   # the flow again
press Escape
focus_window "^Selecciona la existencia de fichero de envolventes$"; press Escape
focus_window "^NOMBRE DEL FICHERO DE ENVOLVENTES$"; press Escape
focus_window "^otro.txt - envolventes$"
press ctrl+s; sleep 1                           # nothing changed: nothing to save
[ "$(cat "$WORK/otro.txt")" = "contenido" ] || fail "the opened file was changed"

press alt+a; sleep 0.5; press o                  # Guardar como...
focus_window "^Guardar como$"
press ctrl+a; type_text "$WORK/copia.txt"; press Return
t=0; until [ -e "$WORK/copia.txt" ]; do sleep 0.2; t=$((t + 1)); [ $t -gt 100 ] && fail "copia.txt not written"; done
[ ! -s "$WORK/copia.txt" ] || fail "copia.txt is not empty"
[ ! -s "$ENVOLVENTES_MESSAGE_LOG" ] || fail "unexpected messages"
quit_viewer
echo "PASS open_document"
