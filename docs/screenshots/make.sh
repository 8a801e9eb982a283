#!/usr/bin/env bash
# Makes the screenshots beside their scripts: each script ends in a frame that blokfall-sim
# writes as PPM, which ImageMagick turns into PNG.
# usage: docs/screenshots/make.sh [BUILD_DIR]   (default build/dev)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sim=$(cd "$here/../.." && pwd)/${1:-build/dev}/apps/sim/blokfall-sim
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for script in "$here"/*.txt; do
    name=$(basename "$script" .txt)
    (cd "$work" && "$sim" "$script" >/dev/null)
    convert "$work/$name.ppm" "$here/$name.png"
    echo "$here/$name.png"
done
