#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one; every target checks properties
# of the date and number readers, the SQL splicing helpers and the command
# line's argument reader on each input.
#   scripts/fuzz.sh                       ten minutes a target
#   scripts/fuzz.sh -max_total_time=3600  any libFuzzer options instead
# What a run learns stays in build/fuzz/corpus/TARGET (started from
# tests/fuzz/seeds/TARGET). A broken property stops the run with the property's
# name, and the input is kept as build/fuzz/TARGET-crash-...; run the target on
# that file to see it again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh clang-14 libclang-rt-14-dev

options=("$@")
[ ${#options[@]} -eq 0 ] && options=(-max_total_time=600)

scripts/build.sh build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKZ8MRP_FUZZ=ON -DKZ8MRP_BUILD_TESTS=OFF -DKZ8MRP_BUILD_BENCHMARKS=OFF

passed=0
for program in build/fuzz/tests/fuzz/fuzz_*; do
  target=$(basename "$program")
  target=${target#fuzz_}
  mkdir -p "build/fuzz/corpus/$target"
  log=build/fuzz/$target.log
  echo "== fuzzing $target ${options[*]}"
  if ! "$program" "${options[@]}" -print_final_stats=1 -artifact_prefix="build/fuzz/$target-" \
      "build/fuzz/corpus/$target" "tests/fuzz/seeds/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $passed passed, 1 failed"
    exit 1
  fi
  grep -E "^Done" "$log"
  passed=$((passed + 1))
done
echo "fuzz: $passed passed, 0 failed"
