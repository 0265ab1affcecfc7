#!/bin/bash
# viga3 analysed with calcdin's option 0 chosen from the menu (F5), then its
# report (F7): the modes shown are the beam's (its bars cut until they
# converge), lower than those of calcdin's file of the model, which are shown
# beside them and are the ones calcdin writes by hand for the same beam; the
# report is informe's own for the same files, and Webrix opens it. The beam's
# second case (its variable load) gets its own report, opened too.
# usage: report.sh VIGAS CALCEST EXAMPLES_DIR WORK_DIR CALCDIN INFORME WEBRIX
set -uo pipefail
VIGAS=$1 CALCEST=$2 EXAMPLES=$3 WORK=$4 CALCDIN=$5 INFORME=$6 WEBRIX=$7
rm -rf "$WORK"; mkdir -p "$WORK/bin" "$WORK/hand"
source "$(dirname "$0")/gui_lib.sh"
ln -s "$CALCEST" "$CALCDIN" "$INFORME" "$WEBRIX" "$WORK/bin/"
export VIGAS_BIN="$WORK/bin"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/"
cp "$EXAMPLES/viga3q.caf" "$WORK/viga3_q.caf"
cp "$EXAMPLES/viga3.dat" "$EXAMPLES/viga3.caf" "$WORK/hand/"
WEBRIX_PID=
gui_on_failure() {
  import -window root "$WORK/failure.png" 2>/dev/null && echo "screen at failure: $WORK/failure.png" >&2
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  for pid in $WEBRIX_PID; do kill "$pid" 2>/dev/null; done
  [ -f "$VIGAS_MESSAGE_LOG" ] && { echo "messages shown:" >&2; cat "$VIGAS_MESSAGE_LOG" >&2; }
}

start_vigas viga3.dat
focus "^viga3\.dat .+ vigas$"
press alt+n v 0                       # Análisis > Vibraciones > Opción 0
sleep 0.3
press F5
MODE_ROW='^[0-9]+	[^	]+	[^	]+	[^	]+	[^	]+$'   # mode, beam's frequency, period, converged, model's
wait_for_file_line "$VIGAS_RESULTS_LOG" "$MODE_ROW" "$WAIT"
sleep 0.5
shot vigas_modes.png
not_blank vigas_modes.png
[ -s "$VIGAS_MESSAGE_LOG" ] && fail "a message was shown: $(cat "$VIGAS_MESSAGE_LOG")"
cp "$VIGAS_RESULTS_LOG" "$WORK/shown.txt"

press F7
for project in viga3 viga3_q; do
  WEBRIX_WIN=$(wait_window "^Informe VIGA3 \($project\) - Webrix$" "$WAIT") || exit 1
  WEBRIX_PID="$WEBRIX_PID $(xdotool getwindowpid "$WEBRIX_WIN")"
done
[ -s "$VIGAS_MESSAGE_LOG" ] && fail "a message was shown: $(cat "$VIGAS_MESSAGE_LOG")"
for pid in $WEBRIX_PID; do kill "$pid"; done; WEBRIX_PID=
focus "^viga3\.dat .+ vigas$"
quit_vigas

# By hand, in the files' character set.
calcest_on "$WORK/hand" viga3
(cd "$WORK/hand" && LC_ALL=C "$CALCDIN" viga3.dat viga3.bar viga3.din 0 < /dev/null > calcdin.out 2>&1) ||
  fail "calcdin refused the beam by hand: $(cat "$WORK/hand/calcdin.out")"
cmp "$WORK/viga3.din" "$WORK/hand/viga3.din" || fail "the window's modes file is not calcdin's option 0"
# Six frequencies of the beam, converged, each below the model's (a bar's
# cubic makes a model stiffer than its beam); the model's as calcdin wrote them.
rows=$(grep -Ec "$MODE_ROW" "$WORK/shown.txt")
[ "$rows" -eq 6 ] || fail "$rows modes shown, not six"
grep -q "cada barra dividida en 8 (24 barras); convergidas al 1 %" "$WORK/shown.txt" ||
  fail "the mesh used is not shown: $(cat "$WORK/shown.txt")"
while IFS=$'\t' read -r order beam period converged model; do
  [ "$converged" = "sí" ] || fail "mode $order: not converged"
  [ "$model" = "-" ] && continue
  grep -qF -- "$model" "$WORK/hand/viga3.din" || fail "mode $order: frequency $model is not in calcdin's file"
  awk -v b="$beam" -v m="$model" 'BEGIN { exit !(b < m) }' || fail "mode $order: the beam's $beam is not below the model's $model"
done < <(grep -E "$MODE_ROW" "$WORK/shown.txt")
(cd "$WORK/hand" && LC_ALL=C "$INFORME" viga3 viga3.din > informe.out 2>&1) ||
  fail "informe refused the beam by hand: $(cat "$WORK/hand/informe.out")"
# The second case as the window saved and analysed it, reported by hand.
mkdir "$WORK/hand/q"
cp "$WORK"/viga3_q.{dat,caf,res,fmc,bar} "$WORK/hand/q/"
(cd "$WORK/hand/q" && LC_ALL=C "$INFORME" viga3_q > informe.out 2>&1) ||
  fail "informe refused the second case by hand: $(cat "$WORK/hand/q/informe.out")"
for page in "$WORK"/hand/viga3*.html "$WORK"/hand/viga3*.svg "$WORK"/hand/q/viga3_q*.html "$WORK"/hand/q/viga3_q*.svg; do
  cmp "$page" "$WORK/$(basename "$page")" || fail "$(basename "$page") differs from informe's by hand"
done
echo "PASS report ($rows modes; screenshot $WORK/vigas_modes.png)"
