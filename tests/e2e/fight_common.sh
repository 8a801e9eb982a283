# Shared by the network-fight scripts, sourced after e2e_common.sh: the two sides' folders, the
# two programs' ids and their stderr in failure reports, and the end of a fight from the host.

host_pid=""
join_pid=""
trap 'kill $host_pid $join_pid $wm_pid 2>/dev/null || true; rm -rf "$work"' EXIT
# Each side plays in a folder of its own, with its own settings.
for side in host join; do
    mkdir -p "$work/$side/config/Blokfall"
    cp "$helpfile" "$work/$side/"
done

fail() {
    echo "FAIL: $*" >&2
    for side in host join; do
        if [ -s "$work/$side.err" ]; then
            echo "stderr of the $side:" >&2
            cat "$work/$side.err" >&2
        fi
    done
    exit 1
}

# The host leaves through File > Quit; the joiner must say so, and both must end cleanly.
# $1: how a window gets the keyboard ("windowfocus" bare, "windowactivate" under a manager).
quit_host_then_joiner() {
    local focus=$1
    xdotool "$focus" --sync "$host_window"
    xdotool key --delay 200 alt+f q
    wait_for 10 bash -c "! kill -0 $host_pid 2>/dev/null" || fail "the host did not end"
    wait_for 10 bash -c "xdotool search --onlyvisible --name '^Network Fight$' >/dev/null" ||
        fail "the joiner shows no message after the host left"
    import -window root "$shots/joiner-message.png"
    local box
    box=$(xdotool search --onlyvisible --name '^Network Fight$' | head -1)
    xdotool "$focus" --sync "$box" 2>/dev/null || true
    xdotool key --delay 200 Return
    sleep 0.5
    xdotool "$focus" --sync "$join_window"
    xdotool key --delay 200 alt+f q
    wait_for 10 bash -c "! kill -0 $join_pid 2>/dev/null" || fail "the joiner did not end"
    wait "$host_pid" || fail "the host ended with an error"
    wait "$join_pid" || fail "the joiner ended with an error"
    host_pid=""
    join_pid=""
    [ ! -s "$work/host.err" ] || fail "the host wrote to stderr"
    [ ! -s "$work/join.err" ] || fail "the joiner wrote to stderr"
}
