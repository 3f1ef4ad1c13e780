#!/usr/bin/env bash
# Builds the game and opens its window in the working folder (data/). Arguments go to milgant
# (e.g. --help, --version).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
# The game at -O2, whatever the test command last built in this folder.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g -DNDEBUG"
cmake --build build -j"$jobs" --target milgant
cd data
exec ../build/milgant "$@"
