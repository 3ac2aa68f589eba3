#!/usr/bin/env bash
# Find and replace against peers on the same generated 100 MB Shift-JIS Japanese text, in the
# same run: replace all of "editor" (one ASCII word in 8, over 500,000 hits, match case) by
# tessary-cli replace (whole process), by the editor's command in process (with its undo, redo
# and peak memory), by vim -es and by sed; tessary-cli find of absent words (whole process)
# against grep -F -c; F3 on a million wrapped rows. Prints our figures, the peers', the ratios
# and whether each target is met.
# usage: bench/find_replace_vs_peers.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin
for tool in tessary-cli find_replace_bench bench_write_text; do
  [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build the benchmarks first" >&2; exit 2; }
done
command -v vim >/dev/null || { echo "vim is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/sjis-100mb-editor.txt
"$bin/bench_write_text" sjis 100 "$file" --word editor 8
cat "$file" >/dev/null  # every program starts from the page cache
bytes=$(stat -c %s "$file")
mb=$(awk -v b="$bytes" 'BEGIN{printf "%.1f", b/1048576}')
hits=$(LC_ALL=C grep -o -F editor "$file" | wc -l)
runs=3

# Best wall seconds, best CPU seconds (user + system) and largest peak RSS (KB) of `runs` runs of
# a command: "WALL CPU KB". On a loaded machine the wall clock counts the waits for a core too;
# the ratios below are of CPU seconds, the wall clock is printed beside them.
measure() {
  local best="" bcpu="" peak=0 w u s m c
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f "%e %U %S %M" "$@" >/dev/null 2>&1 || true
    read -r w u s m < <(tail -1 "$work/time")
    c=$(awk -v u="$u" -v s="$s" 'BEGIN{printf "%.2f", u+s}')
    if [ -z "$best" ] || awk "BEGIN{exit !($w < $best)}"; then best=$w; fi
    if [ -z "$bcpu" ] || awk "BEGIN{exit !($c < $bcpu)}"; then bcpu=$c; fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $bcpu $peak"
}
vimx() {  # vim in ex mode working on the Shift-JIS bytes as they are (with a UTF-8 'encoding'
  # its cp932 conversion writes the Japanese text back as "?"; as cp932 it writes our output)
  vim -u NONE -i NONE -N -es --cmd 'set encoding=cp932 fileencodings=' "$@" "$file"
}
export -f vimx
export file
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", (b>0)?a/b:0}'; }
verdict() { if [ "$1" = 1 ]; then echo met; else echo MISSED; fi; }
sub() { awk -v a="$1" -v b="$2" 'BEGIN{v=a-b; if (v<0) v=0; printf "%.3f", v}'; }

echo "file: $bytes bytes ($mb MB) of Shift-JIS text, CR LF, $(wc -l <"$file") lines," \
  "$hits times \"editor\""
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# ---- replace all ----
out=$work/out.txt
read -r cli_w cli_t cli_m < <(measure "$bin/tessary-cli" replace --case editor EDITOR "$file" "$out")
cli_count=$("$bin/tessary-cli" replace --case editor EDITOR "$file" "$out")
read -r load_w load_t load_m < <(measure "$bin/tessary-cli" count "$file")
"$bin/find_replace_bench" --replace-once "$file" editor EDITOR >"$work/once.txt"
for _ in 2 3; do  # best of three in-process runs, step by step
  "$bin/find_replace_bench" --replace-once "$file" editor EDITOR >"$work/again.txt"
  awk 'NR==FNR{a[$1]=$2; next} {k=$1; v=$2; if (k ~ /_s$/ && a[k] < v) v=a[k]; if (k ~ /^peak/ && a[k] > v) v=a[k]; print k, v}' \
    "$work/again.txt" "$work/once.txt" >"$work/best.txt"
  mv "$work/best.txt" "$work/once.txt"
done
once() { awk -v k="$1" '$1==k{print $2}' "$work/once.txt"; }
# CPU seconds of a step (the wall clock beside it in the table)
cpu() { once "$1_cpu_s"; }
read -r vim_load_w vim_load_t vim_load_m < <(measure bash -c 'vimx -c "q!"')
read -r vim_w vim_t vim_m < <(measure bash -c "vimx -c '%s/editor/EDITOR/g' -c 'w! $work/vim-out.txt' -c 'q!'")
read -r _ vim_sub_t _ < <(measure bash -c "vimx -c '%s/editor/EDITOR/g' -c 'q!'")
read -r _ vim_undo_t _ < <(measure bash -c "vimx -c '%s/editor/EDITOR/g' -c 'undo' -c 'q!'")
read -r _ vim_redo_t _ < <(measure bash -c "vimx -c '%s/editor/EDITOR/g' -c 'undo' -c 'redo' -c 'q!'")
read -r sed_w sed_t sed_m < <(measure bash -c "LC_ALL=C sed 's/editor/EDITOR/g' '$file' >'$work/sed-out.txt'")
cmp -s "$out" "$work/vim-out.txt" && same=yes || same=no
cmp -s "$out" "$work/sed-out.txt" && same_sed=yes || same_sed=no

echo "Replace all \"editor\" -> \"EDITOR\" (match case), $cli_count replaced:"
echo "  (CPU seconds = user + system, best of $runs; wall clock in brackets)"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "tessary-cli replace --case (whole process)" "$cli_t" "$cli_w" \
  "$(awk -v k="$cli_m" 'BEGIN{print k/1024}')"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "  its load alone (tessary-cli count)" "$load_t" "$load_w" \
  "$(awk -v k="$load_m" 'BEGIN{print k/1024}')"
printf '  %-44s %9s s (%6s)\n' "ReplaceAll on the control (in process)" "$(cpu replace)" "$(once replace_s)"
printf '  %-44s %9s s (%6s)\n' "  its undo" "$(cpu undo)" "$(once undo_s)"
printf '  %-44s %9s s (%6s)\n' "  its redo" "$(cpu redo)" "$(once redo_s)"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "  loading the file into the control" "$(cpu load)" "$(once load_s)" \
  "$(awk -v k="$(once peak_kb_load)" 'BEGIN{print k/1024}')"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "vim -es %s/editor/EDITOR/g, w, q (process)" "$vim_t" "$vim_w" \
  "$(awk -v k="$vim_m" 'BEGIN{print k/1024}')"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "  vim load alone" "$vim_load_t" "$vim_load_w" \
  "$(awk -v k="$vim_load_m" 'BEGIN{print k/1024}')"
printf '  %-44s %9s s\n' "  vim :s alone (without load and write)" "$(sub "$vim_sub_t" "$vim_load_t")"
printf '  %-44s %9s s\n' "  vim undo" "$(sub "$vim_undo_t" "$vim_sub_t")"
printf '  %-44s %9s s\n' "  vim redo" "$(sub "$vim_redo_t" "$vim_undo_t")"
printf '  %-44s %9s s (%6s) %9.1f MB peak\n' "LC_ALL=C sed s/editor/EDITOR/g (process)" "$sed_t" "$sed_w" \
  "$(awk -v k="$sed_m" 'BEGIN{print k/1024}')"
echo "  output identical to vim's: $same, to sed's: $same_sed"
peak=$(once peak_kb_redo)
r_proc=$(ratio "$vim_t" "$cli_t")
r_cmd=$(ratio "$(sub "$vim_sub_t" "$vim_load_t")" "$(cpu replace)")
echo "  ratio vim/tessary, whole process:               $r_proc  (target >= 4: $(verdict "$(awk -v r="$r_proc" 'BEGIN{print (r>=4)}')"))"
echo "  ratio vim :s / ReplaceAll in process:           $r_cmd  (target >= 4: $(verdict "$(awk -v r="$r_cmd" 'BEGIN{print (r>=4)}')"))"
echo "  ratio sed/tessary, whole process:               $(ratio "$sed_t" "$cli_t")"
echo "  undo $(cpu undo) s, redo $(cpu redo) s CPU  (target <= 0.3 s each: $(verdict "$(awk -v u="$(cpu undo)" -v r="$(cpu redo)" 'BEGIN{print (u<=0.3 && r<=0.3)}')"))"
pr=$(awk -v k="$peak" -v b="$bytes" 'BEGIN{printf "%.2f", k*1024/b}')
pc=$(awk -v k="$cli_m" -v b="$bytes" 'BEGIN{printf "%.2f", k*1024/b}')
echo "  peak memory / file size: in process after load, replace, undo, redo $pr;" \
  "tessary-cli replace $pc  (target <= 3: $(verdict "$(awk -v a="$pr" -v b="$pc" 'BEGIN{print (a<=3 && b<=3)}')"))"
echo

# ---- find an absent word ----
jp=存在しない
find_row() {  # name, grep flags, our flags...
  local name=$1 gflags=$2 t g mbs gmbs
  shift 2
  read -r tw t _ < <(measure "$bin/tessary-cli" find --count "$@" "$file")
  read -r gw g _ < <(measure bash -c "LC_ALL=C grep -F -c $gflags -f '$work/pat' '$file'")
  mbs=$(awk -v m="$mb" -v t="$t" 'BEGIN{printf "%.0f", m/(t>0?t:0.01)}')
  gmbs=$(awk -v m="$mb" -v t="$g" 'BEGIN{printf "%.0f", m/(t>0?t:0.01)}')
  printf '  %-34s ours %5s s (%5s) %5s MB/s   grep -F%-3s %5s s (%5s) %5s MB/s   grep/ours %s\n' \
    "$name" "$t" "$tw" "$mbs" "$gflags" "$g" "$gw" "$gmbs" "$(ratio "$g" "$t")"
  echo "$mbs" >"$work/last-mbs"
}
echo "tessary-cli find --count of an absent word (whole process: load + search):"
printf '%s\n' "$jp" | iconv -f UTF-8 -t CP932 >"$work/pat"
find_row "Japanese word, default options" "-i" "$jp"
d_mbs=$(cat "$work/last-mbs")
find_row "Japanese word, --width --breaks" "-i" --width --breaks "$jp"
w_mbs=$(cat "$work/last-mbs")
printf 'Tessary\n' >"$work/pat"
find_row "ASCII word, default options" "-i" Tessary
find_row "ASCII word, --case" "" --case Tessary
echo "  load alone (tessary-cli count): $load_t s"
echo "  targets: default >= 1024 MB/s: $(verdict "$(awk -v v="$d_mbs" 'BEGIN{print (v>=1024)}')")," \
  "--width --breaks >= 300 MB/s: $(verdict "$(awk -v v="$w_mbs" 'BEGIN{print (v>=300)}')")"
echo

# ---- in-process figures: the find loop over every hit and F3 ----
"$bin/find_replace_bench" --benchmark_format=csv --benchmark_filter='F3' \
  2>/dev/null >"$work/bench.csv"
TESSARY_FIND_BENCH_FILE=$file "$bin/find_replace_bench" --benchmark_format=csv \
  --benchmark_filter='FindEveryHit' 2>/dev/null >"$work/hits.csv"
col() {  # csv, benchmark name, header name
  awk -F, -v n="\"$2\"" -v h="$3" \
    'NR==1{for(i=1;i<=NF;i++) {f=$i; gsub(/"/, "", f); if (f==h) c=i}} $1==n{print $c}' "$1"
}
echo "Every \"editor\" of the file found in process (match case), CPU time:"
for arg in 2 1 0; do
  case $arg in
    2) label="one pass (ForEachSearchHit, the CLI)" ;;
    1) label="Search on the control, prepared once" ;;
    0) label="Search on the control, word each time" ;;
  esac
  name="BM_FindEveryHit/$arg/iterations:2"
  t=$(col "$work/hits.csv" "$name" cpu_time)
  n=$(col "$work/hits.csv" "$name" hits)
  printf '  %-40s %8.1f ms for %.0f hits, %7.0f ns per hit\n' "$label" "$t" "$n" \
    "$(awk -v t="$t" -v n="$n" 'BEGIN{print (n>0)?t*1e6/n:0}')"
done
miss=$(col "$work/bench.csv" BM_F3MissWholeDocument cpu_time)
hit=$(col "$work/bench.csv" BM_F3HitNearCaret cpu_time)
miss_w=$(col "$work/bench.csv" BM_F3MissWholeDocument real_time)
hit_w=$(col "$work/bench.csv" BM_F3HitNearCaret real_time)
rows=$(col "$work/bench.csv" BM_F3MissWholeDocument rows)
echo "F3 on $(printf '%.0f' "$rows") wrapped rows (64 MB):"
echo "  (CPU time; wall clock in brackets)"
printf '  miss through the whole document %8.1f ms (%6.1f)  (target <= 150 ms: %s)\n' "$miss" "$miss_w" \
  "$(verdict "$(awk -v v="$miss" 'BEGIN{print (v<=150)}')")"
printf '  hit on the row after the caret  %8.1f us (%6.1f)  (target <= 1000 us: %s)\n' "$hit" "$hit_w" \
  "$(verdict "$(awk -v v="$hit" 'BEGIN{print (v<=1000)}')")"
echo "(processes: CPU seconds, best of $runs, wall clock in brackets; in process: CPU seconds;"
echo " vim -u NONE -es with encoding=cp932)"
