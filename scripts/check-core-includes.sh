#!/usr/bin/env bash
# The core must stay free of toolkit and library headers: no Qt, FluidSynth, X11, SDL or ENet
# include below core/.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='^\s*#\s*include\s*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/|fluidsynth|X11/|xcb/|SDL2?/|SDL[A-Za-z0-9_]*\.h|enet/)'
if hits=$(grep -rnE "$pattern" core/); then
    echo "core/ includes a toolkit header:" >&2
    echo "$hits" >&2
    exit 1
fi
echo "core/ includes no toolkit header"
