# Shared by the end-to-end scripts, sourced after they have moved onto a virtual display.
# Reads BLOKFALL HELPFILE SHOTDIR from the script's arguments and sets program, shots and work
# (a scratch folder holding the help file, removed at exit together with the game in $pid).

program=$(realpath "$1")
helpfile=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
[ -x "$program" ] || { echo "FAIL: $program is not a program" >&2; exit 1; }
work=$(mktemp -d)
pid=
wm_pid=
trap 'kill $pid $wm_pid 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$helpfile" "$work/"
# As when started without a desktop session: whatever Qt says about that must stay off the
# terminal, which is checked to be empty at the end.
unset XDG_RUNTIME_DIR BLOKFALL_DEBUG
unset QT_QPA_PLATFORM  # the real X display this time
# Settings live in the scratch folder.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/stderr.txt" ]; then
        echo "stderr of Blokfall:" >&2
        cat "$work/stderr.txt" >&2
    fi
    exit 1
}

source "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

shoot() { import -window "$window" "$shots/$1.png"; }

# Bounding box "WxH+X+Y" of the piece colours inside the area $2 ("WxH+X+Y") of screenshot $1,
# or nothing when there are none.
colour_box() {
    local box
    box=$(convert "$shots/$1.png" -crop "$2" +repage -fill 'rgb(1,2,3)' \
        -opaque 'rgb(200,0,0)' -opaque 'rgb(0,200,0)' -opaque 'rgb(0,0,200)' \
        -opaque 'rgb(200,200,0)' -opaque 'rgb(200,0,200)' -opaque 'rgb(0,200,200)' \
        -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' \
        -format '%@' info: 2>/dev/null)
    case $box in 0x0*|"") return 1 ;; esac
    echo "$box"
}

box_x() { local rest=${1#*+}; echo "${rest%%+*}"; }
box_width() { echo "${1%%x*}"; }

# Starts the game in the scratch folder and waits for its window: sets pid and window.
start_game() {
    cd "$work"
    "$program" 2>"$work/stderr.txt" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Blokfall$' | head -1)
    [ -n "$window" ] || fail "no Blokfall window"
    xdotool windowfocus --sync "$window"
}

# Runs a window manager on the display, as a desktop has: focus, stacking and frames are its.
start_window_manager() {
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        fail "the window manager did not start"
}

# The screen position of a window's own top-left corner, "X,Y".
window_corner() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
                              END {print x "," y}'
}

# Leaves through File > Quit and checks a clean end.
quit_game() {
    xdotool key --delay 200 alt+f q
    wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "Blokfall did not end after File > Quit"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
    [ ! -s "$work/stderr.txt" ] || fail "Blokfall wrote to stderr"
}
