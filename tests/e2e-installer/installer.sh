#!/usr/bin/env bash
# Runs the distribution folder's blokinst as a user would, under the X display that xvfb-run
# provides, and checks what it leaves behind; after an installation, starts the installed game
# and its help from their menu entries.
#   installer.sh install|cancel|failure SCREENSHOT_DIR DIST_DIR
set -euo pipefail

scenario=$1 screens=$2 dist_dir=$3
mkdir -p "$screens"
scratch=$(mktemp -d /tmp/blokinst-e2e.XXXXXX)
started_pids=()
cleanup() {
    local pid
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

files=(Blokfall Blokfall.hlp Liesmich.txt Readme.txt)
for n in $(seq 1 19); do files+=("$n.mid"); done
destination_of() { case $1 in *.mid) echo "music/$1" ;; *) echo "$1" ;; esac; }

# Waits up to $1 seconds until the command that follows succeeds.
wait_until() {
    local limit=$(($1 * 10)) i; shift
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

# A copy of the distribution folder, in a folder whose name has a space.
make_distribution() {
    local dist=$1 f
    for f in "${files[@]}" blokinst; do
        [ -f "$dist_dir/$f" ] || fail "$dist_dir/$f is missing: build the dist target first"
    done
    mkdir -p "$dist"
    cp -p "$dist_dir"/* "$dist"/
}

# The desktop's file manager, replaced by one that writes down what it was asked to open and
# complains as on a machine without one (which the installer must keep off its terminal).
mkdir -p "$scratch/bin"
cat > "$scratch/bin/xdg-open" <<OPEN
#!/bin/sh
echo "\$1" >> "$scratch/opened.txt"
echo "x-www-browser: not found" >&2
echo "no method available for opening '\$1'"
OPEN
chmod 755 "$scratch/bin/xdg-open"
export PATH="$scratch/bin:$PATH"
# A real window on the virtual display, whatever the test run set for headless tests.
export QT_QPA_PLATFORM=xcb
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

dist="$scratch/dist folder"
make_distribution "$dist"

installer_pid=
start_installer() {
    (cd "$dist" && exec ./blokinst) 2> "$scratch/stderr.txt" &
    installer_pid=$!
    started_pids+=("$installer_pid")
}
# Waits for the installer to end and sets $status to its exit status.
finish_installer() {
    wait_until 40 installer_ended || fail "installer did not end"
    status=0
    wait "$installer_pid" || status=$?
}
installer_ended() { ! kill -0 "$installer_pid" 2>/dev/null || [ -n "$(ps -o stat= -p "$installer_pid" | grep Z)" ]; }
type_path() {
    focus_window "Install Path"
    xdotool key --delay 40 ctrl+a
    xdotool type --delay 15 "$1"
    xdotool key --delay 40 Return
}

check_installed() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall" f entry
    for f in "${files[@]}"; do
        cmp "$dist/$f" "$target/$(destination_of "$f")" || fail "$f did not arrive intact"
    done
    [ -x "$target/Blokfall" ] || fail "the game is not executable"
    ls -A "$target" "$target/music" | grep -v '^\.blokfall-installed$' | grep -q '^\.' &&
        fail "temporary files left in the target"
    [ -f "$target/.blokfall-installed" ] || fail "no list of the installed files"
    for entry in Blokfall BlokfallHelp; do
        desktop-file-validate "$menu/$entry.desktop" 2>&1 | grep error && fail "$entry.desktop is invalid"
        grep -qxF "Path=$target" "$menu/$entry.desktop" || fail "$entry.desktop: wrong Path"
    done
    grep -qxF "Exec=\"$target/Blokfall\"" "$menu/Blokfall.desktop" || fail "wrong game Exec"
    grep -qxF "Exec=\"$target/Blokfall\" --help-viewer \"$target/Blokfall.hlp\"" \
        "$menu/BlokfallHelp.desktop" || fail "wrong help Exec"
    grep -qxF "$menu" "$scratch/opened.txt" || fail "the menu folder was not opened"
    cmp -s <(head -c 8 "$target/Blokfall.png") <(printf '\211PNG\r\n\032\n') ||
        fail "no icon beside the game"
    grep -qxF "Icon=$target/Blokfall.png" "$menu/Blokfall.desktop" || fail "wrong game Icon"
}

# The installed game's process started from $1 with "--help-viewer" in its arguments or not ($2).
installed_process() {
    local exe=$1 want=$2 p kind
    for p in $(pgrep -x Blokfall); do
        [ "$(readlink "/proc/$p/exe")" = "$exe" ] || continue
        kind=game
        tr '\0' '\n' < "/proc/$p/cmdline" | grep -qx -- --help-viewer && kind=help
        [ "$kind" = "$want" ] && echo "$p"
    done | head -n1
}
process_started() { [ -n "$(installed_process "$1" "$2")" ]; }
process_window() { xdotool search --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n1; }
process_has_window() { [ -n "$(process_window "$1" "$2")" ]; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Share of the pixels of image $1, cut to WxH+X+Y ($2), whose grey level is above $3 percent.
lit_share() { convert "$1" -crop "$2" +repage -colorspace gray -threshold "$3%" -format '%[fx:mean]' info:; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# The title screen is drawn in window $1: the band under the menu bar is black with the
# title picture and stars in it, and the light start dialog lies below the band.
title_screen_drawn() {
    local shot="$scratch/title.png"
    import -window "$1" "$shot" 2>/dev/null || return 1
    local band_dark band_lit dialog_light
    band_dark=$(awk -v s="$(lit_share "$shot" 380x150+10+40 15)" 'BEGIN { print 1 - s }')
    band_lit=$(lit_share "$shot" 380x150+10+40 30)
    dialog_light=$(lit_share "$shot" 320x120+10+270 75)
    at_least "$band_dark" 0.6 && at_least "$band_lit" 0.03 && at_least "$dialog_light" 0.8
}

# Starts the installed game from its menu entry, as the desktop does, under a system-call trace
# that shows where it ran and which files it found.
check_installed_game() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall" trace="$scratch/game-trace.txt"
    (cd / && exec strace -f -q --seccomp-bpf -e trace=chdir,execve,openat -o "$trace" \
        gio launch "$menu/Blokfall.desktop") 2> "$scratch/game-stderr.txt" &
    local tracer=$! pid window
    started_pids+=("$tracer")
    wait_until 15 process_started "$target/Blokfall" game || fail "the game did not start"
    pid=$(installed_process "$target/Blokfall" game)
    started_pids+=("$pid")
    [ "$(readlink "/proc/$pid/cwd")" = "$target" ] || fail "the game runs in $(readlink "/proc/$pid/cwd")"
    wait_until 20 process_has_window "$pid" Blokfall || fail "the game shows no window"
    window=$(process_window "$pid" Blokfall)
    wait_until 15 title_screen_drawn "$window" || fail "no title screen in the game's window"
    cp "$scratch/title.png" "$screens/installed-game.png"
    sleep 3  # it must keep running, not merely start
    process_ended "$pid" && fail "the game ended by itself"

    xdotool windowfocus --sync "$window"
    xdotool key --delay 100 alt+f q
    wait_until 15 process_ended "$pid" || fail "the game did not end from File > Quit"
    wait "$tracer" || true
    # strace pads process ids to a column, so allow any blanks before the marker.
    grep -qE "^$pid +\+\+\+ exited with 0 \+\+\+" "$trace" ||
        fail "the game's exit: $(grep -E "^$pid +\+\+\+" "$trace")"
    [ "$(stat -c %s "$target/hiscore.dat" 2>/dev/null)" = 424 ] || fail "no hiscore.dat in the install folder"
    # The songs are read from music/ in the folder the entry starts the game in (its Path); one
    # must have been found.
    local folder
    folder=$(printf '%s' "$target" | sed 's/[][\\.*^$+?(){}|]/\\&/g')
    grep -qE "^$pid +openat\(AT_FDCWD, \"$folder/music/([1-9]|1[0-9])\.mid\", O_RDONLY\) = [0-9]+$" "$trace" ||
        fail "the game found no song: $(grep -F '.mid' "$trace")"
    [ ! -s "$scratch/game-stderr.txt" ] || fail "the game complained: $(cat "$scratch/game-stderr.txt")"
}

# Starts the help entry and reads back the text its viewer shows through the clipboard: every
# heading of the installed help file must be there.
check_installed_help() {
    local target=$1 menu="$XDG_DATA_HOME/applications/Blokfall" pid window heading
    (cd / && gio launch "$menu/BlokfallHelp.desktop") 2> "$scratch/help-stderr.txt"
    wait_until 15 process_started "$target/Blokfall" help || fail "the help did not start"
    pid=$(installed_process "$target/Blokfall" help)
    started_pids+=("$pid")
    wait_until 20 process_has_window "$pid" "Blokfall Help" || fail "no window 'Blokfall Help'"
    window=$(process_window "$pid" "Blokfall Help")
    import -window "$window" "$screens/installed-help.png"
    xdotool windowfocus --sync "$window"
    xdotool key --delay 100 ctrl+a ctrl+c
    wait_until 10 help_text_copied || fail "the help viewer's text could not be read"
    while IFS= read -r heading; do
        grep -qxF "$heading" "$scratch/help-text.txt" || fail "the help viewer lacks '$heading'"
    done < <(sed -nE 's/^#+ +//p' "$target/Blokfall.hlp")
    kill "$pid"
    [ ! -s "$scratch/help-stderr.txt" ] || fail "the help complained: $(cat "$scratch/help-stderr.txt")"
}
help_text_copied() {
    xclip -o -selection clipboard > "$scratch/help-text.txt" 2>/dev/null && [ -s "$scratch/help-text.txt" ]
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
    # Then a box says where the game and its menu entries went, and closes with Enter.
    focus_window "Message"
    screenshot installer-complete-message
    xdotool key --delay 40 Return
    finish_installer
    [ "$status" = 0 ] || fail "installer exit status $status: $(cat "$scratch/stderr.txt")"
    [ ! -s "$scratch/stderr.txt" ] || fail "the installer spoke on the terminal: $(cat "$scratch/stderr.txt")"
    check_installed "$target"
    check_installed_game "$target"
    check_installed_help "$target"
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
    [ ! -s "$scratch/stderr.txt" ] || fail "cancelling spoke on the terminal: $(cat "$scratch/stderr.txt")"
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
echo "PASS: installer $scenario"
