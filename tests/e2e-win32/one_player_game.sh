#!/usr/bin/env bash
# The Windows game under Wine on a virtual X display: the title screen with its start dialog, a
# one-player game started from the keyboard, the piece moved and the game paused, the field
# compared pixel for pixel with the simulator's frame of the same game, a menu opened, and the
# way out through File > Quit with exit code 0.
# Usage: one_player_game.sh BLOKFALL.EXE BLOKFALL-SIM SHOTDIR
# BLOKFALL-SIM is the simulator of this machine (or a command that runs one). With
# BLOKFALL_E2E_WM=openbox (or another window manager) the display gets that window manager.
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

program=$(realpath "$1")
sim=$2
mkdir -p "$3"
shots=$(realpath "$3")
source "$(dirname "$0")/wine_common.sh"
# Every game starts from this seed, and so does the simulator's.
seed=4242
export BLOKFALL_SEED=$seed

# The window's picture and, cut from its bottom, the client area (the menu bar lies above it).
shoot() {
    import -window "$window" "$shots/$1.png" 2>/dev/null || return 1
    local height
    height=$(identify -format '%h' "$shots/$1.png")
    [ "$height" -ge 401 ] || return 1
    convert "$shots/$1.png" -crop "401x401+0+$((height - 401))" +repage "$shots/$1-client.png"
}

# Share of pixels in the area $2 of the client shot $1 that are not black, in per cent.
lit_percent() {
    convert "$shots/$1-client.png" -crop "$2" +repage -fill white +opaque black -colorspace gray \
        -format '%[fx:int(100*mean)]' info:
}

# The title: a mostly dark animated band with the start dialog's grey face below it.
title_shown() {
    shoot title || return 1
    [ "$(lit_percent title 401x200+0+0)" -lt 40 ] && [ "$(lit_percent title 300x60+50+300)" -gt 90 ]
}

# Any piece colour inside the one-player field (x 104..304).
piece_box() {
    local box
    box=$(convert "$shots/$1-client.png" -crop 200x401+104+0 +repage -fill 'rgb(1,2,3)' \
        -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
        -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
        -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' -format '%@' info:)
    case $box in 0x0* | "") return 1 ;; esac
    echo "$box"
}
piece_visible() { shoot "$1" && piece_box "$1" >/dev/null; }
box_x() { local rest=${1#*+}; echo "${rest%%+*}"; }

# Two shots in a row that agree: the paused picture stands still.
frame_still() {
    shoot still-a && sleep 0.2 && shoot still-b || return 1
    [ "$(compare -metric AE "$shots/still-a-client.png" "$shots/still-b-client.png" null: 2>&1)" = 0 ]
}

# The simulator's frame after the start with this seed, $1 moves left and $2 gravity steps,
# cut to the client area.
sim_frame() {
    {
        echo "seed $seed"
        echo "start 3"
        for ((i = 0; i < $1; i++)); do echo "input left1"; done
        for ((i = 0; i < $2; i++)); do echo "gravity"; done
        echo "frame $work/sim.ppm"
    } | $sim >/dev/null || return 1
    convert "$work/sim.ppm" -crop 401x401+0+0 +repage "$shots/sim.png"
}

# Registry entries that name the game; the Wine server writes the registry out when it ends.
registry_mentions() {
    wineserver -w
    cat "$WINEPREFIX"/*.reg | grep -ci blokfall || true
}

cd "$work"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
mentions_before=$(registry_mentions)
cp "$program" "$work/Blokfall.exe"
wine "$work/Blokfall.exe" >"$work/out.txt" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --name '^Blokfall$' | head -1)
[ -n "$window" ] || fail "no Blokfall window"
wait_for 20 title_shown || fail "the title screen with its start dialog did not appear"
echo "title screen and start dialog shown"

xdotool windowfocus --sync "$window"
xdotool key --delay 150 alt+1 alt+s
wait_for 10 piece_visible game || fail "no falling piece in the field after Start"
before=$(piece_box game)
xdotool key --delay 150 Left Left Left
xdotool key p
wait_for 5 frame_still || fail "the paused game did not stand still"
cp "$shots/still-b.png" "$shots/paused.png"
cp "$shots/still-b-client.png" "$shots/paused-client.png"
after=$(piece_box paused) || fail "the piece vanished after moving left"
echo "piece at start $before, moved and paused $after"
[ "$(box_x "$after")" -lt "$(box_x "$before")" ] || fail "the piece did not move left"

# However many gravity steps the game took before the pause, one of them gives its picture.
matched=
for ((lefts = 0; lefts <= 6; lefts++)); do
    for ((steps = 0; steps <= 21; steps++)); do
        sim_frame "$lefts" "$steps" || fail "the simulator did not run"
        if [ "$(compare -metric AE "$shots/paused-client.png" "$shots/sim.png" null: 2>&1)" = 0 ]; then
            matched="$lefts moves left, $steps gravity steps"
            break 2
        fi
    done
done
[ -n "$matched" ] || fail "the paused field equals no simulator frame of this game"
echo "the field equals the simulator's frame after $matched"

menu_open() {
    shoot menu || return 1
    # The Game popup lies over the field below the menu bar: the picture there changes.
    [ "$(compare -metric AE "$shots/paused-client.png" "$shots/menu-client.png" null: 2>&1)" != 0 ]
}
xdotool key alt+g
wait_for 5 menu_open || fail "the Game menu did not open"
xdotool key Escape Escape
echo "the Game menu opened"

xdotool key --delay 200 alt+f q
wait_for 15 bash -c "! kill -0 $pid 2>/dev/null" || fail "Blokfall did not end after File > Quit"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status"
[ -f "$work/hiscore.dat" ] || fail "hiscore.dat was not written at exit"
# With no setting changed the game writes nothing else: no file, no settings, no registry key.
written=$(cd "$work" && find . -newer Blokfall.exe ! -name . ! -name hiscore.dat ! -name out.txt ! -name sim.ppm \
    ! -path "./prefix*" | tr '\n' ' ')
[ -z "$written" ] || fail "files written besides hiscore.dat: $written"
settings=$(find "$WINEPREFIX/drive_c/users" -path '*Blokfall*' 2>/dev/null | head -1)
[ -z "$settings" ] || fail "the game made $settings"
[ "$(registry_mentions)" = "$mentions_before" ] || fail "the game wrote to the registry"
echo "nothing but hiscore.dat was written"
echo "PASS"
