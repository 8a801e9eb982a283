#!/usr/bin/env bash
# Every tracked C++ file must read as .clang-format writes it; prints the files that drift.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if ! "$format" --dry-run -Werror "${files[@]}" 2>/dev/null; then
    echo "These files differ from .clang-format (run $format -i on them):" >&2
    for file in "${files[@]}"; do
        "$format" --dry-run -Werror "$file" >/dev/null 2>&1 || echo "  $file" >&2
    done
    exit 1
fi
echo "${#files[@]} C++ files follow .clang-format"
