#!/bin/bash
# Builds everything and runs every test: natively, then the Windows builds
# under Wine in the project's own prefix. Installs what it needs first.
#   scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
jobs=$(nproc)
prefix=$build/wineprefix

step() { echo; echo "=== lumora: $* ==="; }

scripts/install-deps.sh

step "native build and unit tests"
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j"$jobs"
ctest --test-dir "$build/native" --output-on-failure -j"$jobs"

step "32-bit Windows build (the shipped Lumora.exe)"
cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" >/dev/null
cmake --build "$build/win32" -j"$jobs"
cmake --build "$build/win32" --target installer

step "64-bit Windows build"
cmake -S . -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" >/dev/null
cmake --build "$build/win64" -j"$jobs"

source scripts/wine-env.sh "$prefix"
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
scripts/wine-prefix.sh "$prefix"

if [ -x /usr/lib/wine/wine ]; then
  step "Windows tests of the 32-bit build under Wine"
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build/win32" --output-on-failure
else
  echo "lumora: wine32 is not installed; the 32-bit build's tests run where it is" >&2
fi

step "Windows tests of the 64-bit build under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build/win64" --output-on-failure
