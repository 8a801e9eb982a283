#!/usr/bin/env bash
# Measures what Blokfall costs on a virtual X display, in rounds (default 3) that alternate two
# runs and report medians:
#  - silent: no songs; CPU (percent of one core, from /proc/PID/stat) over 60 s of the title
#    screen and over 20 s of a running one-player game, resident memory (VmRSS), and the time
#    from start to the first composed frame;
#  - music: the songs play into a private PulseAudio server with a null sink; the game's stream
#    must be there; CPU of the game and of the server over 20 s of a game, resident memory, and
#    the underruns the server saw.
# Usage: scripts/measure.sh [--rounds N] [PATH-TO-Blokfall]
#        (default: the optimised build, built if needed)
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=3
if [ "${1:-}" = "--rounds" ]; then
    rounds=$2
    shift 2
fi

if [ -z "${BLOKFALL_MEASURE_INNER:-}" ]; then
    scripts/install-deps.sh
    program=${1:-}
    if [ -z "$program" ]; then
        cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build build/release --target blokgame >/dev/null
        program=build/release/apps/blokgame/Blokfall
    fi
    export BLOKFALL_MEASURE_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" --rounds "$rounds" "$(realpath "$program")"
fi

program=$1
songs=$(dirname "$program")/music
[ -f "$songs/1.mid" ] || songs=$PWD/resources/music
seconds=20
# The title screen costs so little that over 20 s one clock tick would be an eighth of its goal.
title_seconds=60
work=$(mktemp -d)
pid=
server=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp resources/help/Blokfall.hlp "$work/"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work
unset QT_QPA_PLATFORM PULSE_SERVER PIPEWIRE_REMOTE
ticks_per_second=$(getconf CLK_TCK)
pulse_socket=$work/pulse-native

now_ms() { date +%s%3N; }

wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || { echo "timed out: $*" >&2; exit 1; }
        sleep 0.05
    done
}

# User plus system time of a process (all its threads), in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_mb() { awk '/^VmRSS:/ { printf "%.1f\n", $2 / 1024 }' "/proc/$pid/status"; }

# CPU percent of one core of the game and, if running, the sound server over the next $seconds
# seconds, running "$@" meanwhile if given. Sets game_share and server_share.
cpu_percent() {
    local before server_before after server_after start end
    before=$(cpu_ticks "$pid")
    server_before=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
    start=$(now_ms)
    if [ $# -gt 0 ]; then "$@"; else sleep "$seconds"; fi
    after=$(cpu_ticks "$pid")
    server_after=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
    end=$(now_ms)
    game_share=$(share $((after - before)) $((end - start)))
    server_share=$(share $((server_after - server_before)) $((end - start)))
}

share() {
    awk -v t="$1" -v hz="$ticks_per_second" -v ms="$2" 'BEGIN { printf "%.2f", 100 * t / hz / (ms / 1000) }'
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

# A PulseAudio server of our own whose only sink discards the sound; its debug log notes every
# underrun of a stream.
start_sound_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=no \
        --log-target="file:$work/pulse.log" --log-level=debug \
        -L "module-null-sink sink_name=discard" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse_socket" \
        >"$work/pulse.out" 2>&1 &
    server=$!
    wait_for 10 test -S "$pulse_socket"
}

stop_sound_server() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=
}

game_streams() { PULSE_SERVER=unix:$pulse_socket pactl list short sink-inputs | wc -l; }
underruns() { grep -c 'Underrun on' "$work/pulse.log" || true; }

# One run of the game: "silent" (no songs) or "music". Appends its figures to $work/<name>.
run() {
    local mode=$1 stamp=$work/first-frame started window
    rm -rf "$work/music" "$stamp"
    if [ "$mode" = music ]; then
        cp -r "$songs" "$work/music"
        start_sound_server
        export PULSE_SERVER=unix:$pulse_socket
    fi
    started=$(now_ms)
    BLOKFALL_FIRST_FRAME_FILE=$stamp "$program" 2>"$work/stderr.txt" &
    pid=$!
    wait_for 20 test -s "$stamp"
    echo $(($(head -1 "$stamp") - started)) >>"$work/$mode-first-frame"

    window=$(xdotool search --sync --name '^Blokfall$' | head -1)
    xdotool windowfocus --sync "$window"
    sleep 1
    if [ "$mode" = silent ]; then
        cpu_percent sleep "$title_seconds"
        echo "$game_share" >>"$work/silent-title-cpu"
    fi

    xdotool key --delay 150 alt+s
    sleep 1
    if [ "$mode" = music ]; then
        wait_for 10 test "$(game_streams)" -ge 1
        : >"$work/pulse.log"
    fi
    cpu_percent play_for_a_while
    echo "$game_share" >>"$work/$mode-game-cpu"
    rss_mb >>"$work/$mode-game-rss"
    if [ "$mode" = music ]; then
        echo "$server_share" >>"$work/music-server-cpu"
        awk -v a="$game_share" -v b="$server_share" 'BEGIN { printf "%.2f\n", a + b }' >>"$work/music-total-cpu"
        [ "$(game_streams)" -ge 1 ] || echo "note: the game's stream vanished during the music run"
        underruns >>"$work/music-underruns"
    fi
    check_field "$window"

    xdotool key --delay 200 alt+f q
    wait "$pid" || true
    pid=
    if [ -s "$work/stderr.txt" ]; then
        echo "stderr of Blokfall ($mode run):"
        cat "$work/stderr.txt"
    fi
    if [ "$mode" = music ]; then
        stop_sound_server
        unset PULSE_SERVER
    fi
}

check_field() {
    local playing
    import -window "$1" "$work/game.png"
    playing=$(convert "$work/game.png" -crop 200x420+104+20 +repage -fill 'rgb(1,2,3)' \
        -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
        -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
        -fill black +opaque 'rgb(1,2,3)' -format '%[fx:maxima.r > 0 ? 1 : 0]' info:)
    [ "$playing" = 1 ] || echo "note: no game field in the last frame; the game may have ended early"
}

median() { sort -g "$work/$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
all() { paste -sd' ' "$work/$1"; }

cd "$work"
for round in $(seq "$rounds"); do
    echo "round $round of $rounds" >&2
    run silent
    run music
done

printf '%-46s %8s   %-10s %s\n' "measure (median of $rounds)" "value" "goal" "runs"
row() { printf '%-46s %6s %-3s %-10s %s\n' "$1" "$(median "$2")" "$3" "$4" "$(all "$2")"; }
row "start to first composed frame, silent" silent-first-frame ms "< 300 ms"
row "CPU, title screen, silent (${title_seconds} s)" silent-title-cpu % "<= 0.4 %"
row "CPU, one-player game, silent (${seconds} s)" silent-game-cpu % "<= 0.5 %"
row "resident memory, game, silent" silent-game-rss MiB ""
row "CPU, game with music: Blokfall" music-game-cpu % ""
row "CPU, game with music: sound server" music-server-cpu % ""
row "CPU, game with music: both" music-total-cpu % "<= 3 %"
row "resident memory, game with music" music-game-rss MiB "<= 48 MiB"
row "underruns in the sound server, music" music-underruns "" "0"
