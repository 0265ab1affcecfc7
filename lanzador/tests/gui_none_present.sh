#!/usr/bin/env bash
# With none of the three programs in the current directory (but all three on
# the PATH): the message box, then the window with the notice text; the About
# box through Alt+? ; File, Exit ends the launcher with status 0; nothing on
# the PATH was started.
set -euo pipefail
source "$(dirname "$0")/launcher_lib.sh"
mkdir "$work/run" "$work/onpath"
for name in conexion.exe kaltrozip.exe kaltro.exe; do
  printf '#!/bin/sh\necho %s >> %s/ran.txt\n' "$name" "$work" > "$work/onpath/$name"
  chmod +x "$work/onpath/$name"
done
cd "$work/run"

PATH="$work/onpath:$PATH" "$LANZADOR" > "$work/launcher.out" 2>&1 &
launcher=$!
box=$(wait_window '^Programa $')
shot lanzador_message_box.png
keys "$box" Return
wait_no_window '^Programa $' 5
main=$(wait_window '^Programa de Actualiz')
# Closing the box does not start the sequence over again.
no_window_for '^Programa $' 2
shot lanzador_notice.png
not_blank lanzador_notice.png
process_ended $launcher && fail "launcher ended although the main program is missing"

keys "$main" alt+question
about=$(wait_window '^About$' 10)
keys "$about" Return
wait_no_window '^About$' 5

# Opening File is no reason to run the sequence again either.
keys "$main" alt+f
sleep 0.5
xdotool key x
wait_exit $launcher 10
[ "$EXIT_STATUS" -eq 0 ] || fail "launcher status $EXIT_STATUS after File, Exit"
[ ! -e "$work/ran.txt" ] || fail "a program on the PATH was started: $(cat "$work/ran.txt")"
echo "PASS"
