#!/usr/bin/env bash
# Times the search match core against GNU grep -F on the same generated 100 MB Shift-JIS text,
# in the same run, for words that are not there, and prints the ratios.
# Usage: bench/search_vs_grep.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bin/search_bench" ] && [ -x "$build/bin/bench_write_text" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target search_bench bench_write_text
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f="$work/sjis.txt"
"$build/bin/bench_write_text" sjis 100 "$f"
cat "$f" >/dev/null  # warm the page cache
mb=$(awk -v s="$(stat -c %s "$f")" 'BEGIN{printf "%.1f", s/1048576}')

source bench/timing.sh

jp=$(printf '\x91\xb6\x8d\xdd\x82\xb5\x82\xc8\x82\xa2')  # the benchmark's absent Japanese word
printf '%s\n' "$jp" >"$work/jp.pat"
printf 'Tessary\n' >"$work/ascii.pat"
grep_jp=$(best LC_ALL=C grep -F -c -f "$work/jp.pat" "$f")
grep_jp_i=$(best LC_ALL=C grep -F -i -c -f "$work/jp.pat" "$f")
grep_ascii_i=$(best LC_ALL=C grep -F -i -c -f "$work/ascii.pat" "$f")

# Our figures: bytes per second of each benchmark (CSV column 6).
"$build/bin/search_bench" --benchmark_format=csv --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep '_median' >"$work/ours.csv"
ours() { awk -F, -v n="\"$1_median\"" '$1==n{printf "%.0f", $6/1048576}' "$work/ours.csv"; }

row() {  # name, our MB/s, grep seconds, grep's flags
  local g
  g=$(awk -v s="$3" -v m="$mb" 'BEGIN{printf "%.0f", m/s}')
  awk -v n="$1" -v o="$2" -v g="$g" -v f="$4" \
    'BEGIN{printf "%-34s ours %6d MB/s   grep -F%-3s %6d MB/s   ratio %.2f\n", n, o, f, g, o/g}'
}
echo "$mb MB of Shift-JIS text, absent words, forward:"
row "Japanese, match case" "$(ours BM_FindJapaneseMatchCase)" "$grep_jp" ""
row "Japanese, default options" "$(ours BM_FindJapaneseDefault)" "$grep_jp_i" " -i"
row "ASCII, default options" "$(ours BM_FindAsciiDefault)" "$grep_ascii_i" " -i"
row "Japanese, options 8|0x80|0x100" "$(ours BM_FindJapaneseWidthBreaksBlanks)" "$grep_jp_i" " -i"
row "ASCII, options 8|0x80|0x100" "$(ours BM_FindAsciiWidthBreaksBlanks)" "$grep_ascii_i" " -i"
row "Document Search, default options" "$(ours BM_SearchDocumentDefault)" "$grep_jp_i" " -i"
row "Document Search, 8|0x80|0x100" "$(ours BM_SearchDocumentWidthBreaksBlanks)" "$grep_jp_i" " -i"
awk -F, '$1=="\"BM_VisibleStatesAfterJumpToEnd_median\""{printf "States of the 50 rows shown after a jump to the end (%s): %.3f ms\n", $8, $3/1000}' \
  "$work/ours.csv"
echo "(ours: in-memory CPU time; grep: wall clock including reading the cached file)"
