#!/usr/bin/env bash
# Builds the Debian packages (scripts/package) and checks them: lintian, pedantic
# and informational tags included, shows no error and no hardening tag; the
# console package depends on no window library; every absolute path named in an
# installed desktop entry, manual page or text file exists in the packages or in
# a package they depend on; no installed program holds a path of the source or
# build tree. Usage: package-check.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
mkdir -p "$build"
"$root/scripts/package" "$build" >"$build/package.log" 2>&1 || { tail -30 "$build/package.log"; echo "FAIL: packaging"; exit 1; }
cd "$build"
fail() { echo "FAIL: $*"; exit 1; }
console=$(ls vigas_*.deb) gui=$(ls vigas-gui_*.deb)
for deb in $console $gui; do
  dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Section\|Depends\): /\1: /p'
  echo "$(dpkg-deb -c "$deb" | wc -l) entries in $deb"
  lintian -I --pedantic --no-tag-display-limit "$deb" | tee lintian.txt || true
  ! grep '^E:' lintian.txt || fail "lintian errors in $deb"
  ! grep 'hardening' lintian.txt || fail "$deb is not built with the distribution's hardening flags"
done

depends() { dpkg-deb --field "$1" Depends; }
! depends "$console" | grep -Eio 'wx[a-z0-9.]*|gtk[a-z0-9.-]*|webkit[a-z0-9.-]*' ||
  fail "the console package depends on a window library"
depends "$gui" | grep -q 'vigas (= ' || fail "vigas-gui does not depend on vigas"
dpkg-deb --field "$console" Package | grep -qx vigas || fail "the console package is not named vigas"

tree=$build/tree
rm -rf "$tree" && mkdir -p "$tree"
dpkg-deb -x "$console" "$tree" && dpkg-deb -x "$gui" "$tree"
dpkg-deb -c "$console" | grep -Eq '/usr/bin/(envolventes|lanzador|Webrix)$' && fail "a window program is in vigas"
dpkg-deb -c "$gui" | grep -Eq '/usr/bin/(calcest|calcdin|informe|alternancias)$' && fail "a console program is in vigas-gui"

# Absolute paths named in installed text (desktop entries, manual pages, the
# guide, scripts): each must be in the packages or in a package they depend on.
python3 - "$tree" "$(depends "$console"), $(depends "$gui")" <<'PY' || fail "an installed file names a path that is not installed"
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
echo "packages checked: $console $gui"
