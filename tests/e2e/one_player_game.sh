#!/usr/bin/env bash
# Plays the start of a one-player game on a virtual X display: the start dialog is driven by
# the keyboard, the falling piece is found in a screenshot and steered left, and the game is
# left through the File menu. Usage: one_player_game.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"

# The piece inside the one-player field (x 104..304), or nothing.
piece_box() { colour_box "$1" 200x440+104+0; }

title_shown() {
    shoot title
    # The start dialog's grey face below the animated band (client row 232 and down).
    local colour
    colour=$(convert "$shots/title.png" -format '%[pixel:p{200,300}]' info:)
    [ "$colour" != "srgb(0,0,0)" ] && [ "$colour" != "black" ]
}

piece_visible() { shoot "$1" && piece_box "$1" >/dev/null; }

start_game
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

quit_game
[ -f "$work/hiscore.dat" ] || fail "hiscore.dat was not written at exit"
# No settings yet: the game played as it always did and wrote no settings file.
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "a run that changed no setting wrote a settings file"
echo "PASS"
