#!/usr/bin/env bash
# Times the board log index (every line holding both 投稿者 and 投稿日, with its number) against
# GNU grep finding the same lines in the same generated log of 100,000 posts, in the same run,
# and prints the ratio; then the viewers' window figures.
# Usage: bench/ostr_index_vs_grep.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bin/ostr_viewers_bench" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target ostr_viewers_bench
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f="$work/board.txt"
"$build/bin/ostr_viewers_bench" --write-board "$f"
cat "$f" >/dev/null  # warm the page cache

source bench/timing.sh

poster=$(printf '\x93\x8a\x8d\x65\x8e\xd2')  # 投稿者 in Shift-JIS
posted=$(printf '\x93\x8a\x8d\x65\x93\xfa')  # 投稿日
grep_s=$(best "LC_ALL=C grep -n -F '$poster' '$f' | LC_ALL=C grep -c -F '$posted'")

# Console rows (the CSV form wants the same counters in every benchmark): name, wall time in ms.
"$build/bin/ostr_viewers_bench" --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep '_median' >"$work/ours.txt"
ours_ms() { awk -v n="$1_median" '$1==n{printf "%.1f", $2}' "$work/ours.txt"; }
index_ms=$(ours_ms BM_BoardIndexBuild)
lines=$(wc -l <"$f")
echo "board log: $lines lines, $(stat -c %s "$f") bytes, 100,000 posts"
awk -v o="$index_ms" -v g="$grep_s" \
  'BEGIN{printf "index built        ours %7.1f ms   grep -n | grep -c %7.1f ms   ratio %.2f\n", o, g*1000, o/(g*1000)}'
for b in BM_DocumentLinesCopied BM_BoardStoredIndexReused BM_BoardWindowShown/0/iterations:3 \
         BM_BoardWindowShown/1/iterations:3 BM_BoardThreadSelected \
         BM_HistoryWindowShown/100000/iterations:3; do
  printf '%-45s %8s ms\n' "$b" "$(ours_ms "$b")"
done
