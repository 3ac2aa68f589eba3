#!/usr/bin/env bash
# tessary-cli convert against iconv as whole processes, ten runs each, taken in turns on the
# same files in the same run: median and slowest wall time, the median CPU time (user +
# system, steadier on a shared machine), the ratios to iconv, and the spread (slowest /
# median). Then the peak memory of loading the 100 MB Shift-JIS text (tessary-cli count)
# against the file's size, and the peak memory of converting the UTF-8 text.
# BEFORE=path/to/an/older/tessary-cli times that one in the same turns.
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
before=${BEFORE:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 137 MB of UTF-8 and 100 MB of Shift-JIS Japanese text (fixed seed); every character has one
# code page 932 form, so every program must write identical bytes.
"$build/bin/codec_bench" --write "$work" 137 100 >/dev/null
rm -f "$work"/utf16*.txt
cat "$work"/*.txt >/dev/null  # every program starts from the page cache

# The wall time is taken to the microsecond: time(1) gives hundredths, too coarse beside runs
# of a tenth of a second. The CPU time (user + system) stays in time(1)'s hundredths.
run() {  # label, shell command: appends "wall cpu" to $work/t.label
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f "%U %S" -o "$work/one" bash -c "$2" >/dev/null 2>&1
  t1=$(date +%s%N)
  awk -v us=$(((t1 - t0) / 1000)) '{printf "%.6f %s\n", us / 1e6, $1 + $2}' "$work/one" >>"$work/t.$1"
}
median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
col() { awk -v c="$2" '{print $c}' "$work/t.$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }

report() {  # label, name, iconv's median wall, iconv's median cpu
  local wm ws cm
  wm=$(col "$1" 1 | median)
  ws=$(col "$1" 1 | sort -n | tail -1)
  cm=$(col "$1" 2 | median)
  printf "  %-16s wall %6.3fs (slowest %6.3fs = %4sx the median)  cpu %6.3fs  iconv/this: wall %5sx cpu %5sx\n" \
    "$2" "$wm" "$ws" "$(ratio "$ws" "$wm")" "$cm" "$(ratio "$3" "$wm")" "$(ratio "$4" "$cm")"
}

direction() {  # name, iconv from, iconv to, our --to, input
  local name=$1 from=$2 to=$3 ours=$4 in=$work/$5
  iconv -f "$from" -t "$to" "$in" >"$work/iconv.out"
  "$cli" convert --to "$ours" "$in" "$work/ours.out"
  cmp -s "$work/iconv.out" "$work/ours.out" || { echo "$name: output differs from iconv's" >&2; exit 1; }
  rm -f "$work"/t.*
  for _ in $(seq "$runs"); do
    run iconv "iconv -f $from -t $to '$in' > '$work/iconv.out'"
    run ours "'$cli' convert --to $ours '$in' '$work/ours.out'"
    [ -z "$before" ] || run before "'$before' convert --to $ours '$in' '$work/ours.out'"
  done
  local im ic
  im=$(col iconv 1 | median)
  ic=$(col iconv 2 | median)
  echo "$name (median of $runs runs)"
  report iconv "iconv" "$im" "$ic"
  report ours "tessary-cli" "$im" "$ic"
  [ -z "$before" ] || report before "before" "$im" "$ic"
}

echo "target: iconv/this >= 4x; slowest <= 1.5x the median"
direction "UTF-8 137 MB -> Shift-JIS" UTF-8 CP932 sjis utf8.txt
direction "Shift-JIS 100 MB -> UTF-8" CP932 UTF-8 utf8 sjis.txt

peak() { { /usr/bin/time -f %M "$1" count "$work/sjis.txt" >/dev/null; } 2>&1 | tail -1; }
convert_peak() {
  { /usr/bin/time -f %M "$1" convert --to sjis "$work/utf8.txt" "$work/ours.out"; } 2>&1 | tail -1
}
size_kb=$(( $(stat -c %s "$work/sjis.txt") / 1024 ))
for which in "$cli" $before; do
  p=$(peak "$which")
  printf "%s count of 100 MB Shift-JIS: peak memory %d KB = %.2f x the file (target <= 1.5)\n" \
    "$which" "$p" "$(awk -v p="$p" -v s="$size_kb" 'BEGIN{print p/s}')"
done
for which in "$cli" $before; do
  printf "%s convert of 137 MB UTF-8: peak memory %d KB\n" "$which" "$(convert_peak "$which")"
done
