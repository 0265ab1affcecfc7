#!/usr/bin/env bash
# Builds the Debian packages (scripts/package) and checks them: lintian, pedantic
# and informational tags included, shows no error and no hardening tag; each
# package's dependencies (the console package on no window library, vigas-gui
# on no web engine and recommending vigas-webrix, vigas-webrix alone with the
# web engine); every program in its own package; the changelog signed by the
# Maintainer; every absolute path named in an installed desktop entry, manual
# page or text file exists in the packages or in a package they depend on; no
# installed program holds a path of the source or build tree. Then, under a
# virtual display, with /usr/share/doc removed as minimal installs leave it
# out: the menu entry Lanzador starts the installed vigas in the folder asked
# for, F1 there shows the installed guide in the installed Webrix, and the
# menu entry Guía de Vigas opens it too.
# Usage: package-check.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
mkdir -p "$build"
"$root/scripts/package" "$build" >"$build/package.log" 2>&1 || { tail -30 "$build/package.log"; echo "FAIL: packaging"; exit 1; }
cd "$build"
fail() { echo "FAIL: $*"; exit 1; }
console=$(ls vigas_*.deb) gui=$(ls vigas-gui_*.deb) webrix=$(ls vigas-webrix_*.deb)
for deb in $console $gui $webrix; do
  dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Section\|Maintainer\|Depends\|Recommends\): /\1: /p'
  echo "$(dpkg-deb -c "$deb" | wc -l) entries in $deb"
  lintian -I --pedantic --no-tag-display-limit "$deb" | tee lintian.txt || true
  ! grep '^E:' lintian.txt || fail "lintian errors in $deb"
  ! grep 'hardening' lintian.txt || fail "$deb is not built with the distribution's hardening flags"
  # The changelog is signed by the Maintainer the package names.
  package=$(dpkg-deb --field "$deb" Package)
  signer=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/doc/$package/changelog.gz" | gzip -dc |
           sed -n 's/^ -- \(.*>\)  .*/\1/p' | head -n 1)
  [ "$signer" = "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "$deb: changelog signed by '$signer', not the Maintainer"
done

# Every program compiled with the hardening flags (lintian cannot tell a
# program whose every checked call the compiler proved safe).
programs=$(find "$build" -path '*CMakeFiles/*.dir/flags.make' |
  grep -E '/(calcest|calcdin|envolventes-batch|informe|alternancias|armado|envolventes|lanzador|Webrix|vigas)\.dir/')
[ "$(echo "$programs" | wc -l)" -eq 10 ] || fail "the programs' build flags were not found: $programs"
for flags in $programs; do
  grep -q -- '-D_FORTIFY_SOURCE=2' "$flags" && grep -q -- '-fstack-protector-strong' "$flags" ||
    fail "$flags: not compiled with the hardening flags"
done

# Dependencies, package by package.
version=$(dpkg-deb --field "$console" Version)
depends() { dpkg-deb --field "$1" Depends; }
web_engine='webkit[a-z0-9.-]*|wxgtk-webview[a-z0-9.-]*'
dpkg-deb --field "$console" Package | grep -qx vigas || fail "the console package is not named vigas"
! depends "$console" | grep -Eio "wx[a-z0-9.-]*|gtk[a-z0-9.-]*|$web_engine" ||
  fail "the console package depends on a window library"
depends "$gui" | grep -q "vigas (= $version)" || fail "vigas-gui does not depend on this vigas"
! depends "$gui" | grep -Eio "$web_engine" || fail "vigas-gui depends on the web engine"
dpkg-deb --field "$gui" Recommends | grep -q "vigas-webrix (= $version)" || fail "vigas-gui does not recommend vigas-webrix"
depends "$webrix" | grep -q "vigas (= $version)" || fail "vigas-webrix does not depend on vigas, whose guide it opens"
depends "$webrix" | grep -Eq "$web_engine" || fail "vigas-webrix does not depend on the web engine"
for deb in "$gui" "$webrix"; do  # the toolkit's texts in Spanish
  depends "$deb" | grep -q "wx3.2-i18n" || fail "$deb does not depend on the toolkit's catalogues"
done

# Each program in its package; Webrix with its entry, page and icon in its own.
holds() { dpkg-deb -c "$1" | awk '{ print $6 }' | sed 's|^\.||'; }
for entry in "$console:calcest calcdin envolventes-batch informe alternancias armado" "$gui:vigas envolventes lanzador" \
             "$webrix:Webrix"; do
  deb=${entry%%:*}
  [ "$(holds "$deb" | sed -n 's|^/usr/bin/||p' | sort | xargs)" = "$(echo ${entry#*:} | xargs -n1 | sort | xargs)" ] ||
    fail "$deb holds the programs $(holds "$deb" | sed -n 's|^/usr/bin/||p' | xargs)"
done
for file in /usr/share/applications/Webrix.desktop /usr/share/man/man1/Webrix.1.gz \
            /usr/share/icons/hicolor/scalable/apps/vigas-webrix.svg; do
  holds "$webrix" | grep -qx "$file" || fail "$file is not in vigas-webrix"
done
holds "$console" | grep -qx /usr/share/doc-base/vigas-guide || fail "the guide is not registered with doc-base"

tree=$build/tree
rm -rf "$tree" && mkdir -p "$tree"
for deb in $console $gui $webrix; do dpkg-deb -x "$deb" "$tree"; done

# Absolute paths named in installed text (desktop entries, manual pages, the
# guide, scripts): each must be in the packages or in a package they depend on.
python3 - "$tree" "$(depends "$console"), $(depends "$gui"), $(depends "$webrix")" <<'PY' || fail "an installed file names a path that is not installed"
import glob, gzip, os, re, subprocess, sys
tree, depends = sys.argv[1], sys.argv[2]
needed = {d.split()[0].split(":")[0] for d in re.split(r"[,|]", depends) if d.strip()}
path = re.compile(r"(?<![\w.~/-])(/(?:usr|etc|opt|var|bin|lib|srv)/[\w.+@%/*-]*[\w+@%/*-])")
bad = 0
for folder, _, files in os.walk(tree):
    for name in files:
        file = os.path.join(folder, name)
        if os.path.islink(file):
            continue
        data = open(file, "rb").read()
        if name.endswith(".gz"):
            data = gzip.decompress(data)
        if data.startswith(b"\x7fELF") or b"\0" in data[:4096]:
            continue
        for named in sorted(set(path.findall(data.decode("latin-1")))):
            if glob.glob(glob.escape(tree) + named) or os.path.lexists(tree + named):
                continue
            owner = subprocess.run(["dpkg", "-S", named], capture_output=True, text=True).stdout
            owners = {o.strip().split(":")[0] for o in owner.split(":", 1)[0].split(",")} if owner else set()
            essential = any(subprocess.run(["dpkg-query", "-W", "-f=${Essential}", o], capture_output=True,
                                           text=True).stdout == "yes" for o in owners)
            if not owners & needed and not essential:
                print("%s names %s" % (os.path.relpath(file, tree), named))
                bad += 1
sys.exit(1 if bad else 0)
PY

# No path of this source or build tree in an installed program.
for program in "$tree"/usr/bin/*; do
  ! strings "$program" | grep -F -e "$root" -e "$build" || fail "$(basename "$program") holds a build path"
done

# The menu entries on a system without /usr/share/doc.
rm -rf "$tree/usr/share/doc"
bash "$root/doc/tests/menu-entries-check.sh" "$tree" "$build/menu-entries" || fail "the menu entries do not work"
echo "packages checked: $console $gui $webrix"
