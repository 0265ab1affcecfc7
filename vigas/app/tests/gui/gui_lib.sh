# The editor's steps for its GUI tests, on top of the shared window helpers:
# run under xvfb-run, drive the real program with xdotool as a person would,
# never wait forever. The including script sets VIGAS (the program), CALCEST
# and WORK (its directory).
source "$(dirname "${BASH_SOURCE[0]}")/../../../../common/testing/gui_lib.sh"

export VIGAS_MESSAGE_LOG="$WORK/messages.log"
export VIGAS_RESULTS_LOG="$WORK/reactions.txt"
export VIGAS_BIN="$(dirname "$CALCEST")"   # the engine of this build
export HOME="$WORK/home"                  # recent files stay inside the test
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"   # the toolkit keeps its caches to the end
export VIGAS_SHOT_DIR="$WORK"
export GSETTINGS_BACKEND=memory   # no session bus under the virtual server
WAIT=${WAIT:-30}

gui_on_failure() {
  import -window root "$WORK/failure.png" 2>/dev/null && echo "screen at failure: $WORK/failure.png" >&2
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  [ -f "$VIGAS_MESSAGE_LOG" ] && { echo "messages shown:" >&2; cat "$VIGAS_MESSAGE_LOG" >&2; }
  [ -s "$WORK/vigas.out" ] && { echo "program output:" >&2; cat "$WORK/vigas.out" >&2; }
}

start_vigas() {
  (cd "$WORK" && exec "$VIGAS" "$@") > "$WORK/vigas.out" 2>&1 &
  APP_PID=$!
}

# The title as UTF-8: the main window's ("viga.dat — vigas") has a character
# the older name property cannot hold, so xdotool's name search misses it.
title_of() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

# wait_title REGEX: prints the id of the program's visible window whose title matches.
wait_title() {
  local end=$((SECONDS + WAIT)) id
  while :; do
    for id in $(xdotool search --onlyvisible --classname '^vigas$' 2>/dev/null); do
      if [[ "$(title_of "$id")" =~ $1 ]]; then echo "$id"; return 0; fi
    done
    [ $SECONDS -lt $end ] || {
      local titles=""
      for id in $(xdotool search --onlyvisible --classname '^vigas$' 2>/dev/null); do titles+="[$(title_of "$id")] "; done
      fail "no window titled '$1' (there are: $titles)"
    }
    sleep 0.2
  done
}

# focus REGEX: waits for the window, gives it the keyboard, leaves its id in WIN.
focus() {
  WIN=$(wait_title "$1") || exit 1
  sleep 0.5
  xdotool windowfocus --sync "$WIN" 2>/dev/null || xdotool windowfocus "$WIN"
}

press() { xdotool key --delay 100 "$@"; }
type_text() { xdotool type --delay 60 -- "$1"; }
replace_field() { press ctrl+a BackSpace; type_text "$1"; }

# answer_message [KEY]: closes the message box that is (or comes) on the
# screen with KEY (Return: its default button; Escape: Cancelar).
answer_message() {
  focus "^vigas$"
  press "${1:-Return}"
  local end=$((SECONDS + WAIT))
  while xdotool search --onlyvisible --classname '^vigas$' 2>/dev/null | grep -qx "$WIN"; do
    [ $SECONDS -lt $end ] || fail "message box still open"
    sleep 0.2
  done
}

message_shown() { grep -qF -- "$1" "$VIGAS_MESSAGE_LOG" 2>/dev/null; }

# calcest_on DIR NAME: calcest on DIR/NAME.dat and NAME.caf, as a person runs it.
calcest_on() {
  (cd "$1" && "$CALCEST" "$2.dat" "$2.res" "$2.caf" "$2.fmc" "$2.bar" 0 < /dev/null > calcest.out 2>&1) ||
    fail "calcest refused $1/$2: $(cat "$1/calcest.out")"
}

# quit_vigas: Archivo > Salir from the keyboard (nothing left unsaved), then the end.
quit_vigas() {
  press ctrl+q
  wait_exit "$APP_PID" "$WAIT"
  APP_PID=
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Salir"
}
