#!/usr/bin/env bash
# Loads one generated 100 MB Shift-JIS text (CR LF) into the document and into vim, in the same
# run, and prints both times and peak memories with their ratios; then the document benchmarks.
# usage: bench/document_vs_vim.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin
for tool in document_bench bench_write_text; do
  [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build the benchmarks first" >&2; exit 2; }
done
command -v vim >/dev/null || { echo "vim is not installed (apt-get install -y vim-nox)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/sjis-100mb.txt
"$bin/bench_write_text" sjis 100 "$file"
cat "$file" >/dev/null  # both readers start from the page cache
bytes=$(stat -c %s "$file")
runs=3

# best wall time (s) and largest peak RSS (KB) of `runs` runs of a command
measure() {
  local best="" peak=0 out t m
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f "%e %M" "$@" >/dev/null 2>&1
    out=$(tail -1 "$work/time")
    t=${out% *}
    m=${out#* }
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $peak"
}

read -r ours_t ours_m < <(measure "$bin/document_bench" --load-only "$file")
inproc=$("$bin/document_bench" --load-only "$file")
read -r vim_t vim_m < <(measure vim -u NONE -i NONE -N -es --cmd 'set fileencodings=cp932' -c 'q!' "$file")

echo "file: $bytes bytes, $(echo "$inproc" | awk '{print $2}') lines"
echo "LoadFromFile in process: $inproc"
printf '%-28s %10s %12s\n' "" "seconds" "peak MB"
printf '%-28s %10s %12.1f\n' "tessary document (process)" "$ours_t" "$(awk "BEGIN{print $ours_m/1024}")"
printf '%-28s %10s %12.1f\n' "vim -es (process)" "$vim_t" "$(awk "BEGIN{print $vim_m/1024}")"
awk "BEGIN{printf \"ratio vim/tessary: time %.2fx, memory %.2fx; tessary peak / file size: %.2f\n\", \
  $vim_t/($ours_t>0?$ours_t:0.001), $vim_m/$ours_m, $ours_m*1024/$bytes}"

echo
TESSARY_DOC_BENCH_FILE=$file "$bin/document_bench" --benchmark_counters_tabular=true
