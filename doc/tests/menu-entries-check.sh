#!/usr/bin/env bash
# The desktop entries of the packages, unpacked in TREE as they lie under / on
# a system, at work under a virtual display: Lanzador asks for the project
# folder and starts the installed vigas there (the launcher ending with status
# 0); F1 in vigas shows the installed guide in the installed Webrix; Guía de
# Vigas opens the guide in Webrix. Each entry's command is run as written,
# its paths taken inside TREE.
# Usage: menu-entries-check.sh TREE WORK_DIR
set -euo pipefail
tree=$(realpath "$1") work=$2
source "$(dirname "$0")/../../common/testing/gui_lib.sh"
gui_enter_xvfb "$@"
rm -rf "$work" && mkdir -p "$work/home" "$work/obra"
work=$(cd "$work" && pwd -P) folder=$work/obra
export HOME=$work/home GSETTINGS_BACKEND=memory VIGAS_SHOT_DIR=$work
export VIGAS_WEBRIX_STATE=$work/webrix-state.txt ASAN_OPTIONS=detect_leaks=0
unset XDG_CONFIG_HOME VIGAS_BIN
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
gui_on_failure() { import -window root "$work/failure.png" 2>/dev/null && echo "screen at failure: $work/failure.png" >&2; }

# entry NAME: the command of the entry NAME.desktop, its paths inside the tree.
entry() {
  local exec
  exec=$(sed -n 's/^Exec=//p' "$tree/usr/share/applications/$1.desktop")
  [ -n "$exec" ] || fail "$1.desktop has no command"
  echo "$exec" | sed "s|/usr/|$tree/usr/|g; s|^\([A-Za-z]\)|$tree/usr/bin/\1|"
}
# The window of the program whose process is PID's.
window_of_pid() {
  local end=$((SECONDS + 30)) id
  while :; do
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do echo "$id"; return 0; done
    [ $SECONDS -lt $end ] || fail "no window of process $1 (visible: $(visible_titles))"
    sleep 0.2
  done
}
# wait_guide: Webrix shows the installed guide.
wait_guide() {
  local end=$((SECONDS + 60)) url="file://$tree/usr/share/vigas/guide.html"
  until grep -qx "url=$url" "$VIGAS_WEBRIX_STATE" 2>/dev/null &&
        grep -q '^caption=Vigas: user guide' "$VIGAS_WEBRIX_STATE"; do
    [ $SECONDS -lt $end ] || fail "Webrix does not show $url: $(cat "$VIGAS_WEBRIX_STATE" 2>/dev/null)"
    sleep 0.2
  done
}

# Every picture of the guide is there beside it.
guide=$tree/usr/share/vigas/guide.html
pictures=$(grep -o ' src="[^":]*"' "$guide" | sed 's/ src="\(.*\)"/\1/' | sort -u)
[ -n "$pictures" ] || fail "the guide shows no pictures"
for picture in $pictures; do
  [ -s "$(dirname "$guide")/$picture" ] || fail "the guide's picture $picture is not installed"
done

# Lanzador: the folder, the opening message, then vigas in the folder.
read -ra command <<< "$(entry lanzador)"
[ "${command[*]:1}" = "--carpeta --principal vigas" ] || fail "the Lanzador entry runs ${command[*]}"
(cd "$work" && exec "${command[@]}") > "$work/lanzador.out" 2>&1 &
launcher=$!
pids+=("$launcher")
chooser=$(wait_window "^Elija la carpeta del proyecto$" 30)
keys "$chooser" ctrl+l
xdotool type --delay 60 "$folder/"
xdotool key Return
sleep 1
# The chooser may show the folder's content after the first Enter: a second one selects it.
xdotool search --onlyvisible --name "^Elija la carpeta del proyecto$" >/dev/null 2>&1 && xdotool key Return
box=$(wait_window '^Programa $' 30)
shot lanzador-mensaje.png
keys "$box" Return
wait_exit "$launcher" 30
[ "$EXIT_STATUS" -eq 0 ] || fail "the launcher ended with status $EXIT_STATUS: $(cat "$work/lanzador.out")"
end=$((SECONDS + 30))
until vigas=$(pgrep -x -f "$tree/usr/bin/vigas" | head -n 1) && [ -n "$vigas" ]; do
  [ $SECONDS -lt $end ] || fail "the launcher did not start the installed vigas"
  sleep 0.2
done
pids+=("$vigas")
[ "$(readlink "/proc/$vigas/cwd")" = "$folder" ] || fail "vigas runs in $(readlink "/proc/$vigas/cwd"), not $folder"
editor=$(window_of_pid "$vigas")
sleep 3  # the page or window painted
shot vigas.png
not_blank vigas.png
echo "Lanzador started $tree/usr/bin/vigas in $folder"

# F1 in vigas: the guide in Webrix.
keys "$editor" F1
wait_guide
webrix=$(pgrep -x -f "$tree/usr/bin/Webrix .*" | head -n 1)
pids+=("$webrix")
sleep 3  # the page or window painted
shot guia-desde-vigas.png
kill "$webrix" "$vigas"
echo "F1 in vigas showed the guide in Webrix"

# Guía de Vigas: Webrix on the guide.
grep -qx 'Name=Guía de Vigas' "$tree/usr/share/applications/Webrix.desktop" || fail "the Webrix entry is not named Guía de Vigas"
rm -f "$VIGAS_WEBRIX_STATE"
read -ra command <<< "$(entry Webrix)"
(cd "$work" && exec "${command[@]}") > "$work/webrix.out" 2>&1 &
pids+=("$!")
wait_guide
sleep 3  # the page or window painted
shot guia.png
not_blank guia.png
echo "Guía de Vigas opened the guide without /usr/share/doc"
