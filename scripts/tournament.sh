#!/bin/bash
# Self-play tournaments between the computer opponents: each pairing is played over seeds
# 1..GAMES with milgant-cli autoplay, and its wins from each side are printed with a 95 %
# confidence interval (Wilson score interval).
#
#   scripts/tournament.sh GAMES [JOBS]
#
# Side 0 is ヴァルネ軍 (its home and source is 京), side 1 is ソルカ軍 (吉田城). A game that
# reaches no ending within the turn limit counts for neither side. MILGANT_CLI names the program
# (default: build/milgant-cli beside this script); JOBS games run at once (default 1).
set -euo pipefail

games=${1:?usage: tournament.sh GAMES [JOBS]}
jobs=${2:-1}
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${MILGANT_CLI:-$here/build/milgant-cli}
[ -x "$cli" ] || { echo "tournament.sh: no milgant-cli at $cli (set MILGANT_CLI)" >&2; exit 2; }

# Pairings: side 0's player, side 1's player.
pairings=(
  "standard strong"
  "strong standard"
  "passive strong"
  "standard standard"
  "passive standard"
  "strong passive"
  "standard passive"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

wilson() {  # wins games -> "lo–hi" in per cent
  awk -v k="$1" -v n="$2" 'BEGIN {
    if (n == 0) { printf "  -  "; exit }
    z = 1.959964; p = k / n; d = 1 + z * z / n
    c = (p + z * z / (2 * n)) / d; h = z * sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / d
    lo = c - h; hi = c + h; if (lo < 0) lo = 0; if (hi > 1) hi = 1
    printf "%5.1f–%5.1f", 100 * lo, 100 * hi }'
}

printf '%-10s %-10s %6s | %-28s | %-28s | %s\n' "side 0" "side 1" "games" \
  "side 0 (ヴァルネ軍) wins" "side 1 (ソルカ軍) wins" "no ending"
for pairing in "${pairings[@]}"; do
  read -r p0 p1 <<<"$pairing"
  out="$work/$p0-$p1"
  mkdir -p "$out"
  seq 1 "$games" | xargs -P "$jobs" -I{} sh -c \
    '"$0" autoplay --ai0 "$1" --ai1 "$2" --seed {} > "$3/{}.json" 2>&1 || echo "seed {} failed" >&2' \
    "$cli" "$p0" "$p1" "$out"
  w0=$(cat "$out"/*.json | grep -c '"winner":0' || true)
  w1=$(cat "$out"/*.json | grep -c '"winner":1' || true)
  none=$((games - w0 - w1))
  printf '%-10s %-10s %6d | %4d %5.1f%% [%s] | %4d %5.1f%% [%s] | %d\n' "$p0" "$p1" "$games" \
    "$w0" "$(awk -v k="$w0" -v n="$games" 'BEGIN{print 100*k/n}')" "$(wilson "$w0" "$games")" \
    "$w1" "$(awk -v k="$w1" -v n="$games" 'BEGIN{print 100*k/n}')" "$(wilson "$w1" "$games")" "$none"
done
