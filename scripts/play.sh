#!/usr/bin/env bash
# Builds the game and opens its window in the working folder (data/). Arguments go to milgant
# (e.g. --help, --version).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target milgant
cd data
exec ../build/milgant "$@"
