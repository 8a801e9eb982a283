#!/usr/bin/env bash
# The programs' command lines, without any display: --help and -h on standard output with
# status 0, --version, a command line they do not understand on standard error with status 2;
# and the game's manual page names every option its --help lists.
#   command_line.sh GAME INSTALLER VERSION MANUAL_PAGE
set -euo pipefail
game=$1 installer=$2 version=$3 manual=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the program without a display; sets $status, $out and $err.
run() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u BLOKFALL_COMMAND "$@" \
        > "$scratch/out" 2> "$scratch/err" || status=$?
    out=$(cat "$scratch/out") err=$(cat "$scratch/err")
}

for program in "$game" "$installer"; do
    name=$(basename "$program")
    for option in --help -h; do
        run "$program" "$option"
        [ "$status" = 0 ] || fail "$name $option: status $status, $err"
        [ -z "$err" ] || fail "$name $option wrote to stderr: $err"
        grep -q "^Usage: $name " <<< "$out" || fail "$name $option: no usage naming $name: $out"
        grep -q -- "--version" <<< "$out" || fail "$name $option does not list --version"
    done
    run "$program" --version
    [ "$status" = 0 ] && [ -z "$err" ] || fail "$name --version: status $status, $err"
    case $name in
        blokinst) expected="blokinst (Blokfall) $version" ;;
        *) expected="Blokfall $version" ;;
    esac
    [ "$out" = "$expected" ] || fail "$name --version says: $out"
done

# The game's usage names the command it was started as, the launcher's when it tells so.
run "$game" --help
help=$out
BLOKFALL_COMMAND=blokfall "$game" --help | grep -q "^Usage: blokfall " ||
    fail "the launcher's name is not used"

# Every option of the game's help is in its manual page, and so is every exit status it lists.
for option in $(grep -oE -- '(^| )--?[a-z][a-z-]*' <<< "$help" | sort -u); do
    grep -qF -- "$(sed 's/-/\\-/g' <<< "$option")" "$manual" ||
        fail "the manual page does not describe $option"
done
for code in 0 1 2; do
    sed -n '/^\.SH EXIT STATUS/,/^\.SH/p' "$manual" | grep -qw "$code" ||
        fail "the manual page's exit statuses lack $code"
done

# A command line the game does not understand: the usage on stderr, status 2, no display asked.
for args in "--bogus" "--join" "--join 127.0.0.1" "--host 0" "--help-viewer"; do
    # shellcheck disable=SC2086  # the arguments are meant to split
    run "$game" $args
    [ "$status" = 2 ] || fail "'$args': status $status, $err"
    [ -z "$out" ] || fail "'$args' wrote to stdout: $out"
    grep -q "^Usage: Blokfall " <<< "$err" || fail "'$args': no usage on stderr: $err"
done
echo PASS
