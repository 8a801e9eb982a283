#!/usr/bin/env bash
# A network fight between two Blokfall programs under a window manager, both with "Pause When
# Inactive" on, over 127.0.0.1: moving the focus from one window to the other pauses both games,
# the pause key resumes them, and the fight never ends for a disagreement.
# Usage: network_fight_focus.sh BLOKFALL HELPFILE SHOTDIR
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1000x600x24" "$0" "$@"
fi

source "$(dirname "$0")/e2e_common.sh"
source "$(dirname "$0")/fight_common.sh"

for side in host join; do
    printf '[Window]\nPauseOnFocusLoss=true\n' >"$work/$side/config/Blokfall/Blokfall.conf"
done

visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
field() { import -window "$1" -crop 401x401+0+19 +repage "$shots/$2.png"; }
# Both fields stand still for half a second: both games are paused. (Whether they agree is the
# games' own check, every 16 ticks; a paused joiner may show one gravity step more than the host,
# which repaints only at input ticks.)
still() {
    field "$1" "$2-before"
    sleep 0.5
    field "$1" "$2"
    [ "$(compare -metric AE "$shots/$2-before.png" "$shots/$2.png" /dev/null 2>&1 || true)" = "0" ]
}
both_paused() { still "$host_window" host && still "$join_window" join; }
no_disagreement() { [ -z "$(visible 'Network Fight')" ]; }
# The host's field changes: the fight runs again.
running() { ! still "$host_window" host; }

start_window_manager
port=$((20000 + RANDOM % 30000))
cd "$work/host"
XDG_CONFIG_HOME="$work/host/config" "$program" --host "$port" --code E2EFOCUS 2>"$work/host.err" &
host_pid=$!
host_window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Blokfall$' | head -1)
[ -n "$host_window" ] || fail "no window of the host"
xdotool windowmove "$host_window" 0 0
wait_for 10 bash -c "xdotool search --onlyvisible --name '^Host a Network Fight$' >/dev/null" ||
    fail "the host shows no dialog with its port and code"

cd "$work/join"
XDG_CONFIG_HOME="$work/join/config" "$program" --join "127.0.0.1:$port" --code E2EFOCUS \
    2>"$work/join.err" &
join_pid=$!
other() { xdotool search --onlyvisible --name '^Blokfall$' | grep -v "^$host_window$" | head -1; }
wait_for 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Blokfall$' | grep -v '^$host_window$')\" ]" ||
    fail "no window of the joiner"
join_window=$(other)
xdotool windowmove "$join_window" 480 0
sleep 1.5  # the fight starts on both

# Each round: play in one window, move to the other (the first pauses both), resume there.
for round in 1 2 3; do
    for pair in "$host_window $join_window" "$join_window $host_window"; do
        set -- $pair
        xdotool windowactivate --sync "$1"
        xdotool key --delay 120 Left Up Right
        xdotool windowactivate --sync "$2"
        wait_for 5 both_paused || fail "round $round: leaving a window did not pause both games"
        no_disagreement || fail "round $round: the fight ended after a focus change"
        xdotool key --delay 150 p
        wait_for 5 running || fail "round $round: the pause key did not resume the fight"
    done
done
sleep 1
no_disagreement || fail "the fight ended after the focus changes"
kill -0 "$host_pid" && kill -0 "$join_pid" || fail "a program ended"

# The host leaves through File > Quit; the joiner must say so.
quit_host_then_joiner windowactivate
echo "PASS"
