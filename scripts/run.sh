#!/bin/bash
# Builds Lumora and starts it under Wine, in a prefix of the project's own
# (build/wineprefix-run): the registry it tunes is that prefix's, never the
# user's ~/.wine.
#   scripts/run.sh [arguments for Lumora.exe]
#   scripts/run.sh --screenshot FILE.png
#       starts Lumora on a virtual screen, waits for its main window, writes a
#       PNG of it, closes it and exits; needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${LUMORA_BUILD_DIR:-$root/build}

screenshot=""
if [ "${1:-}" = "--screenshot" ]; then
  if [ -z "${2:-}" ]; then
    echo "usage: scripts/run.sh --screenshot FILE.png" >&2
    exit 2
  fi
  screenshot=$(realpath -m "$2")
  shift 2
elif [ -z "${DISPLAY:-}" ]; then
  echo "lumora: no display here; run this on a desktop, or see the main window with: bash scripts/run.sh --screenshot main.png" >&2
  exit 2
fi

scripts/install-deps.sh
if [ -x /usr/lib/wine/wine ] && scripts/can-run-i386.sh; then
  target=win32; toolchain=cmake/mingw-i686.cmake
else
  target=win64; toolchain=cmake/mingw-x86_64.cmake  # this Wine runs 64-bit programs only
fi
echo "lumora: building the $target program" >&2
cmake -S . -B "$build/$target" -Wno-dev --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=$toolchain \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_WINEPREFIX="$build/wineprefix" >/dev/null
cmake --build "$build/$target" -j"$(nproc)" --target Lumora
prefix=$build/wineprefix-run
scripts/wine-prefix.sh "$prefix"
source scripts/wine-env.sh "$prefix"
program=$build/$target/bin/Lumora.exe

if [ -z "$screenshot" ]; then
  echo "lumora: starting Lumora.exe under Wine (prefix $prefix)" >&2
  exec wine "$program" "$@"
fi

echo "lumora: starting Lumora.exe on a virtual screen for $screenshot" >&2
export LUMORA_PROGRAM=$program LUMORA_SHOT=$screenshot
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -uo pipefail
  wine "$LUMORA_PROGRAM" &
  program_pid=$!
  # The main window is the top-level window titled "Lumora - ...". It counts
  # as shown once it is viewable and two pictures of it a moment apart agree
  # (it has painted).
  window=""
  previous=""
  for _ in $(seq 1 600); do
    if [ -z "$window" ]; then
      window=$(xwininfo -root -tree 2>/dev/null | awk "/\"Lumora - /{print \$1; exit}")
    fi
    if [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable"; then
      current=$(import -window "$window" rgb:- 2>/dev/null | md5sum)
      if [ -n "$previous" ] && [ "$current" = "$previous" ]; then
        break
      fi
      previous=$current
    fi
    sleep 0.1
  done
  status=0
  if [ -n "$window" ] && import -window "$window" "$LUMORA_SHOT"; then
    echo "lumora: wrote $LUMORA_SHOT"
  else
    echo "lumora: the main window did not appear within 60 s" >&2
    status=1
  fi
  # Closed as a user would close it; the prefix is stopped if it lingers.
  wine taskkill /im Lumora.exe >/dev/null 2>&1
  for _ in $(seq 1 100); do
    kill -0 $program_pid 2>/dev/null || break
    sleep 0.1
  done
  wineserver -k 2>/dev/null
  exit $status
'
