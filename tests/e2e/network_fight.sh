#!/usr/bin/env bash
# A network fight between two Blokfall programs on one virtual X display, over 127.0.0.1: one
# hosts, one joins, keys go to each window, the joiner pauses both, and the two windows must
# then show the same pixels. Quitting the host must end the fight on the joiner with a message.
# Usage: network_fight.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1000x600x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"
source "$(dirname "$0")/fight_common.sh"

# The visible main window of a Blokfall other than the one given.
other_window() { xdotool search --onlyvisible --name '^Blokfall$' | grep -v "^${1:-x}$" | head -1; }

# A face-to-face game shows no start dialog: the grey face at client (200, 300) is gone.
in_fight() {
    import -window "$1" "$shots/check.png"
    local colour
    colour=$(convert "$shots/check.png" -format '%[pixel:p{200,300}]' info:)
    [ "$colour" != "srgb(240,240,240)" ] && [ "$colour" != "srgb(239,239,239)" ] &&
        [ "$colour" != "srgb(192,192,192)" ]
}

# The field area of a window: the client area below the menu bar.
field() { import -window "$1" "$shots/$2.png" && convert "$shots/$2.png" -crop 401x401+0+19 +repage "$shots/$2-field.png"; }

port=$((20000 + RANDOM % 30000))
cd "$work/host"
"$program" --host "$port" --code E2ETEST 2>"$work/host.err" &
host_pid=$!
host_window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Blokfall$' | head -1)
[ -n "$host_window" ] || fail "no window of the host"
xdotool windowmove "$host_window" 0 0
wait_for 10 bash -c "xdotool search --onlyvisible --name '^Host a Network Fight$' >/dev/null" ||
    fail "the host shows no dialog with its port and code"

cd "$work/join"
"$program" --join "127.0.0.1:$port" --code E2ETEST 2>"$work/join.err" &
join_pid=$!
wait_for 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Blokfall$' | grep -v '^$host_window$')\" ]" ||
    fail "no window of the joiner"
join_window=$(other_window "$host_window")
xdotool windowmove "$join_window" 480 0
wait_for 10 in_fight "$host_window" || fail "the host did not start the fight"
wait_for 10 in_fight "$join_window" || fail "the joiner did not start the fight"

# A few seconds of play, keys to each window.
for round in 1 2 3; do
    xdotool windowfocus --sync "$host_window"
    xdotool key --delay 120 Left Up Left
    xdotool windowfocus --sync "$join_window"
    xdotool key --delay 120 Right Up Right Down
done
xdotool key --delay 150 p  # the joiner pauses both
sleep 1
field "$host_window" host
field "$join_window" join
differing=$(compare -metric AE "$shots/host-field.png" "$shots/join-field.png" "$shots/diff.png" 2>&1 || true)
echo "field pixels differing after the pause: $differing"
[ "$differing" = "0" ] || fail "the two fields differ in $differing pixels"
sleep 0.5
field "$host_window" host-later
[ "$(compare -metric AE "$shots/host-field.png" "$shots/host-later-field.png" /dev/null 2>&1 || true)" = "0" ] ||
    fail "the host's field moved while paused"

# The host leaves through File > Quit; the joiner must say so.
quit_host_then_joiner windowfocus
echo "PASS"
