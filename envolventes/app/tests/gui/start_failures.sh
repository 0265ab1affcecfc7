#!/bin/bash
# Start-up failures that end the program: a document file that does not exist
# (status 1 after the framework's message), and projects of different beams
# ("ERROR EN SELECCION DE PROYECTOS", status 1 after its message).
# usage: start_failures.sh VIEWER CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIEWER=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
rm -rf "$WORK"; mkdir -p "$WORK"
source "$(dirname "$0")/gui_lib.sh"

start_viewer nada.txt 1
answer_message
wait_exit "$WAIT"
[ "$APP_STATUS" -eq 1 ] || fail "missing document: status $APP_STATUS"
message_shown "nada.txt
Imposible encontrar este archivo.
Compruebe que la ruta y el nombre de archivo son correctos" || fail "no missing-file message"

"$(dirname "$0")/make_projects.sh" "$CALCEST" "$EXAMPLES" "$WORK" || fail "projects not made"
# corta: the first two spans of the same beam, so one node and one bar fewer.
awk 'NR == 2 { $1 = 2; $2 = 3; $3 = 3 } NR == 6 || NR == 9 || NR == 15 { next } { print }' \
  "$WORK/viga1.dat" > "$WORK/corta.dat"
grep -v '^3 ' "$WORK/viga1.caf" > "$WORK/corta.caf"
(cd "$WORK" && timeout 30 "$CALCEST" corta.dat corta.res corta.caf corta.fmc corta.bar x < /dev/null > corta.log 2>&1)
: > "$WORK/corta.car"
awk 'NR == 1 { print $4 - 1; next }
     { printf "%d %f %f %f %f %f %f %f\n", NR - 2, $1, $4, $4, $3, $3, 0, $3 }' "$WORK/corta.fmc" > "$WORK/corta.esf"
[ -s "$WORK/corta.fmc" ] || fail "corta not analysed"
printf ' 2\nviga1\ncorta\n' > "$WORK/mezcla.dat"
: > "$WORK/proyecto.txt"
: > "$ENVOLVENTES_MESSAGE_LOG"

start_viewer proyecto.txt 2
wait_window "^Selecciona ancho y alto de pantalla$"
keys Return
wait_window "^Selecciona la existencia de fichero de envolventes$"
keys Return
wait_window "^Nombre del Proyecto Envolvente$"
type_text mezcla; keys Return
answer_message; answer_message                  # the two project names
answer_message                                  # the selection error
wait_exit "$WAIT"
[ "$APP_STATUS" -eq 1 ] || fail "selection error: status $APP_STATUS"
message_shown "ERROR EN SELECCION DE PROYECTOS" || fail "no selection error message"
echo "PASS start_failures"
