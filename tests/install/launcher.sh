#!/usr/bin/env bash
# The launcher of an installed tree, with the game replaced by a stand-in that writes down where
# it ran and with which arguments: the player's folder is made and given the shared help and
# songs as links, what the player has there stays untouched, and a folder that cannot be
# prepared is reported with its reason and a non-zero status.
#   launcher.sh BUILD_DIR BINDIR LIBEXECDIR DATADIR   (the folders relative to the prefix)
set -euo pipefail
build=$(realpath "$1") bindir=$2 libexecdir=$3 datadir=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Installed, then moved: nothing may depend on the prefix it was installed to.
cmake --install "$build" --prefix "$scratch/first" >/dev/null
mv "$scratch/first" "$scratch/usr"
prefix=$scratch/usr
cat > "$prefix/$libexecdir/blokfall/Blokfall" <<'GAME'
#!/bin/sh
{ pwd; echo "$*"; } > "$RECORD"
echo "${BLOKFALL_COMMAND:-}" > "$RECORD.command"
exit 7
GAME
export RECORD=$scratch/record.txt
launch() { env -u XDG_DATA_HOME HOME="$scratch/home" "$@" "$prefix/$bindir/blokfall" --a 'b c'; }

# A first start: the folder with both links, the game run there with the arguments, its status
# passed on.
status=0
launch || status=$?
folder=$scratch/home/.local/share/Blokfall
[ "$status" = 7 ] || fail "the game's status 7 came back as $status"
[ "$(cat "$RECORD")" = "$folder"$'\n'"--a b c" ] || fail "the game ran as: $(cat "$RECORD")"
[ "$(readlink -f "$folder/music/19.mid")" = "$prefix/$datadir/blokfall/music/19.mid" ] ||
    fail "the songs are not linked"
cmp "$folder/Blokfall.hlp" "$prefix/$datadir/blokfall/Blokfall.hlp" || fail "the help is not linked"

# XDG_DATA_HOME chooses the folder when it is absolute and is ignored when relative.
launch XDG_DATA_HOME="$scratch/data" || true
[ "$(head -1 "$RECORD")" = "$scratch/data/Blokfall" ] || fail "XDG_DATA_HOME was not used"
(cd "$scratch" && launch XDG_DATA_HOME=data) || true
[ "$(head -1 "$RECORD")" = "$folder" ] || fail "a relative XDG_DATA_HOME was used"

# A folder the installer filled keeps its own files; a link that leads nowhere is renewed.
own=$scratch/own/Blokfall
mkdir -p "$own/music"
echo "my song" > "$own/music/1.mid"
echo "my help" > "$own/Blokfall.hlp"
echo "my scores" > "$own/hiscore.dat"
launch XDG_DATA_HOME="$scratch/own" || true
[ ! -L "$own/music" ] && [ "$(cat "$own/music/1.mid")" = "my song" ] || fail "the own songs were touched"
[ "$(cat "$own/Blokfall.hlp")" = "my help" ] || fail "the own help was replaced"
[ "$(cat "$own/hiscore.dat")" = "my scores" ] || fail "hiscore.dat was touched"
rm -rf "$own/music"
ln -s "$scratch/gone/music" "$own/music"
launch XDG_DATA_HOME="$scratch/own" || true
[ -f "$own/music/1.mid" ] || fail "a broken link to the songs was not renewed"

# Asking for the usage or the version makes no folder, and the game learns the command's name.
rm -f "$RECORD"
env -u XDG_DATA_HOME HOME="$scratch/bare" "$prefix/$bindir/blokfall" --version > /dev/null || true
[ "$(sed -n 2p "$RECORD")" = "--version" ] || fail "--version did not reach the game"
[ ! -e "$scratch/bare" ] || fail "--version made $(find "$scratch/bare")"
[ "$(cat "$RECORD.command")" = blokfall ] || fail "the game was told it is '$(cat "$RECORD.command")'"

# No folder to be had: what failed and why, and no game.
rm -f "$RECORD"
echo "a file" > "$scratch/plain"
status=0
launch XDG_DATA_HOME="$scratch/plain" 2> "$scratch/err.txt" || status=$?
[ "$status" = 1 ] || fail "status $status for a folder that cannot be made"
grep -qF "Not a directory" "$scratch/err.txt" || fail "no reason given: $(cat "$scratch/err.txt")"
grep -qF "blokfall: cannot create the folder $scratch/plain/Blokfall" "$scratch/err.txt" ||
    fail "the failure is not named: $(cat "$scratch/err.txt")"
[ ! -e "$RECORD" ] || fail "the game was started without its folder"
echo PASS
