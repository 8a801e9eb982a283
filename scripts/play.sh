#!/usr/bin/env bash
# Installs what is needed, builds Blokfall and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
exec build/release/apps/sim/blokfall-sim tests/sim-cases/cases/one-player-rows.txt
