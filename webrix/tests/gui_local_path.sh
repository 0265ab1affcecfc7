#!/usr/bin/env bash
# Addresses without a scheme, as a browser's address box takes them: a local
# file named by a relative path opens as a file address (from the command
# line, from servidor.txt and from the address box); other text gets "http://".
set -euo pipefail
WEBRIX=$(realpath "$1")
source "$(cd "$(dirname "$0")" && pwd)/webrix_lib.sh"
gui_enter_xvfb "$@"

enter_work_dir

echo "-- a local file named on the command line"
start_webrix doc.txt a.html 0
win=$(wait_window '^Page One - Webrix$' 30)
wait_state url "$A"
wait_state address "$A"
shot webrix_local_path.png
not_blank webrix_local_path.png

echo "-- a local file typed into the address box"
type_address b.html
wait_window '^Page Two - Webrix$' 30 >/dev/null
wait_state url "$B"

echo "-- a name that is no local file is a web address"
type_address no-such-host.invalid
wait_state requested http://no-such-host.invalid
close_webrix "$win"

echo "-- NULO: the third word of servidor.txt, a local file"
printf 'primera segunda b.html\n' > servidor.txt
start_webrix doc.txt NULO 0
win=$(wait_window '^Page Two - Webrix$' 30)
wait_state url "$B"
close_webrix "$win"
echo PASS
