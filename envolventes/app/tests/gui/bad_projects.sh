#!/bin/bash
# The viewer on every bad project file kept by the fuzzing: each replaces one
# file of a sound project, which an existing envelope lists. Whatever the file
# holds, the program shows its message boxes, draws, and ends normally.
# usage: bad_projects.sh VIEWER FUZZ_DIR WORK_DIR
set -uo pipefail
VIEWER=$1 FUZZ=$2 WORK=$3
source "$(dirname "$0")/gui_lib.sh"

# answer_boxes: closes every message box until the main window stands alone.
answer_boxes() {
  local t=0 box
  while :; do
    box=$(xdotool search --onlyvisible --name "^envolventes$" 2>/dev/null | head -1)
    if [ -n "$box" ]; then
      xdotool windowfocus --sync "$box" 2>/dev/null; press Return; wait_gone "$box"; t=0; continue
    fi
    kill -0 "$APP_PID" 2>/dev/null || fail "program ended by itself"
    if xdotool search --onlyvisible --name "^proyecto.txt - envolventes$" > /dev/null 2>&1; then
      sleep 0.5   # a repaint may still bring a box
      [ -z "$(xdotool search --onlyvisible --name "^envolventes$" 2>/dev/null)" ] && return
      continue
    fi
    sleep 0.2; t=$((t + 1))
    [ $t -gt $((WAIT * 5)) ] && fail "neither a message nor the main window"
  done
}

runs=0
for bad in "$FUZZ"/regressions/project_*/*; do
  ext=${bad%/*}; ext=${ext##*_}
  echo "bad file: $bad"
  rm -rf "$WORK/run"; mkdir "$WORK/run"
  cp "$FUZZ"/fixture/env_a.* "$WORK/run/"
  cp "$bad" "$WORK/run/env_a.$ext"
  printf ' 1\nenv_a\n' > "$WORK/run/envolv.dat"
  : > "$WORK/run/proyecto.txt"
  : > "$ENVOLVENTES_MESSAGE_LOG"
  WORK_SAVED=$WORK; WORK=$WORK/run
  start_viewer proyecto.txt 1
  focus_window "^Selecciona ancho y alto de pantalla$"
  press Return
  focus_window "^Selecciona la existencia de fichero de envolventes$"
  press Return                                  # "Existente"
  focus_window "^Nombre del Proyecto Envolvente$"
  type_text envolv; press Return
  answer_boxes                                 # the project's name, then any message
  quit_viewer
  WORK=$WORK_SAVED
  message_shown "env_a" || fail "$bad: project name not shown"
  runs=$((runs + 1))
done
[ $runs -gt 20 ] || fail "only $runs bad project files found"
echo "PASS bad_projects ($runs files)"
