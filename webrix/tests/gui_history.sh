#!/usr/bin/env bash
# Back and Forward between two local pages, with Alt+Left / Alt+Right while
# the page has the keyboard; the caption and the address box follow. Then
# File, Open on a local page.
set -euo pipefail
source "$(dirname "$0")/webrix_lib.sh"

enter_work_dir

start_webrix doc.txt "$A" 0
win=$(wait_window '^Page One - Webrix$' 30)
type_address "$B"
wait_window '^Page Two - Webrix$' 20 > /dev/null
wait_state address "$B"

# Give the page the keyboard, as a person clicking into it would.
IFS=, read -r x y w h <<< "$(state box)"
xdotool mousemove $((x + w / 2)) $((y + h + 300)) click 1
sleep 0.5
xdotool key alt+Left
wait_window '^Page One - Webrix$' 20 > /dev/null
wait_state address "$A"
xdotool key alt+Right
wait_window '^Page Two - Webrix$' 20 > /dev/null
wait_state address "$B"
sleep 1
shot webrix_page_two.png
not_blank webrix_page_two.png
xdotool key alt+Left
wait_state url "$A"

# File, Open (Ctrl+O) on a local file: typed into the dialog's location field.
keys "$win" ctrl+o
dialog=$(wait_window '^Open$' 20)
keys "$dialog" ctrl+l
xdotool type --delay 15 "$work/b.html"
xdotool key Return
wait_no_window '^Open$' 10
wait_window '^Page Two - Webrix$' 20 > /dev/null
wait_state requested "$B"
close_webrix "$win"
echo PASS
