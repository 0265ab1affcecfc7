#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR, runs the installed calcest,
# calcdin and alternancias on an installed example, renders every installed
# manual page and validates every desktop entry.
# Usage: install-check.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1 scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch"
root=$scratch/root prefix=/usr
DESTDIR=$root cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*"; exit 1; }

# Nothing may land outside the prefix.
outside=$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"

bin=$root$prefix/bin doc=$root$prefix/share/doc/vigas share=$root$prefix/share/vigas
for program in calcest calcdin envolventes-batch envolventes lanzador Webrix vigas informe alternancias armado; do
  [ -x "$bin/$program" ] || fail "program $program not installed"
done
# The guide where the programs and the menu find it; the doc folder links to it.
for file in guide.md guide.html figures/carga1.svg figures/carga6.svg figures/alternancias-flechas.svg \
  figures/alternancias-momentos.svg figures/alternancias-cortes.svg; do
  [ -s "$share/$file" ] && [ ! -L "$share/$file" ] || fail "$file not installed in share/vigas"
  [ -s "$doc/$file" ] || fail "$file not reached from share/doc/vigas"
done
for file in examples/viga3.dat examples/viga3q.caf examples/viga3r.dat copyright changelog.gz; do
  [ -s "$doc/$file" ] || fail "$file not installed in share/doc/vigas"
done
[ -s "$root$prefix/share/doc-base/vigas-guide" ] || fail "no doc-base registration of the guide"

work=$scratch/work && mkdir -p "$work" && cp "$doc"/examples/viga3.* "$doc"/examples/viga3q.caf "$work"
(cd "$work" && "$bin/calcest" viga3.dat viga3.res viga3.caf viga3.fmc viga3.bar 0 </dev/null >/dev/null) ||
  fail "installed calcest failed"
(cd "$work" && "$bin/calcdin" viga3.dat viga3.bar viga3.din 0 </dev/null >/dev/null) || fail "installed calcdin failed"
grep -q "ciclos/seg" "$work/viga3.din" || fail "installed calcdin wrote no modes"
[ "$(wc -l <"$work/viga3.fmc")" -eq 62 ] || fail "installed calcest wrote an incomplete diagram file"
# alternancias --casos must run the installed calcest beside it, not the
# build's: a stand-in there leaves a mark and hands over to the real one.
mv "$bin/calcest" "$bin/calcest.real"
printf '#!/bin/sh\ntouch "%s"\nexec "%s" "$@"\n' "$work/beside" "$bin/calcest.real" >"$bin/calcest"
chmod +x "$bin/calcest"
(cd "$work" && "$bin/alternancias" V3 viga3.dat viga3.caf viga3q.caf --casos </dev/null >alternancias.txt) ||
  fail "installed alternancias failed: $(cat "$work/alternancias.txt")"
[ -e "$work/beside" ] || fail "installed alternancias did not run the calcest installed beside it"
grep -q "^Envolvente exacta V3: 3 tramos" "$work/alternancias.txt" || fail "installed alternancias printed no summary"
[ -s "$work/V3_01.res" ] && [ -s "$work/V3m.svg" ] || fail "installed alternancias wrote no envelope"

pages=$(find "$root$prefix/share/man" -name '*.gz' | sort)
[ "$(echo "$pages" | wc -l)" -ge 8 ] || fail "manual pages missing: $pages"
# One header on every page, the date of the newest changelog entry and the
# version the programs print.
version=$("$bin/calcest" --version | sed 's/^calcest (vigas) //')
released=$(date -u -d "$(gzip -dc "$doc/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -n 1)" +%Y-%m-%d)
for page in $pages; do
  heading=$(gzip -dc "$page" | sed -n 's/^\.TH "[^"]*" "[0-9]" //p')
  [ "$heading" = "\"$released\" \"vigas $version\" \"Vigas manual\"" ] || fail "$(basename "$page") is headed $heading"
done
for page in $pages; do
  errors=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$errors" ] || fail "$(basename "$page"): $errors"
  [ "$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | grep -c .)" -gt 10 ] || fail "$(basename "$page") renders empty"
done

entries=$(find "$root$prefix/share/applications" -name '*.desktop' | sort)
[ "$(echo "$entries" | wc -l)" -eq 4 ] || fail "desktop entries missing: $entries"
for entry in $entries; do
  desktop-file-validate "$entry" || fail "$(basename "$entry") does not validate"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -s "$root$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "icon $icon not installed"
done
echo "installed: $(find "$root" -type f | wc -l) files; $(echo "$pages" | wc -w) manual pages, $(echo "$entries" | wc -w) desktop entries checked"
