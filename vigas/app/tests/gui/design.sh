#!/bin/bash
# viga3 with its variable load as a second case: Análisis > Armado (F8) with
# the dialog's defaults (HA-25, B500S) runs armado on the cases as the envelope
# takes them; the summary the Armado tab shows is the one armado prints for
# the same files, its files lie beside the beam as a run by hand writes them,
# and the tab draws the design.
# usage: design.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR ARMADO
set -uo pipefail
VIGAS=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4 ARMADO=$5
rm -rf "$WORK"; mkdir -p "$WORK/bin" "$WORK/hand"
source "$(dirname "$0")/gui_lib.sh"
ln -s "$CALCEST" "$ARMADO" "$WORK/bin/"
export VIGAS_BIN="$WORK/bin"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/"
cp "$EXAMPLES/viga3q.caf" "$WORK/viga3_q.caf"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/hand/"
cp "$EXAMPLES/viga3q.caf" "$WORK/hand/viga3_q.caf"

start_vigas viga3.dat
focus "^viga3\.dat .+ vigas$"
press F8
WIN=$(wait_title "^Armado de la viga$") || exit 1
focus "^Armado de la viga$"
press Return
wait_for_file_line "$VIGAS_RESULTS_LOG" "." "$WAIT"
sleep 1
shot vigas_design.png
not_blank vigas_design.png
[ -s "$VIGAS_MESSAGE_LOG" ] && fail "a message was shown: $(cat "$VIGAS_MESSAGE_LOG")"
focus "^viga3\.dat .+ vigas$"
quit_vigas

(cd "$WORK/hand" && LC_ALL=C "$ARMADO" viga3 viga3.dat viga3.caf viga3_q.caf > summary.txt 2>&1) ||
  fail "armado refused the beam by hand: $(cat "$WORK/hand/summary.txt")"
cmp "$VIGAS_RESULTS_LOG" "$WORK/hand/summary.txt" || fail "the summary shown is not armado's own"
for file in viga3.arm viga3.des viga3a.svg viga3a.scr; do
  cmp "$WORK/$file" "$WORK/hand/$file" || fail "$file differs from armado's by hand"
done
echo "PASS design (screenshot $WORK/vigas_design.png)"
