#!/usr/bin/env bash
# Times single key operations of the control on a million-row wrapped document and the same
# operations in vim (ex mode, same file, same run), and prints microseconds per key and ratios.
# usage: bench/control_vs_vim.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin
for tool in control_bench bench_write_text; do
  [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build the benchmarks first" >&2; exit 2; }
done
command -v vim >/dev/null || { echo "vim is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/sjis-64mb.txt
"$bin/bench_write_text" sjis 64 "$file"
cat "$file" >/dev/null
lines=$(wc -l <"$file")
mid=$((lines / 2))
near_end=$((lines - 10))
n=20000
fast=400000  # the cheap operations need more repetitions to stand out of the load time

# Best of three wall-clock seconds of vim running the given ex commands on the file.
vim_time() {
  local best="" t
  for _ in 1 2 3; do
    t=$( { TIMEFORMAT=%R; time vim -u NONE -i NONE -N -es --cmd 'set fileencodings=cp932' \
        "$@" -c 'q!' "$file" >/dev/null 2>&1; } 2>&1 )
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
  echo "$best"
}
load=$(vim_time)
# Microseconds per key: (time with the loop - time of the load alone) / keys.
per_key() {  # iterations, keys-per-iteration, ex commands...
  local it=$1 k=$2 t
  shift 2
  t=$(vim_time "$@")
  awk -v t="$t" -v l="$load" -v n="$it" -v k="$k" 'BEGIN{v=(t-l)*1e6/(n*k); if (v<0) v=0; printf "%.2f", v}'
}
at_mid=(-c "call cursor($mid, 6)")
vim_type=$(per_key $n 2 "${at_mid[@]}" -c "for i in range($n) | exe 'normal! ia' | exe 'normal! x' | endfor")
vim_enter=$(per_key $n 2 "${at_mid[@]}" -c "for i in range($n) | exe \"normal! i\\<CR>\" | exe 'normal! kgJ' | endfor")
vim_lr=$(per_key $fast 2 "${at_mid[@]}" -c "for i in range($fast) | exe 'normal! lh' | endfor")
vim_du=$(per_key $fast 2 "${at_mid[@]}" -c "for i in range($fast) | exe 'normal! jk' | endfor")
vim_off=$(per_key $fast 1 -c "for i in range($fast) | let x = line2byte($near_end) + 3 | endfor")

# Our figures: real time per iteration in microseconds (CSV column 3), median of three.
TESSARY_CONTROL_BENCH_FILE=$file "$bin/control_bench" --benchmark_format=csv \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null |
  grep '_median' >"$work/ours.csv"
ours() { awk -F, -v n="\"$1_median\"" -v k="$2" '$1==n{printf "%.2f", $3/k}' "$work/ours.csv"; }

row() {  # name, ours, vim
  awk -v n="$1" -v o="$2" -v v="$3" \
    'BEGIN{printf "%-34s ours %8.2f us   vim %8.2f us   vim/ours %6.2f\n", n, o, v, (o>0)?v/o:0}'
}
echo "$(stat -c %s "$file") bytes, $lines lines; ours wrapped at 80 columns (vim -es: no screen)"
row "typed character (middle)" "$(ours BM_TypeCharacter 1)" "$vim_type"
row "Enter (middle)" "$(ours BM_Enter 1)" "$vim_enter"
row "Backspace (middle)" "$(ours BM_Backspace 1)" "$vim_type"
row "Right/Left (per key)" "$(ours BM_CaretRightLeft 2)" "$vim_lr"
row "Down/Up (per key)" "$(ours BM_CaretDownUp 2)" "$vim_du"
row "byte offset near the end" "$(ours BM_SelStartNearTheEnd 1)" "$vim_off"
echo "Shift+Right extending a selection: ours $(ours BM_ShiftRightExtendsSelection 1) us;" \
  "Shift+Down: $(ours BM_ShiftDownExtendsSelection 1) us (no ex-mode equivalent in vim)"
