#!/bin/bash
# Builds everything and runs every test: natively, then the Windows builds
# under Wine in the project's own prefix. Installs what it needs first.
#   scripts/test.sh
#
# Where wine32 is installed (scripts/install-deps.sh tries to install it), the
# shipped width is tested: the 32-bit build's unit tests, and the 32-bit test
# build's end-to-end tests, screenshots and benchmarks. The 64-bit build's
# tests run as well, for the registry views and the other pointer size.
# Without wine32 the 64-bit build takes the 32-bit one's place.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
jobs=$(nproc)
prefix=$build/wineprefix
started=$SECONDS
stage_started=$SECONDS
stage_name=""
timings=()

end_stage() {
  if [ -n "$stage_name" ]; then
    timings+=("$(printf '%5d s  %s' $((SECONDS - stage_started)) "$stage_name")")
  fi
}
step() {
  end_stage
  stage_name=$*
  stage_started=$SECONDS
  echo
  echo "=== lumora: $* ==="
}
# What failed, gathered as the stages go and printed again at the end, next
# to the stage times, so that the end of a long log says what to look for.
failed_report=()
stage_failed() {
  failed_report+=("$stage_name")
}
# A failed line, indented under its stage.
report_lines() {
  local indent=$1 line
  while IFS= read -r line; do
    failed_report+=("$indent${line%$'\r'}")
  done
}
# The first lines of each failed assertion in the given test logs.
report_assertions() {
  report_lines "    " < <(cat "$@" 2>/dev/null | grep -a -A6 -E $': Failure\r?$' | head -n 60)
}
# A failed ctest run: the tests that failed and the first lines of each
# assertion that failed in them.
ctest_failed() {
  local temporary=$1/Testing/Temporary
  stage_failed
  if [ -f "$temporary/LastTestsFailed.log" ]; then
    report_lines "  " < <(sed 's/^[0-9]*://' "$temporary/LastTestsFailed.log")
  fi
  report_assertions "$temporary/LastTest.log"
}
print_failures() {
  [ ${#failed_report[@]} -gt 0 ] || return 0
  echo
  echo "=== lumora: what failed ==="
  printf '%s\n' "${failed_report[@]}"
}
print_timings() {
  end_stage
  stage_name=""
  echo
  echo "=== lumora: stage times ==="
  printf '%s\n' "${timings[@]}"
  printf '%5d s  whole command\n' $((SECONDS - started))
}
# Configures a build quietly; a re-run keeps its cache.
configure() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -Wno-dev --no-warn-unused-cli "$@" >/dev/null
}

step "dependencies"
scripts/install-deps.sh

step "native build and unit tests"
configure "$build/native" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build/native" -j"$jobs"
ctest --test-dir "$build/native" --output-on-failure -j"$jobs"

wine32=no
if [ -x /usr/lib/wine/wine ] && scripts/can-run-i386.sh; then
  wine32=yes
fi
if [ $wine32 = yes ]; then
  tests32=ON
  e2e_width=32; e2e_toolchain=cmake/mingw-i686.cmake
else
  echo "lumora: wine32 is not installed: the 64-bit build stands in for the 32-bit one in the tests" >&2
  tests32=OFF
  e2e_width=64; e2e_toolchain=cmake/mingw-x86_64.cmake
fi

step "32-bit Windows build (the shipped Lumora.exe)"
configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" -DLUMORA_BUILD_TESTS=$tests32
cmake --build "$build/win32" -j"$jobs"
cmake --build "$build/win32" --target installer

step "64-bit Windows build"
configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix"
cmake --build "$build/win64" -j"$jobs"

source scripts/wine-env.sh "$prefix"
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
scripts/wine-prefix.sh "$prefix"
# Each stage has a virtual screen of its own. The prefix's wineserver is
# stopped when the screen goes: one left running would keep the closed
# display, and every window of the next stage would fail to open.
under_xvfb() {
  local result=0
  xvfb-run -a -s "-screen 0 1280x1024x24" "$@" || result=$?
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  return $result
}

status=0
if [ $wine32 = yes ]; then
  step "Windows tests of the 32-bit build under Wine"
  under_xvfb ctest --test-dir "$build/win32" --output-on-failure || {
    status=1
    ctest_failed "$build/win32"
  }
fi

step "Windows tests of the 64-bit build under Wine"
under_xvfb ctest --test-dir "$build/win64" --output-on-failure || {
  status=1
  ctest_failed "$build/win64"
}

# The test build: the shipped configuration again with the short progress
# steps and the update check asking a scripted server on this machine. It is
# never shipped; it runs the end-to-end tests only (the unit tests ran above).
testbuild=$build/win$e2e_width-testbuild
step "$e2e_width-bit test build (short progress steps, update check on 127.0.0.1)"
configure "$testbuild" -DCMAKE_TOOLCHAIN_FILE=$e2e_toolchain \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" \
  -DLUMORA_TEST_BUILD=ON -DLUMORA_UPDATE_HOST=127.0.0.1 -DLUMORA_UPDATE_PORT=18473
cmake --build "$testbuild" -j"$jobs"

step "End-to-end tests of the $e2e_width-bit test build under Wine"
rm -rf "$testbuild/screenshots"
under_xvfb ctest --test-dir "$testbuild" --output-on-failure || {
  status=1
  ctest_failed "$testbuild"
}
if command -v convert >/dev/null && [ -d "$testbuild/screenshots" ]; then
  for shot in "$testbuild"/screenshots/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
  done
fi
echo "lumora: screenshots of the windows are in $testbuild/screenshots"

# The Windows test kit, run as a person runs it on Windows: unpacked outside
# build/ into a folder with a space in its name, in a fresh Wine prefix of
# its own, with plain wine and cmd.exe and none of the project's scripts. It
# is made at the end-to-end tests' width: 32 bits, the kit that is handed
# out, where this machine runs wine32; else the same kit at 64 bits.
step "Windows test kit ($e2e_width-bit): unpacked in a fresh Wine prefix, run-tests.cmd"
cmake --build "$build/win$e2e_width" --target windows_test_kit
scripts/kit-under-wine.sh "$build/win$e2e_width/LumoraWindowsTests.zip" "$build/kit-results" || {
  status=1
  stage_failed
  if [ -f "$build/kit-results/summary.txt" ]; then
    report_lines "  " < <(grep -a -E '^ +(failed:|no complete report|did not end cleanly)' \
      "$build/kit-results/summary.txt")
    report_assertions "$build"/kit-results/*.log
  fi
}

step "Benchmark: the optimize run's registry work under Wine ($e2e_width-bit)"
under_xvfb scripts/wine-run.sh --prefix "$prefix" "$testbuild/bin/registry_work_benchmark.exe" || {
  status=1
  stage_failed
}

step "Benchmark: start-up time and memory of Lumora.exe under Wine ($e2e_width-bit)"
under_xvfb scripts/wine-run.sh --prefix "$prefix" "$testbuild/bin/startup_benchmark.exe" || {
  status=1
  stage_failed
}

print_failures
print_timings
if [ $status -ne 0 ]; then
  echo "lumora: some tests failed (see above)" >&2
fi
exit $status
