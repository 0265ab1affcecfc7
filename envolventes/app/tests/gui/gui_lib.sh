# The viewer's steps for its GUI tests, on top of the shared window helpers:
# run under xvfb-run, drive the real program with xdotool as a person would,
# never wait forever. The including script sets VIEWER (the program) and WORK
# (its directory).
GUI_DIR=$(dirname "${BASH_SOURCE[0]}")
source "$GUI_DIR/../../../../common/testing/gui_lib.sh"

rm -rf "$WORK"; mkdir -p "$WORK"   # every test starts from an empty directory
export ENVOLVENTES_MESSAGE_LOG="$WORK/messages.log"
export HOME="$WORK/home"   # recent-file settings stay inside the test
mkdir -p "$HOME"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"   # the toolkit keeps its caches to the end
WAIT=${WAIT:-30}

# On a failure: stop the viewer, keep the screen and show the messages it gave.
gui_on_failure() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  import -window root "$WORK/failure.png" 2>/dev/null && echo "screen at failure: $WORK/failure.png" >&2
  [ -f "$ENVOLVENTES_MESSAGE_LOG" ] && { echo "messages shown:" >&2; cat "$ENVOLVENTES_MESSAGE_LOG" >&2; }
  [ -s "$WORK/viewer.out" ] && { echo "viewer output:" >&2; cat "$WORK/viewer.out" >&2; }
}

# start_viewer ARGS...: starts the program in $WORK.
start_viewer() {
  (cd "$WORK" && exec "$VIEWER" "$@") > "$WORK/viewer.out" 2>&1 &
  APP_PID=$!
}

# make_projects: the example projects of $EXAMPLES, analysed by $CALCEST, in $WORK.
make_projects() {
  "$GUI_DIR/make_projects.sh" "$CALCEST" "$EXAMPLES" "$WORK" || fail "projects not made"
}

# start_on_empty_document KIND: starts the program on the empty document
# proyecto.txt for diagram KIND and waits for its first dialog, the drawing
# area's, leaving its id in WIN.
start_on_empty_document() {
  : > "$WORK/proyecto.txt"
  start_viewer proyecto.txt "$1"
  focus_window "^Selecciona ancho y alto de pantalla$"
}

# focus_window TITLE_REGEX: waits until a visible window with that title is
# there, gives it the keyboard and leaves its id in WIN; the keys that follow
# (press, type_text) go to it.
focus_window() {
  WIN=$(wait_window "$1" "$WAIT") || exit 1
  sleep 0.5   # let the toolkit finish laying it out
  xdotool windowfocus --sync "$WIN" 2>/dev/null || xdotool windowfocus "$WIN"
}

# wait_gone ID: waits until the window has been closed.
wait_gone() {
  local t=0
  while xdotool getwindowname "$1" > /dev/null 2>&1 && \
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; do
    sleep 0.2; t=$((t + 1))
    [ $t -gt $((WAIT * 5)) ] && fail "window $1 still open"
  done
}

press() { xdotool key --delay 80 "$@"; }
type_text() { xdotool type --delay 60 "$1"; }

# replace_field TEXT: selects all of the focused edit field and types TEXT.
replace_field() { press ctrl+a BackSpace; type_text "$1"; }

# answer_message: closes the message box that is (or comes) on the screen.
answer_message() {
  focus_window "^envolventes$"
  press Return
  wait_gone "$WIN"
}

# A message shown so far (the log holds one record per message box).
message_shown() { grep -qF -- "$1" "$ENVOLVENTES_MESSAGE_LOG" 2>/dev/null; }

# wait_viewer_exit: waits for the program to end and sets EXIT_STATUS.
wait_viewer_exit() {
  wait_exit "$APP_PID" "$WAIT"
  APP_PID=
}

# quit_viewer: Archivo > Salir from the keyboard, then waits for the end.
quit_viewer() {
  focus_window " - envolventes$"
  press alt+a
  sleep 0.5
  press s
  wait_viewer_exit
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Salir"
}

# wait_file FILE: waits until FILE holds a line.
wait_file() { wait_for_file_line "$1" . "$WAIT"; }
