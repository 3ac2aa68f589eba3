#!/usr/bin/env bash
# Start-up to the first painted window: a small Shift-JIS file and a generated 100 MB one,
# for tessary, vim (in a pseudo terminal) and featherpad (a Qt editor from Debian), in one run.
# usage: bench/window_vs_peers.sh [BUILD_DIR]   (default: build; needs an X display or Xvfb)
#
# tessary: TESSARY_BENCH_FIRST_PAINT makes it print the milliseconds from main() to the end
#   of the editor's first paint (for a long file, the start of the file shown while the rest
#   loads) and to the end of the first paint of the loaded document, then quit; the wall time
#   of the whole process is shown too.
# vim: the wall time of `vim -u NONE -c q` in a pseudo terminal: it reads the file, draws the
#   first screen, then quits.
# featherpad: the time until its window with the file's name is visible (polled every 10 ms),
#   which is when it shows the text; it is then closed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin
for tool in tessary; do
  [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build first" >&2; exit 2; }
done

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "no DISPLAY and no Xvfb (apt-get install -y xvfb)" >&2; exit 2; }
  Xvfb :97 -screen 0 1280x1024x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:97
  sleep 1
fi

work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
small=$work/small.txt
cp data/samples/sjis_crlf.txt "$small"
# The sample doubled 18 times: 97 MB of ordinary Japanese prose in 2.9 million lines, which
# every peer opens (featherpad gives up on the generated benchmark text).
big=$work/big-100mb.txt
cp "$small" "$big"
for _ in $(seq 18); do cat "$big" "$big" >"$work/double" && mv "$work/double" "$big"; done
cat "$small" "$big" >/dev/null  # every program starts from the page cache
runs=${RUNS:-5}
export TESSARY_HOME=$work/home
mkdir -p "$TESSARY_HOME"

now_ms() { date +%s%3N; }

# median of the numbers on standard input
median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }

tessary_first_paint() {  # file -> "first-paint-ms loaded-paint-ms wall-ms"
  local start end inproc
  start=$(now_ms)
  inproc=$(TESSARY_BENCH_FIRST_PAINT=1 "$bin/tessary" "$1" 2>&1 |
    awk '/^first-paint-ms/{f=$2} /^loaded-paint-ms/{l=$2} END{print f, l}')
  end=$(now_ms)
  echo "$inproc $((end - start))"
}

vim_first_screen() {  # file -> wall ms
  local start end
  start=$(now_ms)
  script -qec "vim -u NONE -i NONE -N --cmd 'set fileencodings=cp932' -c 'qa!' '$1'" /dev/null \
    >/dev/null 2>&1 </dev/null
  end=$(now_ms)
  echo $((end - start))
}

featherpad_first_window() {  # file -> ms until its window shows (or "-" after 60 s)
  command -v featherpad >/dev/null || { echo "-"; return; }
  command -v xdotool >/dev/null || { echo "-"; return; }
  local start end pid name
  name=$(basename "$1")
  start=$(now_ms)
  featherpad --standalone "$1" >/dev/null 2>&1 &
  pid=$!
  while ! xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; do
    sleep 0.01
    if [ $(($(now_ms) - start)) -gt 60000 ]; then break; fi
  done
  end=$(now_ms)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ $((end - start)) -gt 60000 ]; then echo "-"; else echo $((end - start)); fi
}

report() {  # label file
  local label=$1 file=$2 t_in t_loaded t_wall v f
  : >"$work/t_in"; : >"$work/t_loaded"; : >"$work/t_wall"; : >"$work/v"; : >"$work/f"
  for _ in $(seq "$runs"); do
    read -r a l b < <(tessary_first_paint "$file")
    echo "$a" >>"$work/t_in"; echo "$l" >>"$work/t_loaded"; echo "$b" >>"$work/t_wall"
    vim_first_screen "$file" >>"$work/v"
    featherpad_first_window "$file" >>"$work/f"
  done
  t_in=$(median <"$work/t_in"); t_loaded=$(median <"$work/t_loaded")
  t_wall=$(median <"$work/t_wall")
  v=$(median <"$work/v"); f=$(grep -v -- - "$work/f" | median || true)
  [ -n "$f" ] || f="-"
  printf '%-16s tessary %6s ms, loaded %6s ms (process %6s ms)   vim %6s ms   featherpad %6s ms\n' \
    "$label" "$t_in" "$t_loaded" "$t_wall" "$v" "$f"
  awk -v t="$t_wall" -v v="$v" -v f="$f" 'BEGIN{
    printf "%-16s ratios (process wall): tessary/vim %.2f", "", t/v;
    if (f != "-") printf "   tessary/featherpad %.2f", t/f; printf "\n" }'
}

echo "median of $runs runs; first painted screen"
report "small ($(stat -c %s "$small") B)" "$small"
report "$(($(stat -c %s "$big") / 1048576)) MB Shift-JIS" "$big"
