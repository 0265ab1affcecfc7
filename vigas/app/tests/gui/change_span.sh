#!/bin/bash
# viga2h opened, its second span made 6 long instead of 5 (node 3 moved), the
# save refused while the loads no longer fit their bar, the loads mended, the
# beam saved: calcest on the saved files gives the results of the same change
# made by hand, and they are not the old ones.
# usage: change_span.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIGAS=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4
rm -rf "$WORK"; mkdir -p "$WORK/before" "$WORK/hand" "$WORK/saved"
source "$(dirname "$0")/gui_lib.sh"
cp "$EXAMPLES/viga2h.dat" "$EXAMPLES/viga2h.caf" "$WORK/"
cp "$EXAMPLES/viga2h.dat" "$EXAMPLES/viga2h.caf" "$WORK/before/"
# The change by hand: node 3 from x 12 to 13, bar 2's two loads 1 longer.
sed 's/^3 12\.0 0\.0$/3 13.0 0.0/' "$EXAMPLES/viga2h.dat" > "$WORK/hand/viga2h.dat"
sed -e 's/^2  3  0\.0  5\.0  0\.0  -20\.0 y$/2  3  0.0  6.0  0.0  -20.0 y/' \
    -e 's/^2  4  1\.0  3\.0  1\.0  -15\.0 y$/2  4  1.0  4.0  1.0  -15.0 y/' "$EXAMPLES/viga2h.caf" > "$WORK/hand/viga2h.caf"
[ "$(cat "$EXAMPLES/viga2h.dat" "$EXAMPLES/viga2h.caf" | diff - <(cat "$WORK/hand/viga2h.dat" "$WORK/hand/viga2h.caf") | grep -c '^>')" -eq 3 ] ||
  fail "the example changed: the change by hand no longer applies"

start_vigas viga2h.dat
focus "^viga2h\.dat .+ vigas$"
press ctrl+2 ctrl+Home Down Down Right   # nodes: x of the third
type_text 13; press Return
focus "^\*viga2h\.dat .+ vigas$"      # changed
press ctrl+z
focus "^viga2h\.dat .+ vigas$"         # undone: as opened
press ctrl+y
focus "^\*viga2h\.dat .+ vigas$"      # redone
press ctrl+s                            # the loads of bar 2 no longer fit it
answer_message
message_shown "no se guarda" || fail "the save was not refused"
cmp -s "$EXAMPLES/viga2h.dat" "$WORK/viga2h.dat" || fail "a refused save wrote the model"
focus "^\*viga2h\.dat .+ vigas$"
press ctrl+9 ctrl+Home Down Down Right Right Right  # loads: c of bar 2's uniform load
type_text 6; press Return; type_text 4; press Return
sleep 0.5
shot vigas_change_span.png
press ctrl+s
focus "^viga2h\.dat .+ vigas$"          # saved: no mark of changes left
[ ! -e "$WORK/viga2h.res" ] || fail "saving ran the analysis"
# Leaving with a change unsaved asks first; cancelling keeps the window.
press ctrl+2 ctrl+Home Down Down Right; type_text 14; press Return
focus "^\*viga2h\.dat .+ vigas$"
press ctrl+q
answer_message Escape
focus "^\*viga2h\.dat .+ vigas$"
message_shown "Guardar los cambios" || fail "leaving did not ask about the unsaved change"
press ctrl+z
focus "^viga2h\.dat .+ vigas$"
quit_vigas

cp "$WORK/viga2h.dat" "$WORK/viga2h.caf" "$WORK/saved/"
for run in before hand saved; do calcest_on "$WORK/$run" viga2h; done
for f in res fmc; do
  cmp "$WORK/hand/viga2h.$f" "$WORK/saved/viga2h.$f" || fail "viga2h.$f of the saved beam differs from the change by hand"
done
! cmp -s "$WORK/before/viga2h.res" "$WORK/saved/viga2h.res" || fail "the results did not change"
echo "PASS change_span (screenshot $WORK/vigas_change_span.png)"
