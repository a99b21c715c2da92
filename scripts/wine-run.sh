#!/bin/bash
# Runs a Windows program under Wine in the project's prefix; CTest uses it as
# the emulator of the cross builds. Without a display it runs under xvfb-run.
#   scripts/wine-run.sh --prefix <prefix-folder> program.exe [args...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=""
if [ "${1:-}" = "--prefix" ]; then
  prefix=$2
  shift 2
fi
prefix=${prefix:-${LUMORA_WINEPREFIX:-$here/../build/wineprefix}}
"$here/wine-prefix.sh" "$prefix"
source "$here/wine-env.sh" "$(realpath -m "$prefix")"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
