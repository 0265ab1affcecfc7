#!/bin/bash
# Copies the bundled projects of one two-span beam (env_a, env_b, env_c, with
# their .esf force tables and .car files) into DIR and analyses them with
# calcest, which writes their .res, .fmc and .kar.
# usage: make_projects.sh CALCEST EXAMPLES_DIR DIR
set -euo pipefail
calcest=$1 examples=$2 dir=$3
cp "$examples"/envolvente/env_*.{dat,caf,car,esf} "$dir"
cd "$dir"
for p in env_a env_b env_c; do
  timeout 30 "$calcest" $p.dat $p.res $p.caf $p.fmc $p.bar 0 < /dev/null > $p.calcest.log 2>&1
  [ -s $p.fmc ] && [ -s $p.res ] || { echo "calcest did not analyse $p" >&2; exit 1; }
done
rm -f artcorte.txt caldef.txt caldef1.txt esfuerzos.txt fp_pruebak.txt rigidez.txt rigidez1.txt
