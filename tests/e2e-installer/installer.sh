#!/usr/bin/env bash
# Runs blokinst in a scratch distribution folder as a user would, under the X display that
# xvfb-run provides, and checks what it leaves behind.
#   installer.sh install|cancel|failure BLOKINST SCREENSHOT_DIR [DIST_DIR]
# DIST_DIR is used when it holds a complete distribution; otherwise stand-ins are made.
set -euo pipefail

scenario=$1 blokinst=$2 screens=$3 dist_dir=${4:-}
mkdir -p "$screens"
scratch=$(mktemp -d /tmp/blokinst-e2e.XXXXXX)
installer_pid=
cleanup() {
    [ -n "$installer_pid" ] && kill "$installer_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

files=(Blokfall Blokfall.hlp Liesmich.txt Readme.txt)
for n in $(seq 1 19); do files+=("$n.mid"); done
destination_of() { case $1 in *.mid) echo "music/$1" ;; *) echo "$1" ;; esac; }

# Waits up to $1 seconds until the command that follows succeeds.
wait_until() {
    local limit=$(($1 * 10)); shift
    for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.1; done
    return 1
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
window_shown() { [ -n "$(visible_window "$1")" ]; }
# Waits for the window called $1 and gives it the keyboard.
focus_window() {
    wait_until 20 window_shown "$1" ||
        fail "window '$1' did not appear; installer said: $(cat "$scratch/stderr.txt")"
    xdotool windowfocus --sync "$(visible_window "$1")"
}
screenshot() { import -window root "$screens/$1.png"; }

make_distribution() {
    local dist=$1
    mkdir -p "$dist"
    local real=yes
    for f in "${files[@]}"; do [ -f "$dist_dir/$f" ] || real=no; done
    if [ "$real" = yes ]; then
        cp -p "$dist_dir"/* "$dist"/
        echo real
        return
    fi
    # A stand-in game that writes down where and with what it was started.
    cat > "$dist/Blokfall" <<'GAME'
#!/bin/sh
{ pwd; for a in "$@"; do echo "[$a]"; done; } > "$BLOKINST_E2E_STARTED.tmp"
mv "$BLOKINST_E2E_STARTED.tmp" "$BLOKINST_E2E_STARTED"
GAME
    chmod 755 "$dist/Blokfall"
    for f in "${files[@]:1}"; do head -c $((RANDOM % 40000 + 100)) /dev/urandom > "$dist/$f"; done
    echo stand-in
}

# The desktop's file manager, replaced by one that writes down what it was asked to open.
mkdir -p "$scratch/bin"
cat > "$scratch/bin/xdg-open" <<OPEN
#!/bin/sh
echo "\$1" >> "$scratch/opened.txt"
OPEN
chmod 755 "$scratch/bin/xdg-open"
export PATH="$scratch/bin:$PATH"
# A real window on the virtual display, whatever the test run set for headless tests.
export QT_QPA_PLATFORM=xcb
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/data"
export BLOKINST_E2E_STARTED="$scratch/started.txt"
mkdir -p "$HOME"

dist="$scratch/dist folder"
kind=$(make_distribution "$dist")
echo "distribution: $kind"

start_installer() {
    (cd "$dist" && exec "$blokinst") 2> "$scratch/stderr.txt" &
    installer_pid=$!
}
# Waits for the installer to end and sets $status to its exit status.
finish_installer() {
    wait_until 40 installer_ended || fail "installer did not end"
    status=0
    wait "$installer_pid" || status=$?
    installer_pid=
}
installer_ended() { ! kill -0 "$installer_pid" 2>/dev/null || [ -n "$(ps -o stat= -p "$installer_pid" | grep Z)" ]; }
type_path() {
    focus_window "Install Path"
    xdotool key --delay 40 ctrl+a
    xdotool type --delay 15 "$1"
    xdotool key --delay 40 Return
}

check_installed() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall"
    for f in "${files[@]}"; do
        cmp "$dist/$f" "$target/$(destination_of "$f")" || fail "$f did not arrive intact"
    done
    [ -x "$target/Blokfall" ] || fail "the game is not executable"
    ls -A "$target" "$target/music" | grep -q '^\.' && fail "temporary files left in the target"
    for entry in Blokfall BlokfallHelp; do
        desktop-file-validate "$menu/$entry.desktop" 2>&1 | grep error && fail "$entry.desktop is invalid"
        grep -qxF "Path=$target" "$menu/$entry.desktop" || fail "$entry.desktop: wrong Path"
    done
    grep -qxF "Exec=\"$target/Blokfall\"" "$menu/Blokfall.desktop" || fail "wrong game Exec"
    grep -qxF "Exec=\"$target/Blokfall\" --help-viewer \"$target/Blokfall.hlp\"" \
        "$menu/BlokfallHelp.desktop" || fail "wrong help Exec"
    grep -qxF "$menu" "$scratch/opened.txt" || fail "the menu folder was not opened"
}

# Starts an installed menu entry the way the desktop does and checks where it ran.
check_stand_in_starts() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall"
    rm -f "$BLOKINST_E2E_STARTED"
    (cd / && gio launch "$menu/Blokfall.desktop")
    wait_until 10 test -f "$BLOKINST_E2E_STARTED" || fail "the game entry did not start the game"
    [ "$(cat "$BLOKINST_E2E_STARTED")" = "$target" ] || fail "game started in $(cat "$BLOKINST_E2E_STARTED")"
    rm -f "$BLOKINST_E2E_STARTED"
    (cd / && gio launch "$menu/BlokfallHelp.desktop")
    wait_until 10 test -f "$BLOKINST_E2E_STARTED" || fail "the help entry did not start the viewer"
    [ "$(cat "$BLOKINST_E2E_STARTED")" = "$(printf '%s\n[--help-viewer]\n[%s]' "$target" "$target/Blokfall.hlp")" ] \
        || fail "help started as: $(cat "$BLOKINST_E2E_STARTED")"
}

# The installed game's process started from $1 with "--help-viewer" in its arguments or not ($2).
installed_process() {
    local exe=$1 want_help=$2
    for p in $(pgrep -x Blokfall); do
        [ "$(readlink "/proc/$p/exe")" = "$exe" ] || continue
        if tr '\0' '\n' < "/proc/$p/cmdline" | grep -qx -- --help-viewer; then
            [ "$want_help" = help ] && echo "$p"
        else
            [ "$want_help" = game ] && echo "$p"
        fi
    done | head -n1
}
process_has_window() { [ -n "$(xdotool search --onlyvisible --pid "$1" 2>/dev/null)" ]; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Starts the real game and its help from the menu entries: each must run in the install folder
# and show a window; the game must keep running and end cleanly through its File menu.
check_real_game_starts() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall" pid
    (cd / && gio launch "$menu/Blokfall.desktop")
    wait_until 10 test -n "$(installed_process "$target/Blokfall" game)" || fail "the game did not start"
    pid=$(installed_process "$target/Blokfall" game)
    [ "$(readlink "/proc/$pid/cwd")" = "$target" ] || fail "the game runs in $(readlink "/proc/$pid/cwd")"
    wait_until 20 process_has_window "$pid" || fail "the game shows no window"
    sleep 3  # it must keep running, playing its songs, not merely start
    process_ended "$pid" && fail "the game ended by itself"
    screenshot installed-game
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid "$pid" | head -n1)"
    xdotool key --delay 100 alt+f q
    wait_until 15 process_ended "$pid" || fail "the game did not end from File > Quit"
    [ -f "$target/hiscore.dat" ] || fail "the game kept no hiscore.dat in its folder"

    (cd / && gio launch "$menu/BlokfallHelp.desktop")
    wait_until 10 test -n "$(installed_process "$target/Blokfall" help)" || fail "the help did not start"
    pid=$(installed_process "$target/Blokfall" help)
    wait_until 20 process_has_window "$pid" || fail "the help viewer shows no window"
    screenshot installed-help
    kill "$pid"
}

case $scenario in
install)
    target="$scratch/My Games/Blok fall"
    start_installer
    wait_until 20 window_shown "Install Path" || fail "no path dialog"
    screenshot installer-path-dialog
    type_path "$target/"
    wait_until 20 window_shown "Installing Files" || fail "no progress dialog"
    sleep 1  # a few files in, to see the bar move
    screenshot installer-progress
    # The entries are written just before the installer reports completion.
    wait_until 20 test -f "$XDG_DATA_HOME/applications/Blokfall/BlokfallHelp.desktop" ||
        fail "no menu entries"
    sleep 0.5
    screenshot installer-complete
    finish_installer
    [ "$status" = 0 ] || fail "installer exit status $status: $(cat "$scratch/stderr.txt")"
    check_installed "$target"
    if [ "$kind" = stand-in ]; then check_stand_in_starts "$target"; else check_real_game_starts "$target"; fi
    ;;
cancel)
    start_installer
    focus_window "Install Path"
    xdotool key --delay 40 Escape
    focus_window "Message"
    screenshot installer-cancelled
    xdotool key --delay 40 Return
    finish_installer
    [ "$status" = 0 ] || fail "cancelling ended with status $status"
    grep -qF "Installation not complete ... aborting" "$scratch/stderr.txt" || fail "no abort message"
    [ ! -e "$XDG_DATA_HOME" ] || fail "cancelling created $(find "$XDG_DATA_HOME")"
    [ -z "$(ls -A "$HOME")" ] || fail "cancelling created files in the home folder"
    ;;
failure)
    echo "a file where a folder is expected" > "$scratch/plain"
    start_installer
    type_path "$scratch/plain/Blokfall"
    focus_window "Message"
    screenshot installer-failed
    xdotool key --delay 40 Return
    finish_installer
    [ "$status" != 0 ] || fail "a failed installation ended with status 0"
    grep -qF "Not a directory" "$scratch/stderr.txt" || fail "no reason given: $(cat "$scratch/stderr.txt")"
    grep -qF "Installation Complete" "$scratch/stderr.txt" && fail "claimed to be complete"
    [ ! -e "$XDG_DATA_HOME/applications" ] || fail "menu entries made for a failed installation"
    ;;
*) fail "unknown scenario $scenario" ;;
esac
echo "PASS: installer $scenario ($kind distribution)"
