#!/usr/bin/env bash
# Where Webrix starts: the address on its command line; "NULO" takes the third
# word of servidor.txt; "nulo" is an address of its own; a missing document
# ends the program with a message and a non-zero status; a missing address or
# a bad servidor.txt gives a message and a blank page.
set -euo pipefail
source "$(dirname "$0")/webrix_lib.sh"

enter_work_dir

echo "-- address from the command line"
start_webrix doc.txt "$A" 0
win=$(wait_window '^Page One - Webrix$' 30)
wait_state address "$A"
wait_state url "$A"
sleep 1
shot webrix_page_one.png
not_blank webrix_page_one.png
close_webrix "$win"

echo "-- a document and an address with a blank, each one argument"
cp a.html "mi pagina.html"
start_webrix "mi pagina.html" "mi pagina.html" 0
win=$(wait_window '^Page One - Webrix$' 30)
wait_state url "file://$PWD/mi%20pagina.html"
process_ended "$WEBRIX_PID" && fail "Webrix ended"
close_webrix "$win"

echo "-- NULO reads the third word of servidor.txt"
printf 'primera segunda %s cuarta\n' "$B" > servidor.txt
start_webrix doc.txt NULO 0
win=$(wait_window '^Page Two - Webrix$' 30)
wait_state address "$B"
close_webrix "$win"

echo "-- nulo in lower case is the address itself"
start_webrix doc.txt nulo 0
win=$(main_window)
wait_state requested http://nulo
sleep 2
[ "$(state url)" != "$B" ] || fail "nulo led to the servidor.txt address"
xdotool search --onlyvisible --name '^Page Two' >/dev/null && fail "servidor.txt page shown for nulo"
close_webrix "$win"

echo "-- a document that does not exist"
start_webrix nada.htm "$A" 0
dismiss_message webrix_missing_document.png
wait_exit "$WEBRIX_PID" 10
[ "$EXIT_STATUS" -ne 0 ] || fail "missing document ended with status 0"
xdotool search --onlyvisible --name ' - Webrix$' >/dev/null && fail "main window shown for a missing document"

echo "-- no start address on the command line"
start_webrix doc.txt
dismiss_message webrix_no_address.png
win=$(main_window)
wait_state requested about:blank
wait_state url about:blank
process_ended "$WEBRIX_PID" && fail "Webrix ended"
close_webrix "$win"

echo "-- servidor.txt with two words"
printf 'uno dos\n' > servidor.txt
start_webrix doc.txt NULO 0
dismiss_message
win=$(main_window)
wait_state requested about:blank
close_webrix "$win"

echo "-- no servidor.txt"
rm servidor.txt
start_webrix doc.txt NULO 0
dismiss_message
win=$(main_window)
wait_state requested about:blank
close_webrix "$win"
echo PASS
