#!/bin/bash
# viga2h edited in its supports table. First its middle support typed as an
# inclined one (code 4): the model picture draws it and the program goes on;
# undone. Then a beam that passes every cell check but that calcest refuses
# (nothing left to hold it horizontally): F5 shows calcest's own text in a
# message box, and no reactions.
# usage: engine_error.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIGAS=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
rm -rf "$WORK"; mkdir -p "$WORK"
source "$(dirname "$0")/gui_lib.sh"
cp "$EXAMPLES/viga2h.dat" "$EXAMPLES/viga2h.caf" "$WORK/"

start_vigas viga2h.dat
focus "^viga2h\.dat .+ vigas$"
press ctrl+6 ctrl+Home Down Right       # supports: the second one's code
type_text 4; press Return
sleep 1
process_ended "$APP_PID" && fail "the picture of an inclined support ended the program"
focus "^\*viga2h\.dat .+ vigas$"
shot vigas_inclined_support.png
press ctrl+z
focus "^viga2h\.dat .+ vigas$"
press ctrl+6 ctrl+Home Right            # supports: the first one's code
type_text 10; press Return              # fixed becomes a roller
focus "^\*viga2h\.dat .+ vigas$"
press F5
answer_message
message_shown "calcest no acepta el caso" || fail "no message about the refused case"
message_shown "MODELO CON PROBLEMAS" || fail "calcest's own text not shown"
awk 'NR > 1' "$VIGAS_RESULTS_LOG" | grep -q . && fail "reactions shown for a refused case: $(cat "$VIGAS_RESULTS_LOG")"
quit_vigas
echo "PASS engine_error"
