#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. Exit status is the tests' status.
# The fuzz targets run last (scripts/fuzz.sh --check); its summary line closes the output.
# TESSARY_SANITIZE=1 builds into build-asan with AddressSanitizer and UBSan instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# The window tests check texts in the installed fonts and Qt's Japanese translations, so the
# running program's packages come too.
scripts/install-deps.sh --run

build=build
options=(-DCMAKE_BUILD_TYPE=Release)
if [ "${TESSARY_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARY_SANITIZE=ON)
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export TESSARY_HOME="$PWD/$build/test-home"
mkdir -p "$TESSARY_HOME"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
# The Debian package built, installed, run and purged again: it changes /usr, so only as root
# or with sudo, and only for the plain build.
if [ "$build" = build ] && { [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null; }; then
  scripts/package-test.sh "$build"
fi
# Then every fuzz target for a bounded number of runs (clang, ASan, UBSan; about a minute).
scripts/fuzz.sh --check
