#!/usr/bin/env bash
# Starts Blokfall on a virtual X display with a settings file that asks for zoom 2 and puts the
# one-player Left on J: the window must be twice the size and the piece must move left on J,
# and no longer on Cursor Left. Usage: zoom_and_remapped_key.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

program=$(realpath "$1")
helpfile=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
[ -x "$program" ] || { echo "FAIL: $program is not a program" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$helpfile" "$work/"
unset XDG_RUNTIME_DIR BLOKFALL_DEBUG QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Blokfall"
# J is key code 44 on every X keyboard; the second entry is one the game does not know.
cat >"$XDG_CONFIG_HOME/Blokfall/Blokfall.conf" <<'CONF'
[Display]
Zoom=2

[Keys]
OnePlayerLeft=44

[Elsewhere]
Kept=yes
CONF
cp "$XDG_CONFIG_HOME/Blokfall/Blokfall.conf" "$work/settings-before"

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/stderr.txt" ] && { echo "stderr of Blokfall:" >&2; cat "$work/stderr.txt" >&2; }
    exit 1
}

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

# Height of the menu bar above the client area: the first row from the top where the screenshot
# is no longer the menu's colour is found from the known client size instead.
client_top() { echo $(($(identify -format '%h' "$shots/$1.png") - 802)); }

# Bounding box "WxH+X+Y" of the piece colours inside the one-player field (game pixels x
# 104..304, shown at twice the size), or nothing when there are none.
piece_box() {
    local top box
    top=$(client_top "$1")
    box=$(convert "$shots/$1.png" -crop "400x880+208+$top" +repage -fill 'rgb(1,2,3)' \
        -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
        -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
        -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' \
        -format '%@' info: 2>/dev/null)
    case $box in 0x0*|"") return 1 ;; esac
    echo "$box"
}
box_x() { local rest=${1#*+}; echo "${rest%%+*}"; }
piece_visible() { shoot "$1" && piece_box "$1" >/dev/null; }

cd "$work"
"$program" 2>"$work/stderr.txt" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Blokfall$' | head -1)
[ -n "$window" ] || fail "no Blokfall window"
xdotool windowfocus --sync "$window"
sleep 1
xdotool key --delay 150 alt+s
wait_for 10 piece_visible game || fail "no falling piece in the field after Start"

# A game's client area is 401 x 401 game pixels: 802 x 802 at zoom 2, below the menu bar.
size=$(identify -format '%wx%h' "$shots/game.png")
echo "window: $size"
[ "${size%x*}" -eq 802 ] || fail "window width ${size%x*}, not 802"
[ "$(client_top game)" -ge 10 ] && [ "$(client_top game)" -le 60 ] ||
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
# Three columns of 20 game pixels, 40 screen pixels each; a piece near the wall may stop early.
[ "$(box_x "$after")" -le $(($(box_x "$before") - 40)) ] || fail "J did not move the piece left"

xdotool key --delay 200 alt+f q
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "Blokfall did not end after File > Quit"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$work/stderr.txt" ] || fail "Blokfall wrote to stderr"
cmp -s "$work/settings-before" "$XDG_CONFIG_HOME/Blokfall/Blokfall.conf" ||
    fail "the settings file was rewritten though nothing was changed"
echo "PASS"
