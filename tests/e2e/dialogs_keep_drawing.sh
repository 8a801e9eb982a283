#!/usr/bin/env bash
# Under a window manager: every dialog of the Help and Options menus opens and closes, and the
# title screen and then a game still move afterwards; full screen and back leaves the window
# where it stood. Usage: dialogs_keep_drawing.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"

# Whether the client rows 0..231 of the window (the title's band, or the top of a game's field)
# change within a second.
top_moves() {
    local name=$1 step
    for step in 1 2 3 4 5; do
        import -window "$window" -crop 401x232+0+19 +repage "$shots/$name-$step.png"
        if [ "$step" -gt 1 ] && [ "$(compare -metric AE "$shots/$name-1.png" \
            "$shots/$name-$step.png" /dev/null 2>&1 || true)" != "0" ]; then
            return 0
        fi
        sleep 0.25
    done
    return 1
}

dialog_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Opens a dialog with $1 (keys), waits for its window $2, closes it with $3.
open_and_close() {
    local keys=$1 caption=$2 close=$3
    xdotool windowactivate --sync "$window"
    # shellcheck disable=SC2086  # the keys are separate words
    xdotool key --delay 200 $keys
    wait_for 10 dialog_shown "$caption" || fail "\"$caption\" did not open"
    shoot "dialog-${caption// /_}"
    local dialog
    dialog=$(xdotool search --onlyvisible --name "^$caption\$" | head -1)
    xdotool windowactivate --sync "$dialog" 2>/dev/null || true
    xdotool key --delay 100 "$close"
    wait_for 10 bash -c "! xdotool search --onlyvisible --name '^$caption\$' >/dev/null 2>&1" ||
        fail "\"$caption\" did not close on $close"
}

start_window_manager
start_game
wait_for 10 top_moves title || fail "the title screen does not move"

open_and_close "alt+h g" "Just for Info" Return
open_and_close "alt+h a" "About Blokfall" Return
open_and_close "alt+h h" "Blokfall Help" Escape
open_and_close "alt+o c" "Controls" Escape
open_and_close "alt+o v" "Music Volume" Escape
xdotool windowactivate --sync "$window"
top_moves title-after || fail "the title screen stopped moving after the dialogs"

width_is() { [ "$(xwininfo -id "$window" | awk '/Width/ {print $2}')" = "$1" ]; }
corner_is() { [ "$(window_corner "$window")" = "$1" ]; }
corner=$(window_corner "$window")
xdotool key F11
wait_for 10 width_is 1280 || fail "F11 did not fill the screen"
shoot full-screen
xdotool key Escape
wait_for 10 width_is 401 || fail "Escape did not leave full screen"
wait_for 5 corner_is "$corner" ||
    fail "after full screen the window stands at $(window_corner "$window"), not at $corner"

xdotool key --delay 150 alt+s
sleep 0.5
top_moves game || fail "the game does not move"
open_and_close "alt+h g" "Just for Info" Return
open_and_close "alt+h a" "About Blokfall" Return
xdotool windowactivate --sync "$window"
top_moves game-after || fail "the game stopped moving after the Help dialogs"

quit_game
echo "PASS"
