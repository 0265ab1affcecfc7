#!/bin/bash
# viga2h with its middle support typed as an inclined one (code 4): the model
# picture draws it and the program goes on; undone, the beam quits cleanly.
# usage: inclined_support.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR
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
quit_vigas
echo "PASS inclined_support"
