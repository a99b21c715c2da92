#!/bin/bash
# Builds everything and runs every test: natively, then the Windows builds
# under Wine in the project's own prefix. Installs what it needs first.
#   scripts/test.sh
#
# The checks that only read the shipped files (imports, symbols, PE header,
# manifest, version resource, setup) run at both widths on every machine.
# The Windows test kit, made at the end-to-end tests' width, runs that
# width's unit tests and the end-to-end tests in a fresh prefix, beside the
# tests it does not carry. Where wine32 runs (scripts/install-deps.sh tries
# to install it), that width is 32 bits, the shipped one, and the 64-bit
# build's tests run as well, for the registry views and the other pointer
# size. Without wine32 the 64-bit builds take the 32-bit ones' place in
# everything that needs Wine.
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
  e2e_width=32; e2e_toolchain=cmake/mingw-i686.cmake
else
  echo "lumora: wine32 is not installed: the 64-bit build stands in for the 32-bit one in the tests that need Wine" >&2
  e2e_width=64; e2e_toolchain=cmake/mingw-x86_64.cmake
fi

step "32-bit Windows build (the shipped Lumora.exe) and its tests"
configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" -DLUMORA_BUILD_TESTS=ON
cmake --build "$build/win32" -j"$jobs"
cmake --build "$build/win32" --target installer

step "64-bit Windows build"
configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix"
cmake --build "$build/win64" -j"$jobs"

# The test build: the shipped configuration again with the short progress
# steps and the update check asking a scripted server on this machine. It is
# never shipped; it carries the end-to-end tests only (the unit tests are the
# shipped builds').
testbuild=$build/win$e2e_width-testbuild
step "$e2e_width-bit test build (short progress steps, update check on 127.0.0.1)"
configure "$testbuild" -DCMAKE_TOOLCHAIN_FILE=$e2e_toolchain \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$prefix" \
  -DLUMORA_TEST_BUILD=ON -DLUMORA_UPDATE_HOST=127.0.0.1 -DLUMORA_UPDATE_PORT=18473
cmake --build "$testbuild" -j"$jobs"

status=0
# What reads the shipped files and needs no Wine (the label "files"): the
# imports against the Windows 2000 list, the symbols, the PE header, the
# manifest, the version resource, the setup. It runs on every machine, at
# both widths, whatever the kernel runs.
step "Checks of the shipped files of both widths, without Wine"
for width in 32 64; do
  echo "lumora: the $width-bit build's files:"
  ctest --test-dir "$build/win$width" -L files --output-on-failure -j"$jobs" || {
    status=1
    ctest_failed "$build/win$width"
  }
done

source scripts/wine-env.sh "$prefix"
kit_pid=""
cleanup() {
  [ -z "$kit_pid" ] || kill -- -"$kit_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
}
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

# The Windows test kit, run as a person runs it on Windows: unpacked outside
# build/ into a folder with a space in its name, in a fresh Wine prefix of
# its own, with plain wine and cmd.exe and none of the project's scripts. It
# is made at the end-to-end tests' width: 32 bits, the kit that is handed
# out, where this machine runs wine32; else the same kit at 64 bits. It is
# where that width's unit tests (the label "kit") and the end-to-end tests
# run: each test program runs once a width. Its prefix and its screen are
# its own, so it runs beside the tests below, on the other core.
kit_width=$e2e_width
kit_log=$build/kit-run.log
step "Windows test kit ($kit_width-bit): made, then started in a fresh Wine prefix"
cmake --build "$build/win$kit_width" --target windows_test_kit
rm -f "$kit_log"
set -m
scripts/kit-under-wine.sh "$build/win$kit_width/LumoraWindowsTests.zip" \
  "$build/kit-results" >"$kit_log" 2>&1 &
kit_pid=$!
set +m
kit_started=$SECONDS

# The tests the kit does not carry, in the project's prefix: at the kit's
# width those outside it (the dpi layouts, the subclass test with its own
# folder); at the other width, where Wine runs it, every test.
if [ $wine32 = yes ]; then
  step "Windows tests of the 32-bit build under Wine, those outside the kit (beside the kit)"
  under_xvfb ctest --test-dir "$build/win32" -LE '^(files|kit)$' --output-on-failure || {
    status=1
    ctest_failed "$build/win32"
  }
  step "Windows tests of the 64-bit build under Wine, all of them (beside the kit)"
  under_xvfb ctest --test-dir "$build/win64" -LE '^files$' --output-on-failure || {
    status=1
    ctest_failed "$build/win64"
  }
else
  echo "lumora: no wine32: the 32-bit build's tests that need Wine cannot run here; its files were checked above" >&2
  step "Windows tests of the 64-bit build under Wine, those outside the kit (beside the kit)"
  under_xvfb ctest --test-dir "$build/win64" -LE '^(files|kit)$' --output-on-failure || {
    status=1
    ctest_failed "$build/win64"
  }
fi

step "Windows test kit ($kit_width-bit): the rest of its run, run-tests.cmd"
kit_status=0
wait "$kit_pid" || kit_status=$?
kit_pid=""
cat "$kit_log"
echo "lumora: the kit ran for $((SECONDS - kit_started)) s in all, beside the stages above"
if [ $kit_status -ne 0 ]; then
  status=1
  stage_failed
  if [ -f "$build/kit-results/summary.txt" ]; then
    report_lines "  " < <(grep -a -E '^ +(failed:|no complete report|did not end cleanly)' \
      "$build/kit-results/summary.txt")
    report_assertions "$build"/kit-results/*.log
  fi
fi
if [ -d "$build/kit-results/screenshots" ]; then
  if command -v convert >/dev/null; then
    for shot in "$build"/kit-results/screenshots/*.bmp; do
      [ -e "$shot" ] || continue
      convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    done
  fi
  echo "lumora: screenshots of the windows are in $build/kit-results/screenshots"
fi

# The benchmarks run alone, after everything else: their figures are times.
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
