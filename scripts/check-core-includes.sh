#!/usr/bin/env bash
# The core must stay free of toolkit headers: no Qt, FluidSynth or X11 include below core/.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='^\s*#\s*include\s*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/|fluidsynth|X11/|xcb/)'
if hits=$(grep -rnE "$pattern" core/); then
    echo "core/ includes a toolkit header:" >&2
    echo "$hits" >&2
    exit 1
fi
echo "core/ includes no toolkit header"
