#!/usr/bin/env bash
# Installs what is needed, builds in Release, and opens the bundled Shift-JIS sample in the window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

exec build/bin/tessary data/samples/sjis_crlf.txt
