#!/usr/bin/env bash
# Puts Debian's source of the network library into DIR (DIR/include/enet/enet.h and its .c
# files) for the Windows build, which compiles it with the cross compiler; Debian ships no
# Windows build of it. Nothing of it goes into the project's tree. Needs a deb-src entry
# (scripts/install-deps.sh adds one) and dpkg-dev; runs as any user.
# Usage: fetch-enet-source.sh DIR
set -euo pipefail

target=$(realpath -m "$1")
[ -f "$target/include/enet/enet.h" ] && exit 0
download=$(mktemp -d)
trap 'rm -rf "$download"' EXIT
cd "$download"

# Each version the source lists offer, newest first. A mirror may lack some of a version's files:
# a version whose upstream tarball arrives is enough, as the Debian changes only touch its build.
versions=$(apt-cache showsrc enet 2>/dev/null | awk '/^Version:/ {print $2}' | sort -rV | uniq)
[ -n "$versions" ] || {
    echo "fetch-enet-source: no source package enet is known; run scripts/install-deps.sh --tests" >&2
    exit 1
}
unpacked=
for version in $versions; do
    rm -rf "$download"/*
    apt-get source --download-only "enet=$version" >/dev/null 2>&1 || true
    if ls ./*.dsc >/dev/null 2>&1 && dpkg-source --no-check -x ./*.dsc unpacked >/dev/null 2>&1; then
        unpacked=unpacked
        break
    fi
    tarball=$(ls ./enet_*.orig.tar.* 2>/dev/null | head -1)
    if [ -n "$tarball" ]; then
        mkdir unpacked
        tar -xf "$tarball" -C unpacked --strip-components=1
        unpacked=unpacked
        break
    fi
done
[ -n "$unpacked" ] && [ -f "$unpacked/include/enet/enet.h" ] || {
    echo "fetch-enet-source: the source of enet could not be downloaded" >&2
    exit 1
}
mkdir -p "$(dirname "$target")"
rm -rf "$target"
mv "$unpacked" "$target"
echo "fetch-enet-source: enet $version in $target"
