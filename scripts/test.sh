#!/usr/bin/env bash
# Installs what is needed, builds Blokfall twice (optimised with GCC, and with AddressSanitizer
# and UndefinedBehaviorSanitizer with Clang) and runs every test of both builds; makes the
# Debian package and plays it; builds the rules without the window layer or GoogleTest; builds
# the Windows programs and runs their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
scripts/check-core-includes.sh
scripts/check-format.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
      -DBLOK_WERROR=ON -DBLOK_BENCHMARKS=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

# The Debian package from the same build; Debian keeps the programs of games in /usr/games.
cmake -S . -B build/release -DCMAKE_INSTALL_BINDIR=games
cmake --build build/release -j "$jobs"
scripts/check-package.sh build/release

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
      -DBLOK_SANITIZE=ON -DBLOK_WERROR=ON
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE no-sanitizer

# What a packager may leave out: the window layer, the tests, GoogleTest and Google Benchmark.
cmake -S . -B build/minimal -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBLOK_WERROR=ON -DBLOK_GUI=OFF \
      -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
      -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
cmake --build build/minimal -j "$jobs"

# The Windows builds, cross-compiled, with their tests under Wine.
scripts/test-windows.sh

# The high-score loader takes arbitrary files: fuzz it for a bounded time.
scripts/fuzz-hiscore.sh 30

# So does the network packet decoder.
scripts/fuzz-packets.sh 15
