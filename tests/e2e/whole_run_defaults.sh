#!/usr/bin/env bash
# A whole run with no settings: title, a one-player game that ends in the name dialog and the
# table, a cooperative game, a face-to-face fight, quit. Each game shows its field in a window of
# the game's own size, and nothing but hiscore.dat is written.
# Usage: whole_run_defaults.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"

# Any piece colour in the client area of a game (409 x 428 below the menu bar).
piece_visible() { shoot "$1" && colour_box "$1" 409x400+0+20 >/dev/null; }

# A game's window: the client area 401 x 401 (a 409-wide frame is cut to it) and the menu bar.
expect_game_window() {
    local size
    size=$(identify -format '%wx%h' "$shots/$1.png")
    [ "${size%x*}" -eq 401 ] || fail "$1: window $size is not 401 wide"
    [ "${size#*x}" -gt 401 ] && [ "${size#*x}" -lt 450 ] || fail "$1: window $size"
}

dialog_open() { xdotool search --name "^$1\$" >/dev/null 2>&1; }

play() {  # $1: name, then the start dialog's keys
    local name=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --delay 200 "$@" alt+s
    wait_for 10 piece_visible "$name" || fail "$name: no falling piece after Start"
    expect_game_window "$name"
    echo "$name: playing in a $(identify -format '%wx%h' "$shots/$name.png") window"
}

quit_to_title() { xdotool key --delay 200 alt+g u; }

start_game

play one-player alt+1
xdotool keydown Down
sleep 1.5  # every row of faster down scores
xdotool keyup Down
# Keys still held and hammered as the game ends must not type into the name box.
xdotool keydown a keydown w
quit_to_title
wait_for 10 dialog_open Hiscore || fail "no name dialog after a one-player game with points"
xdotool key --delay 50 s d s d
sleep 0.5
xdotool keyup a keyup w
sleep 0.3
# The preset is still selected: the name replaces it.
xdotool key --delay 100 T e s t e r Return
wait_for 10 dialog_open HISCORE-TABLE || fail "no score table after the name"
xdotool key Return
wait_for 10 bash -c '! xdotool search --name "^HISCORE-TABLE$" >/dev/null 2>&1' ||
    fail "the score table stayed open"

play cooperative alt+2 alt+c
quit_to_title
sleep 1
dialog_open Hiscore && xdotool key --delay 100 Return && sleep 1 && xdotool key Return

play face-to-face alt+2 alt+a
quit_to_title
sleep 1
quit_game
grep -q Tester "$work/hiscore.dat" || fail "the name did not reach hiscore.dat"
if grep -aq '[a-zA-Z]Tester' "$work/hiscore.dat"; then
    fail "keys of the game's end were typed into the name box"
fi
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "a run that changed no setting wrote a settings file"
[ "$(ls "$work" | sort | tr '\n' ' ')" = "Blokfall.hlp config hiscore.dat stderr.txt " ] ||
    fail "unexpected files: $(ls "$work")"
echo "PASS"
