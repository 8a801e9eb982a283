#!/usr/bin/env bash
# Measures what Blokfall costs on a virtual X display: CPU (percent of one core, from
# /proc/PID/stat) over 20 s of the title screen and over 20 s of a running one-player game,
# resident memory (VmRSS) in both states, and the time from start to the first composed frame.
# Usage: scripts/measure.sh [PATH-TO-Blokfall]   (default: the optimised build, built if needed)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${BLOKFALL_MEASURE_INNER:-}" ]; then
    program=${1:-}
    if [ -z "$program" ]; then
        cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build build/release --target blokgame >/dev/null
        program=build/release/apps/blokgame/Blokfall
    fi
    export BLOKFALL_MEASURE_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$(realpath "$program")"
fi

program=$1
seconds=20
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp resources/help/Blokfall.hlp "$work/"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM
ticks_per_second=$(getconf CLK_TCK)

now_ms() { date +%s%3N; }

wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || { echo "timed out: $*" >&2; exit 1; }
        sleep 0.05
    done
}

# User plus system time of the process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"; }

# CPU percent of one core over the next $seconds seconds, running "$@" meanwhile if given.
cpu_percent() {
    local before after start end
    before=$(cpu_ticks)
    start=$(now_ms)
    if [ $# -gt 0 ]; then "$@"; else sleep "$seconds"; fi
    after=$(cpu_ticks)
    end=$(now_ms)
    awk -v t="$((after - before))" -v hz="$ticks_per_second" -v ms="$((end - start))" \
        'BEGIN { printf "%.2f", 100 * t / hz / (ms / 1000) }'
}

# A player who keeps the stack spread out, so the game runs for the whole measurement.
play_for_a_while() {
    local deadline=$((SECONDS + seconds)) turn=0
    while [ "$SECONDS" -lt "$deadline" ]; do
        case $((turn % 4)) in
            0) xdotool key --delay 100 Left Left Left Left ;;
            1) xdotool key --delay 100 Right Right Right Right ;;
            2) xdotool key --delay 100 Up Left Left ;;
            3) xdotool key --delay 100 Up Right Right ;;
        esac
        turn=$((turn + 1))
        sleep 1.5
    done
}

cd "$work"
stamp=$work/first-frame
started=$(now_ms)
BLOKFALL_FIRST_FRAME_FILE=$stamp "$program" 2>"$work/stderr.txt" &
pid=$!
wait_for 20 test -s "$stamp"
first_frame=$(($(head -1 "$stamp") - started))

window=$(xdotool search --sync --name '^Blokfall$' | head -1)
xdotool windowfocus --sync "$window"
sleep 1
title_cpu=$(cpu_percent)
title_rss=$(rss_mb)

xdotool key --delay 150 alt+s
sleep 1
game_cpu=$(cpu_percent play_for_a_while)
game_rss=$(rss_mb)
import -window "$window" "$work/game.png"
playing=$(convert "$work/game.png" -crop 200x420+104+20 +repage -fill 'rgb(1,2,3)' \
    -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
    -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
    -fill black +opaque 'rgb(1,2,3)' -format '%[fx:maxima.r > 0 ? 1 : 0]' info:)

xdotool key --delay 200 alt+f q
wait "$pid" || true

printf '%-40s %8s   %s\n' "measure" "value" "target"
printf '%-40s %6s ms   < 300 ms\n' "start to first composed frame" "$first_frame"
printf '%-40s %6s %%    < 2 %%\n' "CPU, title screen (${seconds} s)" "$title_cpu"
printf '%-40s %6s %%    < 2 %%\n' "CPU, one-player game (${seconds} s)" "$game_cpu"
printf '%-40s %6s MB   < 60 MB\n' "resident memory, title screen" "$title_rss"
printf '%-40s %6s MB   < 60 MB\n' "resident memory, game" "$game_rss"
[ "$playing" = 1 ] || echo "note: no game field in the last frame; the game may have ended early"
if [ -s "$work/stderr.txt" ]; then
    echo "stderr of Blokfall:"
    cat "$work/stderr.txt"
fi
