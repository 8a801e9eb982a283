#!/usr/bin/env bash
# Measures the processor time the program uses while the name dialog and then the score table
# opened after a game wait for the player, on a virtual X display under a window manager
# (openbox), 10 s each, from the process's own CPU clock.
# Usage: scripts/measure-dialog-wait.sh [PATH-TO-hiscore_wait_test]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${BLOKFALL_MEASURE_INNER:-}" ]; then
    program=${1:-}
    if [ -z "$program" ]; then
        cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build build/release --target hiscore_wait_test >/dev/null
        program=build/release/tests/platform-hiscore/hiscore_wait_test
    fi
    export BLOKFALL_MEASURE_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$(realpath "$program")"
fi

program=$1
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT
sleep 1  # the window manager takes over the display
QT_QPA_PLATFORM=xcb BLOKFALL_DIALOG_WAIT_MS=10000 "$program" 2>/dev/null | grep -E 'waited|OK|FAILED'
