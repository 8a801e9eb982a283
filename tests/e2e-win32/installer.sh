#!/usr/bin/env bash
# The Windows installer under Wine on a virtual X display, from the release archive: Cancel
# creates nothing; an install into a typed folder copies every file, writes the two Start-menu
# links and the uninstall entry; the game starts from its link's target in the link's working
# directory and quits; the registered uninstall command removes everything but the hiscore.dat
# the game wrote, which it asks about and keeps.
# Usage: installer.sh RELEASE.ZIP LINK_INFO.EXE SHOTDIR
# LINK_INFO.EXE prints what a shell link holds. With BLOKFALL_E2E_WM=openbox (or another window
# manager) the display gets that window manager.
set -euo pipefail

if [ -z "${BLOKFALL_E2E_INNER:-}" ]; then
    export BLOKFALL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

zip=$(realpath "$1")
link_info=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
source "$(dirname "$0")/wine_common.sh"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Blokfall'

# The window called exactly $1, once it is there (at most 60 seconds).
window_named() {
    timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1
}

shoot() {
    import -window root "$shots/$1.png" 2>/dev/null
}

# Waits for the program started in the background to end; its exit status must be $1.
expect_exit() {
    wait_for 30 bash -c "! kill -0 $pid 2>/dev/null" || fail "$2 did not end"
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq "$1" ] || fail "$2 ended with status $status"
}

# Answers the next message box or question called $1 (not the one answered last) with the
# keys $2...; $3 names a shot of it when given as "shot:NAME" before the keys.
last_box=none
answer() {
    local name=$1 box= deadline=$((SECONDS + 60))
    shift
    # Only a shown box takes the focus; one still being mapped is tried again.
    until box=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null |
        grep -vx "$last_box" | head -1) && [ -n "$box" ] &&
        xdotool windowfocus --sync "$box" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "no \"$name\" box"
        sleep 0.1
    done
    last_box=$box
    case $1 in shot:*) sleep 0.3 && shoot "${1#shot:}" && shift ;; esac
    xdotool key --delay 100 "$@"
}

unix_path() { winepath -u "$1" 2>/dev/null; }
# The uninstall entry; nothing when there is none (reg then prints its complaint on stdout).
registered() {
    local entry
    entry=$(wine reg query "$uninstall_key" 2>/dev/null) && tr -d '\r' <<<"$entry"
    return 0
}
# The value $1 of the uninstall entry.
registered_value() { registered | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }

cd "$work"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
cmake -E tar xf "$zip"
source=$(echo "$work"/Blokfall-*-win32)
[ -f "$source/blokinst.exe" ] || fail "the archive holds no blokinst.exe"
menu=$(unix_path "$(wine cmd /c echo %APPDATA% | tr -d '\r')")"/Microsoft/Windows/Start Menu/Programs/Blokfall"
proposal=$(unix_path "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Programs/Blokfall

target='C:\Blokfall Test\Spiel'
installed=$(unix_path "$target")
# A prefix shared with earlier runs starts without their installation.
rm -rf "$menu" "$proposal" "$installed"
wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

# Cancel: the abort message, and nothing written.
cd "$source"
wine blokinst.exe >"$work/out.txt" 2>&1 &
pid=$!
dialog=$(window_named "Install Path")
[ -n "$dialog" ] || fail "no path dialog"
shoot path-dialog
xdotool windowfocus --sync "$dialog"
xdotool key Escape
answer Message shot:abort Return
expect_exit 0 "the cancelled installer"
[ ! -e "$proposal" ] && [ ! -e "$menu" ] || fail "Cancel created the target or the menu folder"
[ -z "$(registered)" ] || fail "Cancel registered an uninstall"
echo "Cancel: nothing created"

# Install into a typed folder with a blank in its name.
wine blokinst.exe >"$work/out.txt" 2>&1 &
pid=$!
dialog=$(window_named "Install Path")
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type --delay 30 "$target"
xdotool key Return
window_named "Installing Files" >/dev/null || fail "no progress dialog"
shoot progress
answer Message shot:complete Return
expect_exit 0 "the installer"
echo "installed into $target"

for file in Blokfall.exe Blokfall.hlp Liesmich.txt Readme.txt blokinst.exe; do
    cmp -s "$source/$file" "$installed/$file" || fail "$file did not arrive whole"
done
for n in $(seq 1 19); do
    cmp -s "$source/music/$n.mid" "$installed/music/$n.mid" || fail "music\\$n.mid did not arrive"
done
[ -f "$installed/.blokfall-installed" ] || fail "no manifest"

# The links, read back through the shell's link object.
read_link() { wine "$link_info" "$(winepath -w "$menu/$1.lnk" 2>/dev/null)" | tr -d '\r'; }
game_link=$(read_link Blokfall) || fail "the game's link cannot be read"
help_link=$(read_link BlokfallHelp) || fail "the help's link cannot be read"
expected_game="path=$target\\Blokfall.exe
directory=$target
arguments=
description=Blokfall"
expected_help="path=$target\\Blokfall.exe
directory=$target
arguments=--help-viewer \"$target\\Blokfall.hlp\"
description=BlokfallHelp"
[ "$game_link" = "$expected_game" ] || fail "the game's link holds: $game_link"
[ "$help_link" = "$expected_help" ] || fail "the help's link holds: $help_link"
echo "both links point into $target"

[ "$(registered_value InstallLocation)" = "$target" ] || fail "uninstall entry: $(registered)"
[ "$(registered_value DisplayName)" = Blokfall ] || fail "uninstall entry: $(registered)"
uninstall=$(registered_value UninstallString)
[ "$uninstall" = "\"$target\\blokinst.exe\" --uninstall \"$target\"" ] ||
    fail "the uninstall command is $uninstall"
echo "uninstall registered: $uninstall"

# The game from its link: the target in the working directory; Explorer's window goes first.
wineserver -k 2>/dev/null || true
cd "$(unix_path "$(sed -n 's/^directory=//p' <<<"$game_link")")"
wine "$(sed -n 's/^path=//p' <<<"$game_link")" >"$work/game.txt" 2>&1 &
pid=$!
game=$(window_named Blokfall)
[ -n "$game" ] || fail "the installed game shows no window"
quit_game() {
    xdotool windowfocus --sync "$game" key --delay 200 alt+f q 2>/dev/null || true
    ! kill -0 "$pid" 2>/dev/null
}
sleep 1 # let the title screen come up before the menu is used
wait_for 20 quit_game || fail "the installed game did not quit"
expect_exit 0 "the installed game"
[ -f "$installed/hiscore.dat" ] || fail "the game wrote no hiscore.dat in its working directory"
echo "the game ran from its link and wrote hiscore.dat"

# The uninstall as the system starts it. The installed uninstaller hands over to a copy of
# itself outside the folder, which asks: remove (Yes), but keep the high scores (No).
cd "$work"
wine "$target\\blokinst.exe" --uninstall "$target" >"$work/out.txt" 2>&1 &
pid=$!
expect_exit 0 "the uninstaller handing over"
answer "Remove Blokfall" shot:remove-question y
answer "Remove Blokfall" shot:hiscore-question n
answer "Remove Blokfall" shot:removed Return
only_hiscore() { [ "$(cd "$installed" && find . -mindepth 1)" = ./hiscore.dat ]; }
wait_for 20 only_hiscore ||
    fail "after the uninstall the folder holds: $(cd "$installed" && find . -mindepth 1 | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the Start-menu folder is still there"
[ -z "$(registered)" ] || fail "the uninstall entry is still there"
echo "uninstalled: only hiscore.dat is left"
echo PASS
