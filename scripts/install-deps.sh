#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Blokfall needs. Idempotent.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config git
    qt6-base-dev libxcb1-dev libxcb-shm0-dev libfluidsynth-dev timgm6mb-soundfont libsdl2-dev libenet-dev
    libgtest-dev libbenchmark-dev clang libclang-rt-dev clang-format
    xfonts-75dpi pcf2bdf fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth x11-utils xdotool imagemagick desktop-file-utils xdg-utils libglib2.0-bin strace xclip
    dpkg-dev lintian appstream man-db
    openbox pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
