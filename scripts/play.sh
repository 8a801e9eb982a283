#!/usr/bin/env bash
# Installs what is needed, builds Blokfall and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
# The game finds its help file, its songs and hiscore.dat in its working directory.
cd build/release/apps/blokgame
exec ./Blokfall
