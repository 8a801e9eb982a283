#!/usr/bin/env bash
# Makes the Debian package from an optimised build and checks it as its users would meet it:
# lintian finds no error, the package holds exactly the files an installation should, and,
# unpacked into a scratch root, it plays end to end with a fresh home folder.
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f "$build"/blokfall_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$build/blokfall_1.0_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb"
echo "package: $deb ($(stat -c %s "$deb") bytes)"

lintian "$deb" 2>/dev/null | tee "$scratch/lintian.txt"
! grep -q '^E:' "$scratch/lintian.txt" || fail "lintian reports errors"

dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's#^\./usr/##' |
    LC_ALL=C sort > "$scratch/contents.txt"
LC_ALL=C sort "$build/expected-files.txt" | diff -u - "$scratch/contents.txt" ||
    fail "the package's files differ from an installation's"

dpkg -x "$deb" "$scratch/root"
bindir=$(sed -n 's/^CMAKE_INSTALL_BINDIR:PATH=//p' "$build/CMakeCache.txt")
tests/install/play.sh "$scratch/root/usr/$bindir/blokfall" "$build/package-shots"
