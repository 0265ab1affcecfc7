# Shared by the Webrix window tests (sourced with the script's arguments): a
# private X server, local pages, starting the program with the state hook, and
# reading that state.
WEBRIX=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../../common/testing/gui_lib.sh"
gui_enter_xvfb "$@"

# make_pages DIR: two local pages with titles, a third without, and a document.
make_pages() {
  printf '<html><head><title>Page One</title></head><body><h1>First page</h1><a href="b.html">to B</a></body></html>\n' > "$1/a.html"
  printf '<html><head><title>Page Two</title></head><body><h1>Second page</h1></body></html>\n' > "$1/b.html"
  echo "document" > "$1/doc.txt"
}

# start_webrix ARGS...: runs Webrix in the current directory; sets WEBRIX_PID.
start_webrix() {
  STATE=$PWD/state.txt
  rm -f "$STATE"
  VIGAS_WEBRIX_STATE=$STATE "$WEBRIX" "$@" >> "$PWD/webrix.out" 2>&1 &
  WEBRIX_PID=$!
}

# state KEY: the value of KEY in the last snapshot.
state() {
  sed -n "s/^$1=//p" "$STATE" 2>/dev/null | head -n 1 || true
}

# wait_state KEY VALUE [SECONDS]
wait_state() {
  local end=$((SECONDS + ${3:-20}))
  until [ "$(state "$1")" = "$2" ]; do
    [ $SECONDS -lt $end ] || fail "$1 is '$(state "$1")', expected '$2'"
    sleep 0.1
  done
}

# entries: the drop-down list, one per line.
entries() {
  sed -n 's/^entry=//p' "$STATE" || true
}

# main_window: the id of the visible Webrix main window.
main_window() {
  wait_window ' - Webrix$' "${1:-30}"
}

# click_address_box: puts the caret into the address box with the mouse.
click_address_box() {
  local box x y w h
  box=$(state box)
  IFS=, read -r x y w h <<< "$box"
  [ "${w:-0}" -gt 0 ] || fail "address box position unknown"
  xdotool mousemove $((x + 40)) $((y + h / 2)) click 1
  sleep 0.3
}

# type_address TEXT: replaces the address box text and presses Enter.
type_address() {
  click_address_box
  xdotool key ctrl+a
  xdotool type --delay 15 "$1"
  xdotool key Return
}

# close_webrix WINDOW: File, Exit; the program must end with status 0. On a
# slow machine the menu may not be open yet when "x" comes: then the keys are
# given again.
close_webrix() {
  local try
  for try in 1 2 3; do
    keys "$1" alt+f
    sleep 0.7
    xdotool key x
    local end=$((SECONDS + 8))
    while ! process_ended "$WEBRIX_PID" && [ $SECONDS -lt $end ]; do sleep 0.1; done
    process_ended "$WEBRIX_PID" && break
    xdotool key Escape
  done
  wait_exit "$WEBRIX_PID" 10
  [ "$EXIT_STATUS" -eq 0 ] || fail "Webrix ended with status $EXIT_STATUS after File, Exit"
}

# dismiss_message: presses Return on the visible message box titled "Webrix".
dismiss_message() {
  local box
  box=$(wait_window '^Webrix$' 30)
  shot "${1:-webrix_message.png}"
  keys "$box" Return
  wait_no_window '^Webrix$' 10
}

# A scratch directory with two local pages, A and B, as HOME and current
# directory; on exit Webrix is stopped, its output shown if the test failed,
# and the directory removed.
enter_work_dir() {
  work=$(mktemp -d)
  trap 'status=$?; kill $WEBRIX_PID 2>/dev/null || true; [ $status -eq 0 ] || tail -n 30 "$work/webrix.out" >&2; rm -rf "$work"' EXIT
  export HOME=$work
  cd "$work"
  make_pages "$work"
  A=file://$work/a.html
  B=file://$work/b.html
}
