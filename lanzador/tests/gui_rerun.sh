#!/usr/bin/env bash
# After a failed start the window waits; once the programs are in place,
# resizing the window repaints it and runs the sequence again, which now
# hands over to the main program (the message box closed with Esc this time).
set -euo pipefail
source "$(dirname "$0")/launcher_lib.sh"
cd "$work"
"$LANZADOR" > launcher.out 2>&1 &
launcher=$!
keys "$(wait_window '^Programa $')" Return
main=$(wait_window '^Programa de Actualiz')
no_window_for '^Programa $' 1

for name in conexion.exe kaltrozip.exe kaltro.exe; do
  printf '#!/bin/sh\necho %s >> log.txt\n' "$name" > "$name"
  chmod +x "$name"
done
xdotool windowsize "$main" 700 400
# This time the box is closed with Esc, which counts as OK.
keys "$(wait_window '^Programa $')" Escape
wait_exit $launcher 10
[ "$EXIT_STATUS" -eq 0 ] || fail "launcher status $EXIT_STATUS"
wait_for_file_line log.txt '^kaltro.exe' 5
[ "$(cat log.txt)" = "$(printf 'conexion.exe\nkaltrozip.exe\nkaltro.exe')" ] || fail "log: $(cat log.txt)"
echo "PASS"
