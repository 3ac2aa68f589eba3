#!/usr/bin/env bash
# Times tessary-cli textconv --zen2han as a whole process against nkf's width conversion and
# iconv's CP932 -> UTF-8 (a plain throughput reference) on the same generated 100 MB Shift-JIS
# text in the same run, and prints the ratios (peer time / ours: above 1 is faster than the
# peer) with tessary's peak memory.
# Usage: bench/textconv_vs_nkf.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bin/tessary-cli" ] && [ -x "$build/bin/bench_write_text" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target tessary-cli bench_write_text
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f="$work/sjis.txt"
"$build/bin/bench_write_text" sjis 100 "$f"
cat "$f" >/dev/null  # warm the page cache for every contender alike
mb=$(awk -v s="$(stat -c %s "$f")" 'BEGIN{printf "%.1f", s/1048576}')

source bench/timing.sh

# Best of three CPU seconds (user + system): on a shared machine steadier than the wall clock.
best_cpu() {
  local best_t=999999 t
  for _ in 1 2 3; do
    /usr/bin/time -f "%U %S" -o "$work/cpu" bash -c "$1" >/dev/null 2>&1 || true
    t=$(awk '{print $1 + $2}' "$work/cpu")
    best_t=$(awk -v a="$best_t" -v b="$t" 'BEGIN{print (b<a)?b:a}')
  done
  echo "$best_t"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }

ours_cmd="$build/bin/tessary-cli textconv --zen2han $f $work/ours.txt"
ours_wall=$(best "$ours_cmd")
ours_cpu=$(best_cpu "$ours_cmd")
peak_kb=$( { /usr/bin/time -f %M $ours_cmd; } 2>&1 | tail -1)
size_kb=$(( $(stat -c %s "$f") / 1024 ))

echo "$mb MB of Shift-JIS text, full-width to half-width, whole processes (best of three):"
printf "%-40s wall %6.3fs  CPU %6.3fs\n" "tessary-cli textconv --zen2han" "$ours_wall" "$ours_cpu"
printf "  peak memory %d KB = %.2f x the file\n" "$peak_kb" \
  "$(awk -v p="$peak_kb" -v s="$size_kb" 'BEGIN{print p/s}')"
row() {  # name, command
  local w c
  w=$(best "$2")
  c=$(best_cpu "$2")
  printf "%-40s wall %6.3fs  CPU %6.3fs   ratio wall %5sx  CPU %5sx\n" "$1" "$w" "$c" \
    "$(ratio "$w" "$ours_wall")" "$(ratio "$c" "$ours_cpu")"
}
# nkf -Z turns full-width Latin letters and digits into ASCII (less than --zen2han, which also
# does katakana and symbols), reading and writing Shift-JIS. Every contender writes a file.
# iconv -c leaves out the benchmark's few codes that code page 932 does not assign.
row "nkf -S -s -Z" "nkf -S -s -Z -O $f $work/nkf.txt"
row "iconv -c -f CP932 -t UTF-8 (reference)" "iconv -c -f CP932 -t UTF-8 -o $work/iconv.txt $f"
echo "(ratio: the peer's time / tessary's; above 1 tessary is faster)"
