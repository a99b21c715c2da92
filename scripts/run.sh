#!/bin/bash
# Builds Lumora and starts it under Wine, in a prefix of the project's own
# (build/wineprefix-run): the registry it tunes is that prefix's, never the
# user's ~/.wine.
#   scripts/run.sh [arguments for Lumora.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
scripts/install-deps.sh
if [ -x /usr/lib/wine/wine ]; then
  target=win32; toolchain=cmake/mingw-i686.cmake
else
  target=win64; toolchain=cmake/mingw-x86_64.cmake  # this Wine runs 64-bit programs only
fi
echo "lumora: building the $target program" >&2
cmake -S . -B "$build/$target" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release \
  -DLUMORA_WINEPREFIX="$build/wineprefix" >/dev/null
cmake --build "$build/$target" -j"$(nproc)" --target Lumora
prefix=$build/wineprefix-run
scripts/wine-prefix.sh "$prefix"
source scripts/wine-env.sh "$prefix"
echo "lumora: starting Lumora.exe under Wine (prefix $prefix)" >&2
if [ -z "${DISPLAY:-}" ]; then
  echo "lumora: no display; running under xvfb-run" >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/$target/bin/Lumora.exe" "$@"
fi
exec wine "$build/$target/bin/Lumora.exe" "$@"
