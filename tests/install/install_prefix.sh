#!/bin/sh
# Installs the build into a temporary prefix and checks the desktop program there: every file in
# its XDG/FHS place, the programs running from it with their settings in the user's folder (none
# beside the installed executables), and the install removed again file by file.
# Usage: install_prefix.sh BUILD_DIR WORK_FOLDER LIBDIR SAMPLE
set -u
build=$1
work=$2/install-prefix
libdir=$3
sample=$4
prefix="$work/prefix"
fail=0
check() {  # description, then the test command
  what=$1
  shift
  if "$@"; then :; else
    echo "FAILED: $what"
    fail=1
  fi
}

rm -rf "$work" && mkdir -p "$work/user"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log"
  exit 1
}
for f in bin/tessary bin/tessary-cli "$libdir/tessary/CsvListUtf.so" share/tessary/Tessary.txt \
  share/tessary/tessary.ini share/applications/tessary.desktop \
  share/icons/hicolor/scalable/apps/tessary.svg share/doc/tessary/README.md; do
  check "$f installed" test -f "$prefix/$f"
done
check "programs executable" test -x "$prefix/bin/tessary" -a -x "$prefix/bin/tessary-cli"
check "the library finds every library it needs" \
  sh -c "! ldd '$prefix/$libdir/tessary/CsvListUtf.so' | grep -q 'not found'"

desktop="$prefix/share/applications/tessary.desktop"
if command -v desktop-file-validate >/dev/null 2>&1; then
  check "desktop entry valid" desktop-file-validate "$desktop"
fi
check "opens text files" grep -q '^MimeType=text/plain;' "$desktop"
check "opens a file" grep -qx 'Exec=tessary %f' "$desktop"
check "view action" grep -qx 'Exec=tessary /r %f' "$desktop"
check "icon named" grep -qx 'Icon=tessary' "$desktop"

check "installed tessary-cli detects" sh -c \
  "'$prefix/bin/tessary-cli' detect '$sample' | grep -q '^1	0	0	0	'"

# The installed window, first start of a new user: its settings and working files go to the
# user's folder (seeded from the installed defaults), even though root may write into bin/.
env -u TESSARY_HOME HOME="$work/user" XDG_CONFIG_HOME="$work/user/config" \
  XDG_CONFIG_DIRS="$work/no-admin" QT_QPA_PLATFORM=offscreen TESSARY_BENCH_FIRST_PAINT=1 \
  timeout 60 "$prefix/bin/tessary" "$sample" >"$work/run.log" 2>&1
check "installed window painted" grep -q '^first-paint-ms' "$work/run.log"
check "settings in the user's folder" test -f "$work/user/config/tessary/tessary.ini"
check "settings seeded from the defaults" \
  grep -q '^FontName=IPAGothic' "$work/user/config/tessary/tessary.ini"
check "key map in the user's folder" test -f "$work/user/config/tessary/Tessary-KeyMap.txt"
check "nothing beside the installed programs" \
  test "$(ls "$prefix/bin" | tr '\n' ' ')" = "tessary tessary-cli "

# Removing what the manifest lists leaves no file behind.
manifest="$build/install_manifest.txt"
check "install manifest written" test -s "$manifest"
while IFS= read -r f || [ -n "$f" ]; do rm -f "$f"; done <"$manifest"
check "removed cleanly" test -z "$(find "$prefix" ! -type d)"

[ "$fail" = 0 ] && echo "install into a temporary prefix: all checks passed"
exit "$fail"
