#!/usr/bin/env bash
# Starts Blokfall on a virtual X display with a settings file that asks for zoom 2 and puts the
# one-player Left on J: the window must be twice the size and the piece must move left on J,
# and no longer on Cursor Left. Usage: zoom_and_remapped_key.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"

# J is key code 44 on every X keyboard; the last entry is one the game does not know.
settings="$XDG_CONFIG_HOME/Blokfall/Blokfall.conf"
mkdir -p "$(dirname "$settings")"
cat >"$settings" <<'CONF'
[Display]
Zoom=2

[Keys]
OnePlayerLeft=44

[Elsewhere]
Kept=yes
CONF
cp "$settings" "$work/settings-before"

# A game's client area is 401 x 401 game pixels, 802 x 802 at zoom 2, below the menu bar: the
# screenshot of the window is that plus the menu bar's height.
menu_height() { echo $(($(identify -format '%h' "$shots/$1.png") - 802)); }

# The piece inside the one-player field (game pixels x 104..304, twice the size on screen).
piece_box() { colour_box "$1" "400x880+208+$(menu_height "$1")"; }
piece_visible() { shoot "$1" && piece_box "$1" >/dev/null; }

start_game
sleep 1
xdotool key --delay 150 alt+s
wait_for 10 piece_visible game || fail "no falling piece in the field after Start"

size=$(identify -format '%wx%h' "$shots/game.png")
echo "window: $size"
[ "${size%x*}" -eq 802 ] || fail "window width ${size%x*}, not 802"
[ "$(menu_height game)" -ge 10 ] && [ "$(menu_height game)" -le 60 ] ||
    fail "window height ${size#*x} is not 802 plus a menu bar"

before=$(piece_box game)
xdotool key --delay 150 Left Left Left
sleep 0.3
piece_visible old || fail "the piece vanished"
after_old=$(piece_box old)
echo "piece at start: $before; after Cursor Left x3: $after_old"
[ "$(box_x "$after_old")" -eq "$(box_x "$before")" ] || fail "Cursor Left still moves the piece"

xdotool key --delay 150 j j j
sleep 0.3
piece_visible moved || fail "the piece vanished"
after=$(piece_box moved)
echo "after J x3: $after"
# Three columns of 20 game pixels are 120 screen pixels; one is enough to tell.
[ "$(box_x "$after")" -le $(($(box_x "$before") - 40)) ] || fail "J did not move the piece left"

quit_game
cmp -s "$work/settings-before" "$settings" ||
    fail "the settings file was rewritten though nothing was changed"
echo "PASS"
