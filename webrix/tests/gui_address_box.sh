#!/usr/bin/env bash
# The address box: a completed page puts its address there; Enter adds the
# typed text to the drop-down list (twice when pressed twice) and goes there;
# choosing a list entry goes there without adding anything.
set -euo pipefail
source "$(dirname "$0")/webrix_lib.sh"

enter_work_dir

start_webrix doc.txt "$A" 0
win=$(wait_window '^Page One - Webrix$' 30)
wait_state address "$A"
[ "$(state entries)" = 0 ] || fail "list not empty at start"

type_address "$B"
wait_window '^Page Two - Webrix$' 20 > /dev/null
wait_state url "$B"
wait_state entries 1
xdotool key Return
wait_state entries 2
[ "$(entries)" = "$(printf '%s\n%s' "$B" "$B")" ] || fail "list after Enter twice: $(entries)"

type_address "$A"
wait_window '^Page One - Webrix$' 20 > /dev/null
wait_state entries 3

# Open the list with the arrow at the right end of the box, take the first
# entry with the keyboard.
IFS=, read -r x y w h <<< "$(state box)"
xdotool mousemove $((x + w - 12)) $((y + h / 2)) click 1
sleep 1
shot webrix_address_list.png
xdotool key Home Return
wait_window '^Page Two - Webrix$' 20 > /dev/null
wait_state url "$B"
wait_state address "$B"
sleep 1
[ "$(state entries)" = 3 ] || fail "choosing an entry changed the list: $(entries)"
[ "$(entries)" = "$(printf '%s\n%s\n%s' "$B" "$B" "$A")" ] || fail "list: $(entries)"
close_webrix "$win"
echo PASS
