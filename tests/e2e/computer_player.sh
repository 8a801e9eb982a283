#!/usr/bin/env bash
# Picks Options > Computer Player > Hard with keys on a virtual X display, then plays the start
# of a face-to-face fight and of a cooperative game: the computer's piece on the right must move
# and land while the person's piece on the left answers the one-player keys. With
# BLOKFALL_E2E_WM=openbox the display has that window manager.
# Usage: computer_player.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"
wm_pid=
if [ "${BLOKFALL_E2E_WM:-}" = openbox ]; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    trap 'kill "$pid" "$wm_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
    sleep 1
fi

# The client area below the menu bar, where the game frame is drawn.
menu_height() { echo $(($(identify -format '%h' "$shots/$1.png") - 401)); }
# Piece colours in the left (x 0..200) or right (x 201..400) half of the frame, rows $3..$4.
half_box() {
    local top=$(($(menu_height "$1") + $3))
    local x=0
    [ "$2" = right ] && x=201
    colour_box "$1" "200x$(($4 - $3))+$x+$top"
}
dialog_gone() { shoot "$1" && half_box "$1" right 0 400 >/dev/null; }
# A window manager gives the focus on request; a bare display takes it directly.
focus_main() { xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"; }

# As start_game, but waits until the window is shown, as a window manager maps it later.
cd "$work"
"$program" 2>"$work/stderr.txt" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Blokfall$' | head -1)
[ -n "$window" ] || fail "no Blokfall window"
sleep 1
focus_main
xdotool key --delay 300 alt+o p h
settings="$XDG_CONFIG_HOME/Blokfall/Blokfall.conf"
wait_for 5 grep -q '^ComputerPlayer=hard' "$settings" ||
    fail "Options > Computer Player > Hard was not stored"

# $1: name, then the start dialog's keys.
start_playing() {
    local name=$1
    shift
    focus_main
    xdotool key --delay 200 "$@" alt+s
    wait_for 10 dialog_gone "$name-start" || fail "$name: no piece on the right after Start"
}

# The computer's piece must leave the place it appeared at, and its pieces must land in the
# lower rows of the right half.
expect_computer_plays() {
    local name=$1 first moved="" landed=""
    first=$(half_box "$name-start" right 0 120) || true
    for i in $(seq 1 30); do
        shoot "$name-$i"
        local now
        now=$(half_box "$name-$i" right 0 200) || true
        if [ -n "$now" ] && [ "$now" != "$first" ]; then moved=$now; break; fi
        sleep 0.1
    done
    [ -n "$moved" ] || fail "$name: the computer's piece did not move"
    echo "$name: computer's piece from $first to $moved"
    for i in $(seq 1 60); do
        shoot "$name-landed"
        landed=$(half_box "$name-landed" right 330 400) && break
        sleep 0.25
    done
    [ -n "$landed" ] || fail "$name: nothing landed on the right"
    echo "$name: landed cells on the right at $landed"
}

start_playing face-to-face alt+2 alt+a
# The person plays the left side with the one-player keys: its first piece is still high up.
shoot f2f-before
before=$(half_box f2f-before left 0 300) || fail "no piece on the left"
xdotool key --delay 150 Left Left Left
sleep 0.3
shoot f2f-after
after=$(half_box f2f-after left 0 360) || fail "the left piece vanished"
[ "$(box_x "$after")" -lt "$(box_x "$before")" ] ||
    fail "the left piece did not move on Cursor Left ($before, $after)"
echo "face-to-face: left piece from $before to $after"
expect_computer_plays face-to-face
xdotool key --delay 200 alt+g u
sleep 1

start_playing cooperative alt+2 alt+c
expect_computer_plays cooperative
xdotool key --delay 200 alt+g u
# A cooperative game with the computer enters the table like any other.
dialog_open() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
wait_for 10 dialog_open Hiscore || fail "no name dialog after the cooperative game"
sleep 0.6  # the name box takes keys half a second after it opens
xdotool key --delay 100 ctrl+a T e a m Return
wait_for 10 dialog_open HISCORE-TABLE || fail "no score table after the name"
xdotool key Return
wait_for 10 bash -c '! xdotool search --name "^HISCORE-TABLE$" >/dev/null 2>&1' ||
    fail "the score table stayed open"
sleep 1
focus_main
quit_game
grep -q Team "$work/hiscore.dat" || fail "the cooperative score did not reach hiscore.dat"
echo "PASS"
