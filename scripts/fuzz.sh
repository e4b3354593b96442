#!/bin/sh
# Builds the fuzzers with clang and runs each for the given seconds (default 15), starting
# from the checked-in seed corpora. Long run: ./scripts/fuzz.sh 3600
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-15}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ is missing: fuzzers not run"; exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVI_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$(nproc 2>/dev/null || echo 2)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for target in fuzz_ini fuzz_state fuzz_settings fuzz_coupons fuzz_hall_requests fuzz_game_log fuzz_programme_file; do
  mkdir -p "$WORK/$target"
  cp tests/fuzz/corpus/$target/* "$WORK/$target/" 2>/dev/null || true
  echo "== $target for ${SECONDS_EACH}s"
  ./build/fuzz/tests/fuzz/$target -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
      -artifact_prefix="$WORK/$target-" "$WORK/$target" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" || true
  if ls "$WORK/$target-"* >/dev/null 2>&1; then
    echo "$target found a failing input:"; ls "$WORK/$target-"*
    mkdir -p build/fuzz-artifacts && cp "$WORK/$target-"* build/fuzz-artifacts/
    exit 1
  fi
done
