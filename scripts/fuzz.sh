#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang, ASan, UBSan) and runs each of them.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   long run (default 300 s each), corpus kept in build-fuzz
#   scripts/fuzz.sh --check                 bounded runs from the seed corpus, fixed seed (test.sh)
# Crashes are saved in build-fuzz/crashes/. The repository's fuzz/corpus/ is only read.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=long
seconds=300
case "${1:-}" in
  --check) mode=check ;;
  '') ;;
  *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET | --check]" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac

# Runs per target for --check: about a minute for all of them on two cores.
declare -A check_runs=(
  [fuzz_detect]=180000 [fuzz_load]=90000 [fuzz_save]=4500 [fuzz_round_trip]=18000
  [fuzz_split]=90000 [fuzz_wrap]=35000 [fuzz_parser]=9000 [fuzz_search]=18000
)
targets=(fuzz_detect fuzz_load fuzz_save fuzz_round_trip fuzz_split fuzz_wrap fuzz_parser fuzz_search)

scripts/install-deps.sh --fuzz
build=build-fuzz
mkdir -p "$build"
if ! { CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTESSARY_FUZZ=ON && cmake --build "$build" --target fuzz -j2; } >"$build/build.log" 2>&1; then
  tail -n 40 "$build/build.log" >&2
  echo "fuzz: the targets did not build (see $build/build.log)" >&2
  exit 1
fi

crashes="$build/crashes"
mkdir -p "$crashes" "$build/logs"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# run_target NAME: fuzzes one target from its seed corpus; prints one line; fails on a crash.
run_target() {
  local name=$1 seeds="fuzz/corpus/${1#fuzz_}" log="$build/logs/$1.log"
  local corpus limit
  if [ "$mode" = check ]; then
    corpus="$build/check-corpus/$name"
    rm -rf "$corpus"
    limit=(-runs="${check_runs[$name]}" -seed=1)
  else
    corpus="$build/corpus/$name"
    limit=(-max_total_time="$seconds")
  fi
  mkdir -p "$corpus"
  local start=$SECONDS status=0
  "$build/bin/$name" "$corpus" "$seeds" "${limit[@]}" -max_len="${FUZZ_MAX_LEN:-4096}" \
    -timeout=30 -print_final_stats=1 -artifact_prefix="$crashes/$name-" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$status" -ne 0 ]; then
    local input
    input=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
    echo "$name: FAILED after $((SECONDS - start)) s (input ${input:-in $crashes/}, log $log)"
    grep -m 1 -E 'broken rule|ERROR: (AddressSanitizer|libFuzzer)|runtime error' "$log" |
      sed 's/^/  /' || true
    return 1
  fi
  echo "$name: ok, ${runs:-?} runs in $((SECONDS - start)) s"
}

passed=0
failed=0
for name in "${targets[@]}"; do
  if run_target "$name"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
