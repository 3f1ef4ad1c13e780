#!/bin/sh
# Builds the random-input program and plays INPUTS seeded random inputs into the game window
# (offscreen, silent, in a scratch folder). Usage: scripts/monkey.sh INPUTS SEED [BUILD_DIR]
set -eu
inputs=${1:?usage: scripts/monkey.sh INPUTS SEED [BUILD_DIR]}
seed=${2:?usage: scripts/monkey.sh INPUTS SEED [BUILD_DIR]}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${3:-$here/build-monkey}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMILGANT_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target monkey >/dev/null
QT_QPA_PLATFORM=offscreen MILGANT_MUTE=1 exec "$build/tests/monkey/monkey" "$inputs" "$seed"
