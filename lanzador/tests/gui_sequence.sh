#!/usr/bin/env bash
# With all three programs present: message box first, then conexion.exe and
# kaltrozip.exe one after the other (each waited for), then kaltro.exe, and
# the launcher ends (window and process gone, status 0) while kaltro.exe is
# still running.
set -euo pipefail
source "$(dirname "$0")/launcher_lib.sh"
cd "$work"
for entry in conexion.exe:1 kaltrozip.exe:1 kaltro.exe:4; do
  name=${entry%%:*}
  cat > "$name" <<EOS
#!/bin/sh
echo "start $name \$(date +%s.%N) \$0 \$#" >> log.txt
sleep ${entry##*:}
echo "end $name \$(date +%s.%N)" >> log.txt
EOS
  chmod +x "$name"
done

"$LANZADOR" > launcher.out 2>&1 &
launcher=$!
box=$(wait_window '^Programa $')
[ ! -e log.txt ] || fail "a program started before the message box was closed"
keys "$box" Return

# While the first two run, the launcher is still there.
wait_for_file_line log.txt '^start conexion.exe'
process_ended $launcher && fail "launcher ended before the main program started"
wait_for_file_line log.txt '^start kaltro.exe' 20

wait_exit $launcher 5
[ "$EXIT_STATUS" -eq 0 ] || fail "launcher status $EXIT_STATUS"
grep -q '^end kaltro.exe' log.txt && fail "launcher waited for the main program"
wait_no_window '^Programa de Actualiz' 5

# Order and waits, from the recorded times.
wait_for_file_line log.txt '^end kaltro.exe' 20
cat log.txt
awk '
  { event[NR] = $1 " " $2; t[NR] = $3; if ($1 == "start") { zero[NR] = $4 " " $5 } }
  END {
    want[1] = "start conexion.exe"; want[2] = "end conexion.exe"; want[3] = "start kaltrozip.exe"
    want[4] = "end kaltrozip.exe"; want[5] = "start kaltro.exe"; want[6] = "end kaltro.exe"
    if (NR != 6) { print "expected 6 events, got " NR; exit 1 }
    for (i = 1; i <= 6; i++) if (event[i] != want[i]) { print "event " i " is " event[i]; exit 1 }
    for (i = 2; i <= 6; i++) if (t[i] < t[i-1]) { print "times out of order at " i; exit 1 }
    if (t[3] - t[2] < 0 || t[2] - t[1] < 0.9) { print "conexion.exe was not waited for"; exit 1 }
    split("1 3 5", starts, " ")
    for (k in starts) { split(want[starts[k]], w, " "); if (zero[starts[k]] != w[2] " 0") { print "argv of " w[2] ": " zero[starts[k]]; exit 1 } }
  }' log.txt || fail "sequence log is wrong"
echo "PASS"
