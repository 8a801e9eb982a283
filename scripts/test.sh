#!/usr/bin/env bash
# Installs what is needed, builds Blokfall twice (optimised, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test of both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-core-includes.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBLOK_SANITIZE=ON \
      -DBLOK_BENCHMARKS=OFF
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE no-sanitizer

# The high-score loader takes arbitrary files: fuzz it for a bounded time.
scripts/fuzz-hiscore.sh 30

# So does the network packet decoder.
scripts/fuzz-packets.sh 15
