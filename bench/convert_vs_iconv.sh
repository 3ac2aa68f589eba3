#!/usr/bin/env bash
# tessary-cli convert against iconv as whole processes, ten runs each, taken in turns on the
# same files in the same run: median and slowest wall time, their ratios, and the spread
# (slowest / median). Then the peak memory of loading the 100 MB Shift-JIS text
# (tessary-cli count) against the file's size.
# Usage: bench/convert_vs_iconv.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-10}
[ -x "$build/bin/tessary-cli" ] && [ -x "$build/bin/codec_bench" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target tessary-cli codec_bench
}
cli=$build/bin/tessary-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 137 MB of UTF-8 and 100 MB of Shift-JIS Japanese text (fixed seed); every character has one
# code page 932 form, so both programs must write identical bytes.
"$build/bin/codec_bench" --write "$work" 137 100 >/dev/null
rm -f "$work"/utf16*.txt
cat "$work"/*.txt >/dev/null  # both programs start from the page cache

seconds() {  # wall seconds of a shell command
  local t
  t=$( { TIMEFORMAT=%R; time bash -c "$1" >/dev/null 2>&1; } 2>&1 )
  echo "$t"
}
median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
slowest() { sort -n | tail -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }

direction() {  # name, iconv from, iconv to, our --to, input
  local name=$1 from=$2 to=$3 ours=$4 in=$work/$5
  iconv -f "$from" -t "$to" "$in" >"$work/iconv.out"
  "$cli" convert --to "$ours" "$in" "$work/ours.out"
  cmp -s "$work/iconv.out" "$work/ours.out" || { echo "$name: output differs from iconv's" >&2; exit 1; }
  : >"$work/t.iconv"
  : >"$work/t.ours"
  for _ in $(seq "$runs"); do
    seconds "iconv -f $from -t $to '$in' > '$work/iconv.out'" >>"$work/t.iconv"
    seconds "'$cli' convert --to $ours '$in' '$work/ours.out'" >>"$work/t.ours"
  done
  local im io is os
  im=$(median <"$work/t.iconv")
  is=$(slowest <"$work/t.iconv")
  om=$(median <"$work/t.ours")
  os=$(slowest <"$work/t.ours")
  printf "%-24s iconv %6.3fs (slowest %6.3fs)  tessary %6.3fs (slowest %6.3fs, %sx the median)  ratio %sx\n" \
    "$name" "$im" "$is" "$om" "$os" "$(ratio "$os" "$om")" "$(ratio "$im" "$om")"
}

echo "median of $runs runs, same files, taken in turns (target: ratio >= 4x, slowest <= 1.5x the median)"
direction "UTF-8 137 MB -> SJIS" UTF-8 CP932 sjis utf8.txt
direction "SJIS 100 MB -> UTF-8" CP932 UTF-8 utf8 sjis.txt

peak=$( { /usr/bin/time -f %M "$cli" count "$work/sjis.txt" >/dev/null; } 2>&1 | tail -1)
size_kb=$(( $(stat -c %s "$work/sjis.txt") / 1024 ))
printf "tessary-cli count of 100 MB Shift-JIS: peak memory %d KB = %.2f x the file (target <= 1.5)\n" \
  "$peak" "$(awk -v p="$peak" -v s="$size_kb" 'BEGIN{print p/s}')"
