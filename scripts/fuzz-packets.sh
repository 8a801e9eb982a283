#!/usr/bin/env bash
# Builds the network packet fuzzer with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs it for a bounded time.
# Usage: scripts/fuzz-packets.sh [seconds, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
out=build/fuzz-packets
mkdir -p "$out/corpus"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror \
        -Icore/net tests/fuzz/packet_fuzz.cpp core/net/protocol.cpp -o "$out/packet_fuzz"

# Seeds: one packet of each kind.
printf '\x01\x42\x4c\x4b\x46\x02\x00\x031.0\x03K3Y' > "$out/corpus/hello"
printf '\x02\x01\x02\x03\x04\x00\x01' > "$out/corpus/welcome"
printf '\x03\x02' > "$out/corpus/refuse"
printf '\x04\x11\x08' > "$out/corpus/keys"
printf '\x05\x07\x00\x00\x00\x04\x03\x0c\x01' > "$out/corpus/tick"
printf '\x06\x10\x00\x00\x00\x01\x02\x03\x04\x05\x06\x07\x08' > "$out/corpus/hash"
printf '\x07\x05' > "$out/corpus/end"
printf '\x08\x07\x00\x00\x00\x02\x04\x03\x0c\x01\x02\x00\x00\x00' > "$out/corpus/run"

log="$out/fuzz.log"
"$out/packet_fuzz" -max_total_time="$seconds" -max_len=300 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" > "$log" 2>&1 || { tail -40 "$log"; echo "packet fuzzing FAILED" >&2; exit 1; }
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "packet fuzzing: $executions executions in ${seconds} s, no failure"
