#!/bin/bash
# The screen-size dialog keeps its bounds: 2001 as height and 299 as width are
# refused with the range message of their field; 2000 and 20000 are taken.
# usage: height_range.sh VIEWER WORK_DIR
set -uo pipefail
VIEWER=$1 WORK=$2
source "$(dirname "$0")/gui_lib.sh"

start_on_empty_document 1; size=$WIN
replace_field 2001; press Return
answer_message
message_shown "Introduzca un número entero entre 200 y 2000." || fail "no height range message"
xdotool windowfocus "$size"
type_text 2000                                 # the refused text is selected: typing replaces it
press Tab; replace_field 299; press Return
answer_message
message_shown "Introduzca un número entero entre 300 y 20000." || fail "no width range message"
xdotool windowfocus "$size"
replace_field 20x; press Return
answer_message
message_shown "Introduzca un número entero." || fail "no integer message"
xdotool windowfocus "$size"
replace_field 20000; press Return
focus_window "^Selecciona la existencia de fichero de envolventes$"
[ "$(grep -c '^--$' "$ENVOLVENTES_MESSAGE_LOG")" -eq 3 ] || fail "expected three messages"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null
echo "PASS height_range"
