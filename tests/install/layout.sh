#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what arrives: exactly the expected files,
# menu entry and AppStream metadata that their validators accept, manual pages without
# complaints, and no path of the build or of a prefix written into any installed file.
#   layout.sh BUILD_DIR EXPECTED_FILES
set -euo pipefail
build=$(realpath "$1") expected=$(realpath "$2")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f -o -type l) | sed 's#^\./##' | LC_ALL=C sort > "$scratch/files.txt"
LC_ALL=C sort "$expected" | diff -u - "$scratch/files.txt" || fail "the installed files differ"

desktop-file-validate "$prefix"/share/applications/*.desktop || fail "the menu entry is not valid"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml ||
    fail "the AppStream metadata is not valid"
for page in "$prefix"/share/man/man6/*.6.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done
# The launcher finds everything relative to itself; nothing may name where it was built or
# where it was meant to go. (Debugging data may: a package strips it.)
while IFS= read -r file; do
    case $(head -c 4 "$prefix/$file" | tr -d '\0') in $'\x7fELF') strip --strip-debug "$prefix/$file" ;; esac
done < "$scratch/files.txt"
for place in "$build" "$(dirname "$build")" /usr/local; do
    found=$(grep -rlF "$place" "$prefix" || true)
    [ -z "$found" ] || fail "$place is written into: $found"
done
echo PASS
