#!/bin/bash
# Makes two analysed projects of the example three-span beam in DIR:
# viga1 (the example's loads) and viga2 (the loads of the first span only,
# doubled). calcest writes their .res, .fmc and .kar; the .car file is only
# required to exist and the .esf force table is formed from the .fmc diagram.
# usage: make_projects.sh CALCEST EXAMPLES_DIR DIR
set -euo pipefail
calcest=$1 examples=$2 dir=$3
cd "$dir"
# The viewer reads each bar from one line: join the bar's two lines.
awk 'NR >= 7 && NR <= 12 && NR % 2 == 1 { printf "%s ", $0; next } { print }' "$examples/viga3.dat" > viga1.dat
cp viga1.dat viga2.dat
cp "$examples/viga3.caf" viga1.caf
awk '$1 == 1 { $6 = 2 * $6; print }' "$examples/viga3.caf" > viga2.caf
for p in viga1 viga2; do
  timeout 30 "$calcest" $p.dat $p.res $p.caf $p.fmc $p.bar x < /dev/null > $p.calcest.log 2>&1
  : > $p.car
  # Highest point index, then index, x, Qi, Qd, Mfi, Mfd, CC, Mf per point.
  awk 'NR == 1 { print $4 - 1; next }
       { printf "%d %f %f %f %f %f %f %f\n", NR - 2, $1, $4, $4, $3, $3, 0, $3 }' $p.fmc > $p.esf
done
rm -f artcorte.txt caldef.txt caldef1.txt esfuerzos.txt fp_pruebak.txt rigidez.txt rigidez1.txt
