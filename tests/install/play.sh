#!/usr/bin/env bash
# Plays an installed Blokfall as a new player would, on a virtual X display with a fresh home
# folder: the launcher prepares ~/.local/share/Blokfall, the title screen appears, a song is
# found through the linked music folder, File > Quit ends the game with status 0 and the
# high-score file lies in the player's folder.
#   play.sh LAUNCHER SCREENSHOT_DIR      (LAUNCHER: the installed tree's blokfall)
set -euo pipefail

if [ -z "${BLOKFALL_PLAY_INNER:-}" ]; then
    export BLOKFALL_PLAY_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

launcher=$(realpath "$1")
mkdir -p "$2"
shots=$(realpath "$2")
scratch=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export HOME=$scratch/home
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_RUNTIME_DIR BLOKFALL_DEBUG QT_QPA_PLATFORM
folder=$HOME/.local/share/Blokfall

fail() { echo "FAIL: $*" >&2; cat "$scratch/stderr.txt" >&2 2>/dev/null || true; exit 1; }
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
# The start dialog's grey face below the title band (client row 232 and down).
title_shown() {
    import -window "$window" "$shots/installed-title.png" 2>/dev/null || return 1
    local colour
    colour=$(convert "$shots/installed-title.png" -format '%[pixel:p{200,300}]' info:)
    [ "$colour" != "srgb(0,0,0)" ] && [ "$colour" != "black" ]
}
ended() { ! kill -0 "$pid" 2>/dev/null; }

trace=$scratch/trace.txt
(cd / && exec strace -f -q -e trace=openat -o "$trace" "$launcher") \
    2> "$scratch/stderr.txt" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Blokfall$' | head -1)
[ -n "$window" ] || fail "no Blokfall window"
wait_for 10 title_shown || fail "the title screen did not appear"
xdotool windowfocus --sync "$window"
xdotool key --delay 200 alt+f q
wait_for 10 ended || fail "Blokfall did not end after File > Quit"
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status"
[ ! -s "$scratch/stderr.txt" ] || fail "Blokfall wrote to stderr"
[ "$(stat -c %s "$folder/hiscore.dat" 2>/dev/null)" = 424 ] || fail "no hiscore.dat in $folder"
grep -qE "openat\(AT_FDCWD, \"($folder/)?music/([1-9]|1[0-9])\.mid\", O_RDONLY\) = [0-9]+$" "$trace" ||
    fail "no song was found: $(grep -F '.mid' "$trace")"
echo PASS
