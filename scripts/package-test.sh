#!/usr/bin/env bash
# Builds the Debian package with CPack, installs it with apt-get, checks the installed desktop
# program (files in place, programs run, a new user's settings in the user's folder), then
# purges it and checks that none of its files is left. Needs root (or sudo): it changes /usr.
# Usage: scripts/package-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/install-deps.sh --package
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
if dpkg-query -W -f='${Status}' tessary 2>/dev/null | grep -q 'install ok installed'; then
  echo "package-test: a tessary package is installed already; remove it first" >&2
  exit 1
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target tessary tessary-cli tessary_csvlist_utf tessary_manual_file
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls -t "$build"/tessary_*.deb | head -1)
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

work=$(mktemp -d)
removed=0
cleanup() {
  [ "$removed" = 1 ] || "${sudo[@]}" apt-get purge -y -qq tessary >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else
    echo "FAILED: $what"
    fail=1
  fi
}

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -qq "./$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
dpkg-query -L tessary | while read -r f; do [ -d "$f" ] || echo "$f"; done >"$work/files"
cat "$work/files"
for f in /usr/bin/tessary /usr/bin/tessary-cli /usr/share/tessary/Tessary.txt \
  /usr/share/tessary/tessary.ini /usr/share/applications/tessary.desktop \
  /usr/share/icons/hicolor/scalable/apps/tessary.svg; do
  check "$f" test -f "$f"
done
check "the CSV library in the program's library folder" \
  sh -c "grep -q '/usr/lib/.*tessary/CsvListUtf.so$' '$work/files'"
check "desktop entry valid" desktop-file-validate /usr/share/applications/tessary.desktop
check "offered for text files" sh -c \
  "grep -q 'text/plain=.*tessary.desktop' /usr/share/applications/mimeinfo.cache"
check "tessary-cli runs" sh -c \
  "tessary-cli detect data/samples/sjis_crlf.txt | grep -q '^1	0	0	0	'"
mkdir -p "$work/user"
env -u TESSARY_HOME HOME="$work/user" XDG_CONFIG_HOME="$work/user/config" \
  QT_QPA_PLATFORM=offscreen TESSARY_BENCH_FIRST_PAINT=1 \
  timeout 60 tessary data/samples/sjis_crlf.txt >"$work/run.log" 2>&1 || true
check "installed window painted" grep -q '^first-paint-ms' "$work/run.log"
check "settings in the user's folder" test -f "$work/user/config/tessary/tessary.ini"
check "no settings beside the installed program" \
  sh -c "! ls /usr/bin/tessary.ini /usr/bin/Tessary-*.txt 2>/dev/null | grep -q ."

"${sudo[@]}" apt-get purge -y -qq tessary >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; exit 1; }
removed=1
left=$(while read -r f; do [ -e "$f" ] && echo "$f"; done <"$work/files" || true)
check "purged cleanly" test -z "$left"
[ -z "$left" ] || echo "$left"
check "no package state left" sh -c "! dpkg-query -W tessary >/dev/null 2>&1 || \
  ! dpkg-query -W -f='\${Status}' tessary | grep -q installed"
[ "$fail" = 0 ] && echo "Debian package: installed, ran and purged cleanly"
exit "$fail"
