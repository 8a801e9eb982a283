#!/usr/bin/env bash
# A network fight between the Linux game and the Windows game under Wine on one virtual X display,
# over 127.0.0.1: one hosts, the other joins, keys go to each window, the joiner pauses both, and
# the two fields must then show the same pixels. Quitting the host must end the fight on the
# joiner with a message, and both must end with 0.
# Usage: network_fight_mixed.sh BLOKFALL BLOKFALL.EXE HELPFILE SHOTDIR linux|windows
# The last argument says which of the two hosts. WINEPREFIX may name a prefix to use.
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1000x600x24" "$0" "$@"
fi

linux=$1
exe=$(realpath "$2")
hosting=$5
[ "$hosting" = linux ] || [ "$hosting" = windows ] || { echo "FAIL: who hosts: $hosting" >&2; exit 1; }
e2e=$(dirname "$0")/../e2e
set -- "$linux" "$3" "$4"
source "$e2e/e2e_common.sh"
source "$e2e/fight_common.sh"
trap 'kill $host_pid $join_pid 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$work/prefix}
unset BLOKFALL_SEED  # the host seeds the fight
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
# Wine takes the keyboard back only when a window manager hands it over, unless told to follow the
# display's focus: with no window manager here, the focus moves between the two games by xdotool.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1
# A failure keeps the screen as it was.
eval "report_$(declare -f fail)"
fail() {
    import -window root "$shots/failure.png" 2>/dev/null || true
    report_fail "$@"
}

# Starts one side in its folder with the given arguments; sets the pid in $side_pid. The Windows
# game's Wine output goes beside the screenshots: only Blokfall's own stderr must stay empty.
start_side() {
    local side=$1 system=$2
    shift 2
    cd "$work/$side"
    if [ "$system" = windows ]; then
        cp "$exe" Blokfall.exe
        wine Blokfall.exe "$@" >"$shots/$side-wine.txt" 2>&1 &
    else
        "$program" "$@" 2>"$work/$side.err" &
    fi
    eval "${side}_pid=$!"
}

# Wine keeps its window where the game put it (x 100): moved from outside, it may lose track of
# its own size. The Linux game's window goes beside it.
place() {
    [ "$2" = windows ] || xdotool windowmove "$1" 560 0
}

# Wine may show a window for a moment while it starts a program: only a window that then shows
# the game counts.
windows_of_game() { xdotool search --onlyvisible --name '^Blokfall$' 2>/dev/null || true; }
other_window() { windows_of_game | grep -v "^${1:-x}$" | head -1 || true; }

# The client area of a window: its bottom 401 rows (the menu bar, and Wine's caption, above).
client() {
    import -window "$1" "$shots/$2-window.png" 2>/dev/null || return 1
    local height
    height=$(identify -format '%h' "$shots/$2-window.png")
    [ "$height" -ge 401 ] || return 1
    convert "$shots/$2-window.png" -crop "401x401+0+$((height - 401))" +repage "$shots/$2.png"
}

# A face-to-face game shows no start dialog: the grey face at client (200, 300) is gone.
in_fight() {
    client "$1" check || return 1
    local colour
    colour=$(convert "$shots/check.png" -format '%[pixel:p{200,300}]' info:)
    [ "$colour" != "srgb(240,240,240)" ] && [ "$colour" != "srgb(239,239,239)" ] &&
        [ "$colour" != "srgb(192,192,192)" ] && [ "$colour" != "srgb(212,208,200)" ]
}

joining=windows
[ "$hosting" = linux ] || joining=linux
port=$((51000 + RANDOM % 1000))
start_side host "$hosting" --host "$port" --code E2EMIXED
wait_for 60 bash -c "xdotool search --onlyvisible --name '^Host a Network Fight$' >/dev/null" ||
    fail "the $hosting host shows no dialog with its port and code"
host_window=$(windows_of_game | head -1)
[ -n "$host_window" ] || fail "no window of the $hosting host"
place "$host_window" "$hosting"
import -window root "$shots/host-dialog.png"

start_side join "$joining" --join "127.0.0.1:$port" --code e2emixed
joiner_in_fight() {
    join_window=$(other_window "$host_window")
    [ -n "$join_window" ] && in_fight "$join_window"
}
wait_for 60 joiner_in_fight || fail "the $joining joiner did not start the fight"
place "$join_window" "$joining"
wait_for 30 in_fight "$host_window" || fail "the $hosting host did not start the fight"
echo "the $hosting host and the $joining joiner fight on port $port"

# Wine takes the focus a moment after the display has moved it: keys sent at once may be lost.
focus() {
    xdotool windowfocus --sync "$1"
    sleep 0.5
}

# A few seconds of play, keys to each window.
for round in 1 2 3; do
    focus "$host_window"
    xdotool key --delay 120 Left Up Left
    focus "$join_window"
    xdotool key --delay 120 Right Up Right Down
done
xdotool key --delay 150 p  # the joiner pauses both
# A joiner on a busy machine may still be playing the last ticks it was sent: it may catch up.
fields_agree() {
    client "$host_window" host-field || fail "no picture of the host"
    client "$join_window" join-field || fail "no picture of the joiner"
    differing=$(compare -metric AE "$shots/host-field.png" "$shots/join-field.png" "$shots/diff.png" 2>&1 || true)
    [ "$differing" = "0" ]
}
sleep 1
wait_for 5 fields_agree || true
echo "field pixels differing after the pause: $differing"
colour_box host-field 401x401+0+0 >/dev/null || fail "no pieces in the host's field"
[ "$differing" = "0" ] || fail "the two fields differ in $differing pixels"
sleep 0.5
client "$host_window" host-later || fail "no picture of the host"
[ "$(compare -metric AE "$shots/host-field.png" "$shots/host-later.png" /dev/null 2>&1 || true)" = "0" ] ||
    fail "the host's field moved while paused"

focus "$host_window"
quit_host_then_joiner windowfocus
echo "PASS"
