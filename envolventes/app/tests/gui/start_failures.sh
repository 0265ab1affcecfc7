#!/bin/bash
# Start-up failures that end the program: a document file that does not exist
# (status 1 after the framework's message), and projects of different beams
# ("ERROR EN SELECCION DE PROYECTOS", status 1 after its message, the recent
# files saved as on any other exit).
# usage: start_failures.sh VIEWER CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIEWER=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
source "$(dirname "$0")/gui_lib.sh"

start_viewer nada.txt 1
answer_message
wait_viewer_exit
[ "$EXIT_STATUS" -eq 1 ] || fail "missing document: status $EXIT_STATUS"
message_shown "nada.txt
Imposible encontrar este archivo.
Compruebe que la ruta y el nombre de archivo son correctos" || fail "no missing-file message"

make_projects
# larga: the three-span example beam (each bar joined onto one line), so
# one node, one bar and one support more than env_a.
awk 'NR >= 7 && NR <= 12 && NR % 2 == 1 { printf "%s ", $0; next } { print }' \
  "$EXAMPLES/viga3.dat" > "$WORK/larga.dat"
cp "$EXAMPLES/viga3.caf" "$WORK/larga.caf"
(cd "$WORK" && timeout 30 "$CALCEST" larga.dat larga.res larga.caf larga.fmc larga.bar 0 < /dev/null > larga.log 2>&1)
: > "$WORK/larga.car"
awk 'NR == 1 { print $4 - 1; next }
     { printf "%d %f %f %f %f %f %f %f\n", NR - 2, $1, $4, $4, $3, $3, 0, $3 }' "$WORK/larga.fmc" > "$WORK/larga.esf"
[ -s "$WORK/larga.fmc" ] || fail "larga not analysed"
printf ' 2\nenv_a\nlarga\n' > "$WORK/mezcla.dat"
: > "$ENVOLVENTES_MESSAGE_LOG"

start_on_empty_document 2
press Return
focus_window "^Selecciona la existencia de fichero de envolventes$"
press Return
focus_window "^Nombre del Proyecto Envolvente$"
type_text mezcla; press Return
answer_message; answer_message                  # the two project names
answer_message                                  # the selection error
wait_viewer_exit
[ "$EXIT_STATUS" -eq 1 ] || fail "selection error: status $EXIT_STATUS"
message_shown "ERROR EN SELECCION DE PROYECTOS" || fail "no selection error message"
# That exit goes the normal way out: the document joins the recent files.
grep -rqF "proyecto.txt" "$HOME" || fail "recent-file list not saved on the selection error exit"
echo "PASS start_failures"
