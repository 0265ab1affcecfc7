#!/bin/bash
# Started as the desktop's menu starts it (--carpeta), the viewer first asks for
# the project folder and then runs there; the next start offers that folder
# again (accepted at once), and giving up the question ends the program
# quietly with status 0.
# usage: menu_folder.sh VIEWER WORK_DIR
set -uo pipefail
VIEWER=$1 WORK=$2
rm -rf "$WORK"; mkdir -p "$WORK"
source "$(dirname "$0")/gui_lib.sh"
mkdir -p "$WORK/obra uno"
folder=$(cd "$WORK/obra uno" && pwd -P)

runs_in() { [ "$(readlink "/proc/$APP_PID/cwd")" = "$1" ] || fail "runs in $(readlink "/proc/$APP_PID/cwd"), not $1"; }

start_viewer --carpeta - 1
focus_window "^Elija la carpeta del proyecto$"
press ctrl+l; type_text "$folder/"; press Return
sleep 1
# The chooser may show the folder's content after the first Enter: a second one selects it.
xdotool search --onlyvisible --name "^Elija la carpeta del proyecto$" >/dev/null 2>&1 && press Return
focus_window "^Selecciona ancho y alto de pantalla$"
runs_in "$folder"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null

start_viewer --carpeta - 1
focus_window "^Elija la carpeta del proyecto$"
press Return                                   # the folder offered: the last one
focus_window "^Selecciona ancho y alto de pantalla$"
runs_in "$folder"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null

start_viewer --carpeta - 1
focus_window "^Elija la carpeta del proyecto$"
press Escape
wait_viewer_exit
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after giving up the folder"
echo "PASS menu_folder"
