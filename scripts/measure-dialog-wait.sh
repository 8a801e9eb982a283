#!/usr/bin/env bash
# Measures the processor time the program uses while the name dialog and then the score table
# opened after a game wait for the player, 10 s each, from the process's own CPU clock, on a
# virtual X display under a window manager (openbox).
# Usage: scripts/measure-dialog-wait.sh [PATH-TO-platform_hiscore_test]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
program=${1:-build/release/tests/platform-hiscore/platform_hiscore_test}
[ -x "$program" ] || { echo "$program is missing: build the tests first" >&2; exit 1; }

exec xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1  # the window manager takes over the display
    QT_QPA_PLATFORM=xcb BLOKFALL_DIALOG_WAIT_MS=10000 "$1" --gtest_filter="DialogsAfterAGame.*" \
        2>/dev/null | grep -E "waited|OK|FAILED"
    status=${PIPESTATUS[0]}
    kill "$wm"
    exit "$status"' measure "$(realpath "$program")"
