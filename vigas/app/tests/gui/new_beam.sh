#!/bin/bash
# A three-span beam with an overhang from the new-beam dialog, a point load
# typed into its load table, F5: the reactions the window shows are those of
# calcest on the same beam written by hand (one bar per span where the window
# made two).
# usage: new_beam.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR
set -uo pipefail
VIGAS=$1 CALCEST=$2 WORK=$4
rm -rf "$WORK"; mkdir -p "$WORK/mano"
source "$(dirname "$0")/gui_lib.sh"

# The beam by hand: spans 5, 6, 5 and an overhang of 1.5 on the right, a
# pinned support and three rollers, 12 down on every bar, 40 down at 1.5 into
# the middle span. No own weight; one section and one material, so E does not
# change the reactions.
cat > "$WORK/mano/mano.dat" <<'DAT'
MANO   1    1
4 5 4 0 1 1 0 0 0 0.0
1 0.0 0.0
2 5.0 0.0
3 11.0 0.0
4 16.0 0.0
5 17.5 0.0
1 1 2 1 1 1 0
1.0 0.0 0.0 0 1.0
2 2 3 1 1 1 0
1.0 0.0 0.0 0 1.0
3 3 4 1 1 1 0
1.0 0.0 0.0 0 1.0
4 4 5 1 1 1 0
1.0 0.0 0.0 0 1.0
1 0.15 0.003125 0.3 0.5
1 3.0e7 1.25e7 25.0 1.0e-5
1 110 0.0 0.0
2 10 0.0
3 10 0.0
4 10 0.0
DAT
cat > "$WORK/mano/mano.caf" <<'CAF'
1 3 0.0 5.0 0.0 -12.0 y
2 3 0.0 6.0 0.0 -12.0 y
3 3 0.0 5.0 0.0 -12.0 y
4 3 0.0 1.5 0.0 -12.0 y
2 1 1.5 4.5 0.0 -40.0 y
CAF
calcest_on "$WORK/mano" mano

start_vigas
focus "^sin t.+tulo .+ vigas$"; frame=$WIN
press ctrl+n
focus "^Nueva viga continua$"
type_text "5 6 5"          # spans
press Tab                  # left overhang: none
press Tab; replace_field 1.5
press Tab                  # supports: pinned, then rollers
press Tab; replace_field 12  # permanent load
press Tab                  # variable load as offered
press Tab space            # no own weight
press Tab; replace_field 2   # bars per span
press Return
focus "^\*sin t.+tulo .+ vigas$"
# The point load, at 1.5 into bar 3 (the first half of the middle span),
# typed in the bars view.
press F4; sleep 0.5
press ctrl+9; sleep 0.3; press ctrl+e; sleep 0.3
for value in 3 1 1.5 1.5 0 -40; do type_text "$value"; sleep 0.2; press Tab; sleep 0.2; done
type_text y; sleep 0.2; press Return
sleep 1
shot vigas_new_beam.png

press F5
focus "^Guardar viga$"
replace_field "$WORK/tres.dat"; press Return
wait_for_file_line "$VIGAS_RESULTS_LOG" "^caso" "$WAIT"
sleep 1
shot vigas_results.png
[ ! -s "$VIGAS_MESSAGE_LOG" ] || fail "unexpected messages"
for f in tres.dat tres.caf tres.res tres_variable.dat tres_variable.caf; do
  [ -s "$WORK/$f" ] || fail "$f not written"
done

# Reactions: the window's (apoyo, nudo, código, Rx, Ry, M; three decimals)
# against the vertical reactions of calcest's results file, support by support.
shown=$(awk -F'\t' 'NR > 1 && /^caso/ { exit } NR > 1 { print $5 }' "$VIGAS_RESULTS_LOG")
engine=$(tail -n 4 "$WORK/mano/mano.res" | awk '{ print $2 }')
[ "$(echo "$shown" | wc -l)" -eq 4 ] || fail "reactions shown: $(cat "$VIGAS_RESULTS_LOG")"
paste <(echo "$shown") <(echo "$engine") | awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > 0.002) bad = 1 }
  END { exit bad }' || fail "reactions shown $(echo $shown) differ from calcest's $(echo $engine)"

quit_vigas
grep -qx "$WORK/tres.dat" "$HOME/.config/vigas/recientes" || fail "not in the recent files"
echo "PASS new_beam (screenshots $WORK/vigas_new_beam.png, $WORK/vigas_results.png)"
