: "${VIGAS_SHOT_DIR:=$PWD}"  # screenshots go where the test was started
# Helpers for the window tests (sourced by their scripts). Every wait has a
# time limit, so a window that never appears fails the test instead of
# hanging it.

# Runs the calling script again inside a private X server, once.
gui_enter_xvfb() {
  if [ -z "${VIGAS_IN_XVFB:-}" ]; then
    export VIGAS_IN_XVFB=1
    # -noreset: the server must survive the moments between two programs.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
  fi
}

# In a script under set -e any failing command ends the test; say which.
case $- in
  *e*)
    set -E  # the ERR trap also in functions and command substitutions
    trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
    ;;
esac

# fail MESSAGE: ends the test; a script may define gui_on_failure to leave more
# evidence first (it runs before the exit).
fail() {
  echo "FAIL: $*" >&2
  if declare -F gui_on_failure > /dev/null; then gui_on_failure; fi
  exit 1
}

# The titles of the visible windows, for failure messages.
visible_titles() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do printf '[%s] ' "$(xdotool getwindowname "$id")"; done
}

# wait_window REGEX [SECONDS]: prints the id of the first visible window whose
# name matches. (Polls: a search can fail outright while other windows come
# and go.)
wait_window() {
  local end=$((SECONDS + ${2:-20})) id
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    [ $SECONDS -lt $end ] || fail "window '$1' did not appear (visible: $(visible_titles))"
    sleep 0.1
  done
}

# wait_no_window REGEX [SECONDS]
wait_no_window() {
  local end=$((SECONDS + ${2:-10}))
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || fail "window '$1' is still there"
    sleep 0.1
  done
}

# no_window_for REGEX SECONDS: the window does not show up during that time.
no_window_for() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt $end ]; do
    if xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; then fail "unexpected window '$1'"; fi
    sleep 0.2
  done
}

# keys WINDOW KEY...: gives WINDOW the keyboard focus and types the keys, as a
# person at the keyboard would (there is no window manager to do the focus).
# A window that has just appeared may not take the focus at once: retried.
keys() {
  local win=$1 end=$((SECONDS + 10))
  shift
  until xdotool windowfocus --sync "$win" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "window $win does not take the keyboard focus"
    sleep 0.2
  done
  sleep 0.2
  xdotool key --delay 150 "$@"
}

# process_ended PID: true once the process has exited (also while a zombie).
process_ended() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null || true)
  [ -z "$state" ] || [ "${state#Z}" != "$state" ]
}

# wait_exit PID SECONDS: waits for a child of this shell and sets EXIT_STATUS.
wait_exit() {
  local end=$((SECONDS + $2))
  while ! process_ended "$1"; do
    [ $SECONDS -lt $end ] || { kill -9 "$1" 2>/dev/null; fail "process $1 did not end"; }
    sleep 0.1
  done
  EXIT_STATUS=0
  wait "$1" || EXIT_STATUS=$?
}

# wait_for_file_line FILE REGEX [SECONDS]
wait_for_file_line() {
  local end=$((SECONDS + ${3:-20}))
  until [ -f "$1" ] && grep -Eq "$2" "$1"; do
    [ $SECONDS -lt $end ] || fail "no line matching '$2' in $1"
    sleep 0.1
  done
}

# shot NAME: a screenshot of the whole screen into the test's directory.
shot() {
  import -window root "$VIGAS_SHOT_DIR/$1"
}

# not_blank FILE: the picture holds more than a couple of colours.
not_blank() {
  local colours
  colours=$(convert "$VIGAS_SHOT_DIR/$1" -format %k info:)
  [ "$colours" -gt 4 ] || fail "screenshot $VIGAS_SHOT_DIR/$1 looks blank ($colours colours)"
}
