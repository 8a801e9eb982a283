#!/usr/bin/env bash
# Builds the hiscore.dat fuzzer with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs it for a bounded time.
# Usage: scripts/fuzz-hiscore.sh [seconds, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
out=build/fuzz
mkdir -p "$out/corpus"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror \
        -Icore/hiscore -Icore/shell -Icore/base \
        tests/fuzz/hiscore_fuzz.cpp core/hiscore/hiscore_table.cpp core/hiscore/hiscore_file.cpp \
        core/hiscore/hiscore_disk_posix.cpp core/base/utf8.cpp core/base/leftovers.cpp \
        core/base/system_files_posix.cpp \
        -o "$out/hiscore_fuzz"

# Seeds: nothing, an empty table, a table of full-length names, and a file with a score to enter.
: > "$out/corpus/empty"
head -c 424 /dev/zero > "$out/corpus/zeros"
head -c 424 /dev/zero | tr '\0' 'A' > "$out/corpus/unterminated"
{ head -c 424 /dev/zero; printf '\x05\x00\x00\x00Nobody'; } > "$out/corpus/entry"

log="$out/fuzz.log"
"$out/hiscore_fuzz" -max_total_time="$seconds" -max_len=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" > "$log" 2>&1 || { tail -40 "$log"; echo "hiscore fuzzing FAILED" >&2; exit 1; }
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "hiscore fuzzing: $executions executions in ${seconds} s, no failure"
