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

# The 32-bit tests run only where wine32 is installed; elsewhere the 32-bit
# build makes the shipped program, its updater and its installer alone.
win32_tests=OFF
if [ -x /usr/lib/wine/wine ]; then
  win32_tests=ON
fi

step "32-bit Windows build (the shipped Lumora.exe)"
cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" \
  -DLUMORA_BUILD_TESTS=$win32_tests >/dev/null
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

if [ "$win32_tests" = ON ]; then
  step "Windows tests of the 32-bit build under Wine"
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build/win32" --output-on-failure
else
  echo "lumora: wine32 is not installed; the 32-bit build's tests run where it is" >&2
fi

step "Windows tests of the 64-bit build under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build/win64" --output-on-failure

# The test build: the 64-bit build again with the short progress steps and the
# update check asking a scripted server on this machine. It is never shipped;
# it runs the end-to-end tests only (the unit tests ran above).
step "64-bit test build (short progress steps, update check on 127.0.0.1)"
testbuild=$build/win64-testbuild
cmake -S . -B "$testbuild" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" \
  -DLUMORA_TEST_BUILD=ON -DLUMORA_UPDATE_HOST=127.0.0.1 -DLUMORA_UPDATE_PORT=18473 >/dev/null
cmake --build "$testbuild" -j"$jobs"

step "End-to-end tests of the test build under Wine"
rm -rf "$testbuild/screenshots"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$testbuild" --output-on-failure || status=$?
if command -v convert >/dev/null && [ -d "$testbuild/screenshots" ]; then
  for shot in "$testbuild"/screenshots/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
  done
fi
echo "lumora: screenshots of the windows are in $testbuild/screenshots"

step "Benchmark: the optimize run's registry work under Wine"
scripts/wine-run.sh --prefix "$prefix" "$testbuild/bin/registry_work_benchmark.exe"
exit $status
