# Shared steps of the viewer's GUI tests: run under xvfb-run, drive the real
# program with xdotool as a person would, never wait forever.
# The including script sets VIEWER (the program) and WORK (its directory).

export ENVOLVENTES_MESSAGE_LOG="$WORK/messages.log"
export HOME="$WORK/home"   # recent-file settings stay inside the test
mkdir -p "$HOME"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"   # the toolkit keeps its caches to the end
WAIT=${WAIT:-30}

fail() {
  echo "FAIL: $*" >&2
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  import -window root "$WORK/failure.png" 2>/dev/null && echo "screen at failure: $WORK/failure.png" >&2
  [ -f "$ENVOLVENTES_MESSAGE_LOG" ] && { echo "messages shown:" >&2; cat "$ENVOLVENTES_MESSAGE_LOG" >&2; }
  exit 1
}

# start_viewer ARGS...: starts the program in $WORK.
start_viewer() {
  (cd "$WORK" && exec "$VIEWER" "$@") > "$WORK/viewer.out" 2>&1 &
  APP_PID=$!
}

# wait_window TITLE_REGEX: waits until a visible window with that title is
# there, gives it the keyboard and leaves its id in WIN.
wait_window() {
  WIN=$(timeout "$WAIT" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1) || true
  [ -n "$WIN" ] || fail "no window \"$1\" within ${WAIT}s (visible: $(visible_titles))"
  sleep 0.5   # let the toolkit finish laying it out
  xdotool windowfocus --sync "$WIN" 2>/dev/null || xdotool windowfocus "$WIN"
}

visible_titles() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do printf '[%s] ' "$(xdotool getwindowname "$id")"; done
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

keys() { xdotool key --delay 80 "$@"; }
type_text() { xdotool type --delay 60 "$1"; }

# replace_field TEXT: selects all of the focused edit field and types TEXT.
replace_field() { keys ctrl+a BackSpace; type_text "$1"; }

# answer_message: closes the message box that is (or comes) on the screen.
answer_message() {
  wait_window "^envolventes$"
  keys Return
  wait_gone "$WIN"
}

# A message shown so far (the log holds one record per message box).
message_shown() { grep -qF -- "$1" "$ENVOLVENTES_MESSAGE_LOG" 2>/dev/null; }

# wait_exit SECONDS: waits for the program to end and sets APP_STATUS.
wait_exit() {
  local t=0
  while kill -0 "$APP_PID" 2>/dev/null; do
    sleep 0.2; t=$((t + 1))
    [ $t -gt $(($1 * 5)) ] && fail "program still running after $1 s"
  done
  wait "$APP_PID"; APP_STATUS=$?
  APP_PID=
}

# quit_viewer: Archivo > Salir from the keyboard, then waits for the end.
quit_viewer() {
  wait_window " - envolventes$"
  keys alt+a
  sleep 0.5
  keys s
  wait_exit "$WAIT"
  [ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS after Salir"
}

# wait_file FILE: waits until FILE exists and is not empty.
wait_file() {
  local t=0
  until [ -s "$1" ]; do
    sleep 0.2; t=$((t + 1))
    [ $t -gt $((WAIT * 5)) ] && fail "$1 not written"
  done
}
