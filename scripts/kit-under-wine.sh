#!/bin/bash
# Runs the Windows test kit under Wine as a person runs it on Windows: the
# zip unpacked outside the build tree, into a folder with a space in its
# name, a fresh Wine prefix of its own (made by Wine on first use, none of
# the project's prefix set-up), plain `wine cmd /c run-tests.cmd` on a
# virtual screen. Then checks the exit code and that summary.txt names
# every test program with its counts. Copies results\ to <results-folder>.
#   scripts/kit-under-wine.sh <LumoraWindowsTests.zip> <results-folder>
set -euo pipefail
zip=$(realpath "$1")
results=$(realpath -m "$2")
work=$(mktemp -d /tmp/lumora-kit.XXXXXX)
kit="$work/Test Kit/LumoraWindowsTests"
export WINEPREFIX="$work/prefix"
export WINEARCH=win64
# Quiet, and no Mono or Gecko installer (there is no network to fetch them).
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/Test Kit"
(cd "$work/Test Kit" && cmake -E tar xf "$zip")
echo "lumora: the kit is $(du -k "$zip" | cut -f1) KiB zipped; unpacked in $kit"

# The prefix is made and booted before the run, as a Windows machine is
# booted before somebody runs the kit on it: in the session that makes a
# prefix, Wine's desktop shell offers no shell windows.
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w

started=$SECONDS
code=0
# Its screen is looked for from display 120 on, apart from the test
# command's other screens (from 99 on), so that both can start at once.
(cd "$kit" && xvfb-run -a -n 120 -s "-screen 0 1280x1024x24" wine cmd /c run-tests.cmd) || code=$?
echo "lumora: run-tests.cmd took $((SECONDS - started)) s and exited with $code"

rm -rf "$results"
if [ -d "$kit/results" ]; then
  cp -r "$kit/results" "$results"
fi
summary="$results/summary.txt"
ok=yes
if [ ! -f "$summary" ]; then
  echo "lumora: the kit wrote no summary.txt" >&2
  exit 1
fi
# Every listed test program has a line with its three counts, and the host
# lines are there.
for part in unit e2e; do
  while read -r name _; do
    name=${name%$'\r'}
    [ -n "$name" ] || continue
    if ! grep -qE "^$part\\\\$name +[0-9]+ +[0-9]+ +[0-9]+" "$summary"; then
      echo "lumora: summary.txt has no counts for $part\\$name" >&2
      ok=no
    fi
  done < "$kit/$part/tests.txt"
done
for field in Windows Bitness Wine Date Total Result; do
  grep -q "^$field:" "$summary" || { echo "lumora: summary.txt lacks $field" >&2; ok=no; }
done
passed=no
grep -q "^Result: PASSED" "$summary" && passed=yes
# The exit code agrees with the summary.
if { [ $passed = yes ] && [ $code -ne 0 ]; } || { [ $passed = no ] && [ $code -eq 0 ]; }; then
  echo "lumora: run-tests.cmd exited with $code, but the summary says: $(grep '^Result:' "$summary")" >&2
  ok=no
fi
echo "lumora: the kit's results are in $results"
[ $ok = yes ] && [ $passed = yes ] && [ $code -eq 0 ]
