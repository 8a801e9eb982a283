#!/usr/bin/env bash
# Plays the start of a one-player game on a virtual X display: the start dialog is driven by
# the keyboard, the falling piece is found in a screenshot and steered left, and the game is
# left through the File menu. Usage: one_player_game.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

program=$(realpath "$1")
helpfile=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
[ -x "$program" ] || { echo "FAIL: $program is not a program" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$helpfile" "$work/"
# As when started without a desktop session: whatever Qt says about that must stay off the
# terminal, which is checked to be empty at the end.
unset XDG_RUNTIME_DIR BLOKFALL_DEBUG
unset QT_QPA_PLATFORM  # the real X display this time
# No settings yet: the game plays as it always did and writes no settings file.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/stderr.txt" ]; then
        echo "stderr of Blokfall:" >&2
        cat "$work/stderr.txt" >&2
    fi
    exit 1
}

# Runs the command until it succeeds, at most $1 seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

shoot() { import -window "$window" "$shots/$1.png"; }

# Bounding box "WxH+X+Y" of the piece colours inside the one-player field (x 104..304), or
# nothing when there are none.
piece_box() {
    local box
    box=$(convert "$shots/$1.png" -crop 200x440+104+0 +repage -fill 'rgb(1,2,3)' \
        -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
        -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
        -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' \
        -format '%@' info: 2>/dev/null)
    case $box in 0x0*|"") return 1 ;; esac
    echo "$box"
}

box_x() { local rest=${1#*+}; echo "${rest%%+*}"; }
box_width() { echo "${1%%x*}"; }

title_shown() {
    shoot title
    # The start dialog's grey face below the animated band (client row 232 and down).
    local colour
    colour=$(convert "$shots/title.png" -format '%[pixel:p{200,300}]' info:)
    [ "$colour" != "srgb(0,0,0)" ] && [ "$colour" != "black" ]
}

piece_visible() { shoot "$1" && piece_box "$1" >/dev/null; }

cd "$work"
"$program" 2>"$work/stderr.txt" &
pid=$!

window=$(timeout 20 xdotool search --sync --name '^Blokfall$' | head -1)
[ -n "$window" ] || fail "no Blokfall window"
xdotool windowfocus --sync "$window"
wait_for 10 title_shown || fail "the title screen with its start dialog did not appear"

xdotool key --delay 150 alt+s
wait_for 10 piece_visible game || fail "no falling piece in the field after Start"
before=$(piece_box game)
echo "piece after start: $before"
width=$(box_width "$before")
[ "$width" -ge 20 ] && [ "$width" -le 82 ] || fail "piece box $before is not one piece"

xdotool key --delay 150 Left Left Left
sleep 0.2  # the next input tick paints the move
wait_for 5 piece_visible moved || fail "the piece vanished after moving left"
after=$(piece_box moved)
echo "piece after Left x3: $after"
[ "$(box_x "$after")" -le $(($(box_x "$before") - 20)) ] || fail "the piece did not move left"

xdotool key --delay 200 alt+f q
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "Blokfall did not end after File > Quit"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$work/stderr.txt" ] || fail "Blokfall wrote to stderr"
[ -f "$work/hiscore.dat" ] || fail "hiscore.dat was not written at exit"
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "a run that changed no setting wrote a settings file"
echo "PASS"
