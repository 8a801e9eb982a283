#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Blokfall needs. Idempotent.
# With --tests it also tries wine32, for the 32-bit Windows tests.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config git
    qt6-base-dev libxcb1-dev libxcb-shm0-dev libfluidsynth-dev timgm6mb-soundfont libsdl2-dev libenet-dev
    libgtest-dev libbenchmark-dev clang libclang-rt-dev clang-format
    xfonts-75dpi pcf2bdf fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth x11-utils xdotool imagemagick desktop-file-utils xdg-utils libglib2.0-bin strace xclip
    dpkg-dev lintian appstream man-db xz-utils
    openbox pulseaudio pulseaudio-utils
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 fonts-wine
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
fi

# wine32 runs the 32-bit Windows programs. It comes from the i386 architecture, whose libraries
# must have the very versions of the installed amd64 ones; when the mirror cannot give them, apt
# would have to remove or break packages. So it goes in only when a dry run installs and removes
# nothing else, and the architecture is taken back out when it does not.
wine32_plan_is_clean() {
    local plan
    plan=$(apt-get -s install --no-install-recommends wine32:i386 2>&1) && ! grep -q '^Remv' <<<"$plan"
}
# A mirror caught mid-sync serves an i386 index that no longer matches its release file, and apt
# then drops the index, taking the security updates that match the amd64 libraries with it. The
# index as served is taken instead; every package in it still carries its checksum.
take_indexes_that_failed_their_size_check() {
    local url list
    apt-get update 2>&1 | sed -n 's/^E: Failed to fetch \(http[^ ]*binary-i386\/Packages\.xz\)  File has unexpected size.*/\1/p' |
    while read -r url; do
        list=/var/lib/apt/lists/$(sed -e 's|^[a-z]*://||' -e 's|/|_|g' -e 's|\.xz$||' <<<"$url")
        /usr/lib/apt/apt-helper download-file "$url" "$list.xz" && xz -df "$list.xz" &&
            echo "install-deps: took $url as the mirror serves it" >&2
    done
}
install_wine32() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && return
    local added=0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        added=1
    fi
    apt-get update -qq || true
    if ! wine32_plan_is_clean; then take_indexes_that_failed_their_size_check; fi
    if wine32_plan_is_clean; then
        apt-get install -y -qq --no-install-recommends --no-remove wine32:i386 && return
    fi
    echo "install-deps: wine32 cannot be installed here without removing packages;" \
         "32-bit Windows tests will be skipped" >&2
    if [ $added = 1 ]; then
        dpkg --remove-architecture i386
        apt-get update -qq
    fi
}
# The Windows build compiles the network library from Debian's source (scripts/
# fetch-enet-source.sh), so apt needs source lists. The release after this one is listed too: a
# mirror that lacks some files of one version may have those of the other.
add_source_lists() {
    [ -n "$(apt-cache showsrc enet 2>/dev/null)" ] && return
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    local next=trixie
    [ "$codename" = bookworm ] || next=$codename
    cat > /etc/apt/sources.list.d/blokfall-deb-src.sources <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $next
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt-get update -qq
}
# Only the tests need it: playing the game never touches the system's architectures.
export DEBIAN_FRONTEND=noninteractive
if [ "${1:-}" = --tests ]; then
    install_wine32
    add_source_lists
fi

# Nothing above may have taken a package of the Linux build away.
gone=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || gone+=("$p")
done
if [ ${#gone[@]} -gt 0 ]; then
    echo "install-deps: these packages are missing after the install: ${gone[*]}" >&2
    exit 1
fi
