#!/usr/bin/env bash
# Fuzzes every reader of outside data: builds the libFuzzer programs (clang, address and
# undefined-behaviour sanitizers) and runs each one SECONDS seconds on a copy of its corpus.
# New inputs that reach new code are kept in build-fuzz/corpus/<target>; a crash, a hang or a
# broken check leaves its input in fuzz/crashes/<target>/ and fails the script.
#   scripts/fuzz.sh SECONDS [TARGET...]     (targets: save map crt cmprsimg jpeg script rules)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(save map crt cmprsimg jpeg script rules)
build=${MILGANT_FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMILGANT_FUZZ=ON -DMILGANT_TESTS=OFF -DMILGANT_BENCH=OFF $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null || exit 1
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target "${targets[@]/#/fuzz_}" || exit 1

declare -A maxlen=([save]=94000 [rules]=93862 [map]=21000 [crt]=4096 [cmprsimg]=65536 [jpeg]=65536 [script]=4096)
declare -A dict=([crt]=fuzz/crt.dict [jpeg]=fuzz/jpeg.dict [script]=fuzz/script.dict)
failed=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  crashes="fuzz/crashes/$t"
  mkdir -p "$work" "$crashes"
  cp -n fuzz/corpus/"$t"/* "$work"/ 2>/dev/null
  [ -d fuzz/regressions/"$t" ] && cp -n fuzz/regressions/"$t"/* "$work"/ 2>/dev/null
  options=(-max_total_time="$seconds" -max_len="${maxlen[$t]:-65536}" -timeout=20 -rss_limit_mb=2048
           -print_final_stats=1 -artifact_prefix="$crashes/")
  [ -n "${dict[$t]:-}" ] && options+=(-dict="${dict[$t]}")
  log="$build/fuzz-$t.log"
  echo "== $t: $seconds s"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/fuzz_$t" "${options[@]}" "$work" >"$log" 2>&1
  rc=$?
  grep -E "^#[0-9]+ +DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb" "$log"
  grep -E "cov: [0-9]+ ft: [0-9]+" "$log" | tail -1
  if [ $rc -ne 0 ] || ls "$crashes" | grep -q .; then
    echo "!! $t failed (exit $rc): see $log and $crashes/"
    grep -E "ERROR|fuzz check failed|runtime error|SUMMARY" "$log" | head -5
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "crashes in: ${failed[*]}"
  exit 1
fi
echo "no crashes"
