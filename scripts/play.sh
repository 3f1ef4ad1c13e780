#!/usr/bin/env bash
# Builds the game and starts it in its working folder (data/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
cd data
if [ -x ../build/milgant ]; then
  exec ../build/milgant "$@"
fi
# No window yet in this build: show what the headless driver offers.
exec ../build/milgant-cli --help
