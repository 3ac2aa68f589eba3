#!/usr/bin/env bash
# Times tessary-cli detect against uchardet and nkf --guess on the same 100 MB files, same run.
# tessary examines the whole file by design; uchardet stops reading once it is confident, so
# its figure is for a prefix of the file.
# Usage: bench/detect_vs_peers.sh [BUILD_DIR]   (installs the peers when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh --all
[ -x "$build/bin/tessary-cli" ] && [ -x "$build/bin/bench_write_text" ] || {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target tessary-cli bench_write_text
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source bench/timing.sh

for form in sjis utf8; do
  f="$work/$form.txt"
  "$build/bin/bench_write_text" "$form" 100 "$f"
  cat "$f" >/dev/null  # warm the page cache for every contender alike
  ours=$(best "$build/bin/tessary-cli" detect "$f")
  uch=$(best uchardet "$f")
  nkf=$(best nkf --guess "$f")
  echo "$form 100 MB: tessary-cli detect ${ours}s, uchardet ${uch}s, nkf --guess ${nkf}s"
  awk -v o="$ours" -v u="$uch" -v n="$nkf" \
    'BEGIN{printf "  speed-up: %.1fx over uchardet, %.1fx over nkf --guess\n", u/o, n/o}'
done
