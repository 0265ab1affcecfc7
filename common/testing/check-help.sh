#!/usr/bin/env bash
# --help and --version of one program of the suite, without a display: the
# usage (naming its manual page) or the version on stdout, nothing on stderr,
# status 0, nothing written; and, when one is given, a usage error that keeps
# its own first line and status.
# Usage: check-help.sh PROGRAM NAME VERSION [STATUS FIRST_LINE [ARGUMENT...]]
set -uo pipefail
program=$1 name=$2 version=$3
shift 3
fail() { echo "FAIL: $name $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C "$program" "$@" </dev/null >"$work/out" 2>"$work/err"
  echo $?
}
for option in --help --version; do
  status=$(run "$option" extra)
  [ "$status" = 0 ] || fail "$option: status $status: $(cat "$work/err")"
  [ ! -s "$work/err" ] || fail "$option wrote to stderr: $(cat "$work/err")"
  [ "$(ls -A "$work")" = "$(printf 'err\nout')" ] || fail "$option left files: $(ls -A "$work")"
  if [ "$option" = --help ]; then
    head -1 "$work/out" | grep -q "^uso: $name " || fail "--help does not start with its usage: $(head -1 "$work/out")"
    grep -q "man $name\$" "$work/out" || fail "--help names no manual page"
  else
    [ "$(cat "$work/out")" = "$name (vigas) $version" ] || fail "--version printed: $(cat "$work/out")"
  fi
done
echo "$name: --help and --version answered"
[ $# -ge 2 ] || exit 0
expected=$1 first=$2
shift 2
status=$(run "$@")
[ "$status" = "$expected" ] || fail "usage error: status $status instead of $expected"
[ "$(head -1 "$work/out")" = "$first" ] || fail "usage error: $(head -1 "$work/out")"
echo "$name: the usage error keeps its words and status $expected"
