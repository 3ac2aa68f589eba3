#!/usr/bin/env bash
# Installs what is needed, builds in Release, and opens the bundled sample document.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

# Until the main window exists, show what the detector makes of every sample.
echo "code	eol	invalid	mixed	file"
cd data/samples
exec ../../build/bin/tessary-cli detect *.txt
