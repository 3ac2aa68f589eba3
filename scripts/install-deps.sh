#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tessary need. Idempotent.
set -euo pipefail

build_packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libgl-dev libxcb1-dev desktop-file-utils)
run_packages=(fonts-noto-cjk fonts-ipafont-gothic qt6-translations-l10n)
# Used by the GUI checks and the benchmark scripts only when present; installed on request.
extra_packages=(xvfb xdotool x11-utils openbox imagemagick uchardet nkf vim-nox featherpad)
# The Debian package: CPack's dependency scan and its tools (scripts/package-test.sh).
package_packages=(dpkg-dev file)
# The fuzz targets: clang and its sanitizer and libFuzzer runtimes (scripts/fuzz.sh).
fuzz_packages=(clang libclang-rt-dev)

wanted=("${build_packages[@]}")
case "${1:-}" in
  --run) wanted+=("${run_packages[@]}") ;;
  --fuzz) wanted+=("${fuzz_packages[@]}") ;;
  --package) wanted+=("${package_packages[@]}") ;;
  --all) wanted+=("${run_packages[@]}" "${extra_packages[@]}" "${fuzz_packages[@]}" "${package_packages[@]}") ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq >/dev/null
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
