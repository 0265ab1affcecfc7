#!/bin/bash
# A beam made in the spans view, from the keyboard: three spans and an
# overhang (a length typed with a decimal comma), each case's loads along
# them, analysed with F5: the reactions shown are calcest's on the same beam
# written by hand with one bar per span. A span lengthened: its loads follow
# it (calcest on the beam by hand again). The table span by span gives the
# overhang's moment and shear of statics. A block of tab-separated text pasted
# from the clipboard, as a spreadsheet gives it, then its two rows selected
# with Shift+Down and taken away with Ctrl+Del: the loads file is as before.
# A length typed wrong stays in its field and is mended there. h of the
# section typed: A and I follow. Saved, opened again and saved: the
# files are byte for byte the same.
# usage: spans.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR CLIPBOARD_HELPER
set -uo pipefail
VIGAS=$1 CALCEST=$2 WORK=$4 CLIPBOARD=$5
rm -rf "$WORK"; mkdir -p "$WORK/mano" "$WORK/larga"
source "$(dirname "$0")/gui_lib.sh"
export VIGAS_SPANS_LOG="$WORK/spans.txt"

# hand_model DIR NAME SPAN2 POINT_AT: spans 5, SPAN2, 5 and an overhang of
# 1.5, a pin and three rollers, 12 down everywhere, 40 down at POINT_AT into
# span 2; a 0.3 x 0.5 section of HA-30 (the spans view's first span brings them).
hand_model() {
  local end2 end3 tip
  sum() { awk -v a="$1" -v b="$2" 'BEGIN { print a + b }'; }
  end2=$(sum 5 "$3"); end3=$(sum "$end2" 5); tip=$(sum "$end3" 1.5)
  cat > "$1/$2.dat" <<DAT
MANO   1    1
5 6 4 0 1 1 0 0 0 0.0
1 0.0 0.0
2 5.0 0.0
3 $(sum 5 "$4") 0.0
4 $end2 0.0
5 $end3 0.0
6 $tip 0.0
1 1 2 1 1 1 0
1.0 0.0 0.0 0 1.0
2 2 3 1 1 1 0
1.0 0.0 0.0 0 1.0
3 3 4 1 1 1 0
1.0 0.0 0.0 0 1.0
4 4 5 1 1 1 0
1.0 0.0 0.0 0 1.0
5 5 6 1 1 1 0
1.0 0.0 0.0 0 1.0
1 0.15 0.003125 0.3 0.5
1 2.8577e7 1.1907e7 25 1e-5
1 110 0.0 0.0
2 10 0.0
4 10 0.0
5 10 0.0
DAT
  cat > "$1/$2.caf" <<CAF
1 3 0.0 5.0 0.0 -12.0 y
2 3 0.0 $4 0.0 -12.0 y
3 3 0.0 $(sum "$3" "-$4") 0.0 -12.0 y
4 3 0.0 5.0 0.0 -12.0 y
5 3 0.0 1.5 0.0 -12.0 y
3 1 0.0 $(sum "$3" "-$4") 0.0 -40.0 y
CAF
  calcest_on "$1" "$2"
}
hand_model "$WORK/mano" mano 6 1.5
hand_model "$WORK/larga" larga 7 1.75   # span 2 made 7 long: the point load at 1.5 * 7 / 6

# same_reactions HAND_DIR NAME: the window's vertical reactions (its results
# log, three decimals) against calcest's on the beam by hand, support by support.
same_reactions() {
  local shown engine
  shown=$(awk -F'\t' 'NR > 1 && /^caso/ { exit } NR > 1 { print $5 }' "$VIGAS_RESULTS_LOG")
  engine=$(tail -n 4 "$1/$2.res" | awk '{ print $2 }')
  [ "$(echo "$shown" | wc -l)" -eq 4 ] || fail "reactions shown: $(cat "$VIGAS_RESULTS_LOG")"
  paste <(echo "$shown") <(echo "$engine") | awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > 0.002) bad = 1 }
    END { exit bad }' || fail "reactions shown $(echo $shown) differ from calcest's $(echo $engine) ($2)"
}

analyse() {
  rm -f "$VIGAS_RESULTS_LOG"
  press F5
  [ -n "${1:-}" ] && { focus "^Guardar viga$"; replace_field "$1"; sleep 0.5; press Return; }
  wait_for_file_line "$VIGAS_RESULTS_LOG" "^caso" "$WAIT"
  sleep 0.5
}

start_vigas
focus "^sin t.+tulo .+ vigas$"
# The spans: three, each like the one before, then their lengths.
press ctrl+2; sleep 0.3
press ctrl+e; sleep 0.3; press ctrl+e; sleep 0.3; press ctrl+e; sleep 0.3
press ctrl+Home Down Right
for length in 5 6 5 1,5; do type_text "$length"; press Return; sleep 0.2; done
sleep 0.5
shot vigas_spans_view.png
not_blank vigas_spans_view.png

