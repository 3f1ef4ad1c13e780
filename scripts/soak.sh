#!/bin/sh
# Plays GAMES seeded games of every kind with milgant-cli autoplay (the computer against a side
# that only ends its phases, as either army, and the computer against itself) and reports every
# game that broke a rule or failed. Usage: scripts/soak.sh GAMES [BUILD_DIR]
set -u
games=${1:?usage: scripts/soak.sh GAMES [BUILD_DIR]}
build=${2:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
cli="$here/$build/milgant-cli"
[ -x "$cli" ] || { echo "no $cli: build milgant-cli first" >&2; exit 2; }
cd "$here/data" || exit 2
failures=0
wins=0
played=0
seed=1
while [ "$seed" -le "$games" ]; do
  for kind in "--side 0" "--side 1" "--both"; do
    # shellcheck disable=SC2086
    if out=$("$cli" autoplay $kind --seed "$seed" 2>&1); then
      played=$((played + 1))
      case "$out" in *'"winner":-1'*) ;; *) wins=$((wins + 1)) ;; esac
    else
      failures=$((failures + 1))
      echo "FAILED: autoplay $kind --seed $seed: $out"
    fi
  done
  seed=$((seed + 1))
done
echo "soak: $played games played, $wins decided, $failures failed"
[ "$failures" -eq 0 ]
