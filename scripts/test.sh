#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the same suite under the
# address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
# Many tests spend much of their time starting up or waiting on a timer: twice as many tests as
# cores keep the machine busy. (One compile more than cores gained nothing measurable.)
build_jobs=$jobs
test_jobs=$((jobs * 2))

# A compiler cache, when one is installed, makes a second run quick; the first run does not
# need one. Precompiled headers are cached only with these allowances.
cache=()
if command -v ccache >/dev/null; then
  cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi

# Where the time goes: each stage says when it starts.
stage() { echo "== $1 at ${SECONDS} s"; }

# The normal build exists to run the tests: -O1 optimises enough for them to run fast and for
# the optimiser to meet every rule (a fault that only optimised code shows still shows), and it
# compiles a quarter faster than -O2. Line tables are enough for the backtrace of a failing test.
# (scripts/play.sh builds the game at -O2 in the same folder.)
stage "normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  "${cache[@]}"
cmake --build build -j"$build_jobs"
stage "normal tests"
ctest --test-dir build --output-on-failure --timeout 300 -j"$test_jobs"

stage "sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMILGANT_SANITIZE=ON -DMILGANT_BENCH=OFF \
  "${cache[@]}"
cmake --build build-asan -j"$build_jobs"
stage "sanitizer tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 600 -j"$test_jobs"
stage "done"
