#!/usr/bin/env bash
# Times the binary viewer on a generated 1 GB file (random bytes) and on a sparse 1 GB file:
# the first screen, the memory it takes, the jumps, and a search for an absent pattern, with
# GNU grep -c -F -a timed on the same file in the same run; prints the search ratio.
# Usage: bench/binary_vs_grep.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bin/binary_bench" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target binary_bench
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/timing.sh
pattern='Tessary-absent-pattern'

run() {  # file, description
  local f=$1 out grep_s first_s again_s
  cat "$f" >/dev/null  # warm the page cache for both
  out=$(TESSARY_HOME="$work" "$build/bin/binary_bench" "$f" "$pattern" 2>/dev/null)
  grep_s=$(best LC_ALL=C grep -c -F -a "$pattern" "$f")
  first_s=$(awk '$1=="search_first_seconds"{print $2}' <<<"$out")
  again_s=$(awk '$1=="search_again_seconds"{print $2}' <<<"$out")
  echo "$2:"
  sed 's/^/  /' <<<"$out"
  awk -v g="$grep_s" -v a="$first_s" -v b="$again_s" -v s="$(stat -c %s "$f")" \
    'BEGIN{printf "  grep -c -F -a %.3f s (%.2f GB/s, best of 3); speed ratio ours/grep: first %.2f, again %.2f\n", g, s/g/1e9, g/a, g/b}'
}

head -c 1073741824 /dev/urandom >"$work/random.bin"
run "$work/random.bin" "1 GiB of random bytes"
rm -f "$work/random.bin"
truncate -s 1073741824 "$work/sparse.bin"
printf 'end' | dd of="$work/sparse.bin" bs=1 seek=1073741821 conv=notrunc status=none
run "$work/sparse.bin" "1 GiB sparse file (zeros)"
echo "(1 KiB file for comparison)"
head -c 1024 /dev/urandom >"$work/small.bin"
TESSARY_HOME="$work" "$build/bin/binary_bench" "$work/small.bin" "$pattern" 2>/dev/null | grep first_screen
