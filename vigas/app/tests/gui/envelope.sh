#!/bin/bash
# viga3 with its variable load as a second case: Análisis > Envolvente (F6)
# with the dialog's preset (the first case permanent, the other variable) runs
# alternancias, and the summary the window shows is the one alternancias
# prints for the same files; its pictures are written beside the beam.
# usage: envelope.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR ALTERNANCIAS
set -uo pipefail
VIGAS=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4 ALTERNANCIAS=$5
rm -rf "$WORK"; mkdir -p "$WORK/bin" "$WORK/hand"
source "$(dirname "$0")/gui_lib.sh"
ln -s "$CALCEST" "$ALTERNANCIAS" "$WORK/bin/"
export VIGAS_BIN="$WORK/bin"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/"
cp "$EXAMPLES/viga3q.caf" "$WORK/viga3_q.caf"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/hand/"
cp "$EXAMPLES/viga3q.caf" "$WORK/hand/viga3_q.caf"

start_vigas viga3.dat
focus "^viga3\.dat .+ vigas$"
press F6
WIN=$(wait_title "^Envolvente de los casos de carga$") || exit 1
focus "^Envolvente de los casos de carga$"
press Return
wait_for_file_line "$VIGAS_RESULTS_LOG" "." "$WAIT"
sleep 1
shot vigas_envelope.png
not_blank vigas_envelope.png
[ -s "$VIGAS_MESSAGE_LOG" ] && fail "a message was shown: $(cat "$VIGAS_MESSAGE_LOG")"
focus "^viga3\.dat .+ vigas$"
quit_vigas

# In the files' character set, as the window runs it.
(cd "$WORK/hand" && LC_ALL=C "$ALTERNANCIAS" viga3-envolvente viga3.dat viga3.caf viga3_q.caf > summary.txt 2>&1) ||
  fail "alternancias refused the beam by hand: $(cat "$WORK/hand/summary.txt")"
cmp "$VIGAS_RESULTS_LOG" "$WORK/hand/summary.txt" || fail "the summary shown is not alternancias' own"
for kind in d m c; do
  cmp "$WORK/viga3-envolvente$kind.svg" "$WORK/hand/viga3-envolvente$kind.svg" || fail "picture $kind differs"
done
echo "PASS envelope (screenshot $WORK/vigas_envelope.png)"
