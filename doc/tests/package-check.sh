#!/usr/bin/env bash
# Builds the Debian package from the build tree and runs lintian on it; fails
# on lintian errors and prints its warnings. Usage: package-check.sh BUILD_DIR
set -euo pipefail
cd "$1"
rm -f vigas_*.deb
cpack -G DEB >/dev/null
deb=$(ls vigas_*.deb)
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Section\|Depends\): /\1: /p'
echo "$(dpkg-deb -c "$deb" | wc -l) entries in $deb"
lintian --no-tag-display-limit "$deb" | tee lintian.txt || true
if grep '^E:' lintian.txt; then
  echo "FAIL: lintian errors"; exit 1
fi
