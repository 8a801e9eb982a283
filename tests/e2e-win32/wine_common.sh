# Sourced by the Windows end-to-end checks once they run on their virtual display: a scratch
# folder, the Wine prefix (WINEPREFIX, or one in the scratch folder), the window manager that
# BLOKFALL_E2E_WM names, if any, and the way a check fails. $pid is the program under test.
work=$(mktemp -d)
pid=
wm=
trap 'kill "$pid" $wm 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
if [ -n "${BLOKFALL_E2E_WM:-}" ]; then
    "$BLOKFALL_E2E_WM" >/dev/null 2>&1 &
    wm=$!
fi
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$work/prefix}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/wait_for.sh"
