#!/usr/bin/env bash
# Runs the real programs on every regression and seed input of their readers:
# each run must end by itself with status 0, or with status 1 after an error
# message; never by a signal or a time-out.
# Usage: run_programs.sh FUZZ_DIR EXAMPLES_DIR CALCEST CALCDIN ENVOLVENTES_BATCH [INFORME]
set -u
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
fuzz=$(absolute "$1") examples=$(absolute "$2")
calcest=$(absolute "$3") calcdin=$(absolute "$4") batch=$(absolute "$5")
informe=""
[ $# -ge 6 ] && informe=$(absolute "$6")
for program in "$calcest" "$calcdin" "$batch" $informe; do
  [ -x "$program" ] || { echo "missing program $program"; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 runs=0

# check NAME INPUT PROGRAM ARGS...: runs in a fresh copy of the work directory.
check() {
  local label=$1
  shift
  local out status
  out=$(cd "$work/run" && timeout -s KILL 60 "$@" </dev/null 2>&1)
  status=$?
  runs=$((runs + 1))
  if [ $status -ne 0 ] && [ $status -ne 1 ]; then
    echo "FAIL $label: status $status (signal or time-out)"
    failures=$((failures + 1))
  elif [ $status -eq 1 ] && ! printf '%s' "$out" | grep -aiqE "error|problemas|convergencia"; then
    echo "FAIL $label: status 1 without an error message"
    failures=$((failures + 1))
  fi
}

fresh() {
  rm -rf "$work/run"
  mkdir "$work/run"
}

inputs() { ls -d "$fuzz/corpus/$1"/* "$fuzz/regressions/$1"/* 2>/dev/null; }

for f in $(inputs model_file); do
  fresh
  cp "$f" "$work/run/m.dat"
  : >"$work/run/m.caf"
  check "calcest model $(basename "$f")" "$calcest" m.dat m.res m.caf m.fmc m.bar 0
done
for f in $(inputs loads); do
  fresh
  cp "$examples/viga3.dat" "$work/run/m.dat"
  cp "$f" "$work/run/m.caf"
  check "calcest loads $(basename "$f")" "$calcest" m.dat m.res m.caf m.fmc m.bar 0
done
for f in $(inputs bar_record); do
  for option in 0 1 2; do
    fresh
    cp "$fuzz/fixture/env_a.dat" "$work/run/m.dat"
    cp "$f" "$work/run/m.bar"
    check "calcdin option $option $(basename "$f")" "$calcdin" m.dat m.bar m.din $option
  done
done
for ext in dat res fmc caf kar esf; do
  for f in $(inputs project_$ext); do
    fresh
    cp "$fuzz"/fixture/env_a.* "$work/run/"
    cp "$f" "$work/run/env_a.$ext"
    check "envolventes-batch .$ext $(basename "$f")" "$batch" envolv 3000 400 env_a
  done
done
# The report reads the model, loads, results and diagram files of a project and
# calcdin's results file: each spoilt in turn beside valid others.
if [ -n "$informe" ]; then
  for pair in model_file:dat loads:caf project_dat:dat project_caf:caf project_res:res project_fmc:fmc modes_file:din; do
    for f in $(inputs "${pair%%:*}"); do
      fresh
      cp "$fuzz"/fixture/env_a.{dat,caf,res,fmc} "$fuzz/corpus/modes_file/env_a_supports.din" "$work/run/"
      mv "$work/run/env_a_supports.din" "$work/run/env_a.din"
      cp "$f" "$work/run/env_a.${pair##*:}"
      check "informe .${pair##*:} $(basename "$f")" "$informe" env_a env_a.din
    done
  done
fi
echo "$runs runs, $failures failures"
[ $failures -eq 0 ]
