#!/usr/bin/env bash
# Times the load and save pipelines against iconv on the same files in the same run, prints
# the ratios: in-process throughput (codec_bench on the files) and tessary-cli convert as a
# whole process (wall time and peak memory).
# Usage: bench/codec_vs_iconv.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bin/tessary-cli" ] && [ -x "$build/bin/codec_bench" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target tessary-cli codec_bench
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 137 MB of UTF-8 and 100 MB of Shift-JIS Japanese text (fixed seed), plus the Shift-JIS text
# as UTF-16 LE and BE without mark; every character has one code page 932 form, so iconv and
# tessary must produce identical bytes.
"$build/bin/codec_bench" --write "$work" 137 100
cat "$work"/*.txt >/dev/null  # warm the page cache for every contender alike

source bench/timing.sh

# Best of three CPU seconds (user + system) of a shell command: on a shared machine the CPU
# time is steadier than the wall clock, and the benchmark reports CPU time too.
best_cpu() {
  local best_t=999999 t
  for _ in 1 2 3; do
    /usr/bin/time -f "%U %S" -o "$work/cpu" bash -c "$1" >/dev/null 2>&1 || true
    t=$(awk '{print $1 + $2}' "$work/cpu")
    best_t=$(awk -v a="$best_t" -v b="$t" 'BEGIN{print (b<a)?b:a}')
  done
  echo "$best_t"
}

# Per-iteration seconds of a codec_bench benchmark over the files: "real CPU". The warm-up
# keeps the first touch of a fresh process's large buffers (page clearing) out of the figure.
bench_s() {
  TESSARY_BENCH_DIR="$work" "$build/bin/codec_bench" --benchmark_filter="^$1\$" \
    --benchmark_min_time=1 --benchmark_min_warmup_time=0.5 --benchmark_format=csv 2>/dev/null |
    awk -F, -v n="\"$1\"" '$1==n {print $3/1000, $4/1000}'  # milliseconds -> seconds
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }

echo "                               wall clock               CPU time"
echo "direction                      iconv   tessary ratio    iconv   tessary ratio  (target)"
row() {  # name iconv_cmd bench_name target
  local i ic t tc
  i=$(best "$2")
  ic=$(best_cpu "$2")
  read -r t tc <<<"$(bench_s "$3")"
  printf "%-30s %6.3fs %6.3fs %5sx  %6.3fs %6.3fs %5sx  (%s)\n" "$1" "$i" "$t" "$(ratio "$i" "$t")" \
    "$ic" "$tc" "$(ratio "$ic" "$tc")" "$4"
}
row "load UTF-8 137 MB -> lines" "iconv -f UTF-8 -t CP932 $work/utf8.txt" BM_LoadUtf8Document ">= 4x"
row "load UTF-16LE -> lines" "iconv -f UTF-16LE -t CP932 $work/utf16le.txt" BM_LoadUtf16ToLines/0 ">= 2x"
row "load UTF-16BE -> lines" "iconv -f UTF-16BE -t CP932 $work/utf16be.txt" BM_LoadUtf16ToLines/1 ">= 2x"
row "save 100 MB as UTF-8" "iconv -f CP932 -t UTF-8 $work/sjis.txt" BM_SaveAs/3 ">= 4x"
row "save 100 MB as UTF-16LE" "iconv -f CP932 -t UTF-16LE $work/sjis.txt" BM_SaveAs/7 ">= 2x"
row "save 100 MB as UTF-16BE" "iconv -f CP932 -t UTF-16BE $work/sjis.txt" BM_SaveAs/5 ">= 2x"

# Whole process: the output must equal iconv's, byte for byte.
iconv -f UTF-8 -t CP932 "$work/utf8.txt" >"$work/iconv.sjis"
"$build/bin/tessary-cli" convert --to sjis "$work/utf8.txt" "$work/ours.sjis"
cmp "$work/iconv.sjis" "$work/ours.sjis" && echo "tessary-cli convert output equals iconv's"
i=$(best "iconv -f UTF-8 -t CP932 $work/utf8.txt > $work/iconv.sjis")
t=$(best "$build/bin/tessary-cli convert --to sjis $work/utf8.txt $work/ours.sjis")
peak=$( { /usr/bin/time -f %M "$build/bin/tessary-cli" convert --to sjis "$work/utf8.txt" \
  "$work/ours.sjis"; } 2>&1 | tail -1)
size_kb=$(( $(stat -c %s "$work/utf8.txt") / 1024 ))
printf "tessary-cli convert UTF-8 -> Shift-JIS: %.3fs (target <= 0.4s), iconv %.3fs, ratio %sx\n" \
  "$t" "$i" "$(ratio "$i" "$t")"
printf "  peak memory %d KB = %.2f x the file (target <= 3)\n" "$peak" \
  "$(awk -v p="$peak" -v s="$size_kb" 'BEGIN{print p/s}')"