# The loads of the first case: a uniform load on every span and on the
# overhang, 40 down at 1.5 into span 2.
press ctrl+5; sleep 0.3
load_row() {  # the cells from the first column on, Tab between them
  press ctrl+e; sleep 0.3; press Home
  local cell
  for cell in "$@"; do
    [ "$cell" = "-" ] || type_text "$cell"
    sleep 0.15; press Tab; sleep 0.15
  done
}
load_row 1 - - - -12
load_row 2 - - 6 -12
load_row 3 - - - -12
load_row vd - - 1,5 -12
load_row 2 p 1,5 - -40
sleep 0.5
shot vigas_span_loads.png
analyse "$WORK/tres.dat"
shot vigas_span_results.png
[ ! -s "$VIGAS_MESSAGE_LOG" ] || fail "unexpected messages: $(cat "$VIGAS_MESSAGE_LOG")"
same_reactions "$WORK/mano" mano
# The table span by span: the overhang holds its 12 kN/m as a cantilever,
# -12 x 1.5^2 / 2 = -13.5 and 12 x 1.5 = 18 at its support.
[ "$(wc -l < "$VIGAS_SPANS_LOG")" -eq 4 ] || fail "spans shown: $(cat "$VIGAS_SPANS_LOG")"
awk -F'\t' '$1 == "voladizo derecho" && $2 == "1.500" && $5 == "-13.500" && $6 == "0.000" && $7 == "18.000" &&
  $8 == "0.000" { found = 1 } END { exit !found }' "$VIGAS_SPANS_LOG" || fail "the overhang's row: $(cat "$VIGAS_SPANS_LOG")"
focus "^tres\.dat .+ vigas$"
xdotool windowsize "$WIN" 1280 800; sleep 1
shot vigas_span_table.png
# calcest on the saved files: the same reactions as the window's.
mkdir -p "$WORK/engine" && cp "$WORK/tres.dat" "$WORK/tres.caf" "$WORK/engine/"
calcest_on "$WORK/engine" tres
same_reactions "$WORK/engine" tres

# Span 2 made 7 long: its loads go with it.
press ctrl+2; sleep 0.3
press ctrl+Home Down Down Right; type_text 7; press Return; sleep 0.3
analyse
same_reactions "$WORK/larga" larga
cp "$WORK/tres.caf" "$WORK/before_paste.caf"

# Two rows pasted from a spreadsheet's copy at a new row (the decimal comma
# and the blank cells a spreadsheet gives): a force at the overhang's tip and
# a counter-clockwise moment of 10 at 3.5 into span 2.
printf 'vd\tpuntual\t1,5\t\t-3\n2\tmomento\t3,5\t\t10\n' > "$WORK/block.txt"
"$CLIPBOARD" "$WORK/block.txt" 30 & CLIP_PID=$!
sleep 1
focus "^tres\.dat .+ vigas$"
press ctrl+5; sleep 0.3
press ctrl+e; sleep 0.3; press Home; press ctrl+v; sleep 0.5
press ctrl+s; sleep 0.5
kill "$CLIP_PID" 2>/dev/null
grep -Eq '^[0-9]+ 1 [0-9.e-]+ 0 0 -3 y$' "$WORK/tres.caf" || fail "the pasted force is not at the tip: $(cat "$WORK/tres.caf")"
grep -Eq '^[0-9]+ 2 0 [0-9.e-]+ 0 -10 y$' "$WORK/tres.caf" ||
  fail "the pasted moment is not clockwise -10 in the loads file: $(cat "$WORK/tres.caf")"
# The two rows selected from the keyboard and deleted with Ctrl+Del.
press ctrl+Home; for k in 1 2 3 4 5; do press Down; done
press shift+Down; sleep 0.2; press ctrl+Delete; sleep 0.5
press ctrl+s; sleep 0.5
cmp "$WORK/before_paste.caf" "$WORK/tres.caf" || fail "Ctrl+Del did not take the two rows away"

# A value the cell refuses ("5,5x") stays in its field to be mended, not
# dropped: one BackSpace makes it 5,5, span 3's new length.
press ctrl+2; sleep 0.3
press ctrl+Home Down Down Down Right; type_text 5,5x; press Return; sleep 0.5
press BackSpace Return; sleep 0.3
press ctrl+s; sleep 0.5
grep -Eq '^[0-9]+ 19 0$' "$WORK/tres.dat" || fail "the mended length 5,5 was lost: $(sed -n '3,40p' "$WORK/tres.dat")"

# The section's depth: A and I follow.
press ctrl+3; sleep 0.3
press ctrl+Home Right Right Right Right; type_text 0,6; press Return; sleep 0.3
press ctrl+s; sleep 0.5
grep -qx '1 0.18 0.0054 0.3 0.6' "$WORK/tres.dat" || fail "h = 0.6 did not give A and I: $(grep -n '^1 0' "$WORK/tres.dat")"
# Ctrl+PgDn again and again, from a grid that has the focus: General,
# Vanos, Secciones, Materiales, then the loads, where Ctrl+E adds a load.
lines=$(wc -l < "$WORK/tres.caf")
press ctrl+1; sleep 0.3
for k in 1 2 3 4; do press ctrl+Next; sleep 0.3; done
press ctrl+e; sleep 0.3; press ctrl+s; sleep 0.5
[ "$(wc -l < "$WORK/tres.caf")" -gt "$lines" ] || fail "four Ctrl+PgDn did not reach the loads table"
quit_vigas

# Opened again (the spans view) and saved: the very same bytes.
mkdir -p "$WORK/saved" && cp "$WORK"/tres*.dat "$WORK"/tres*.caf "$WORK/saved/"
start_vigas tres.dat
focus "^tres\.dat .+ vigas$"
sleep 0.5
shot vigas_spans_reopened.png
press ctrl+s; sleep 0.5
quit_vigas
for f in "$WORK"/saved/*; do cmp "$f" "$WORK/$(basename "$f")" || fail "$(basename "$f") changed on saving again"; done
echo "PASS spans (screenshots in $WORK)"
