#!/bin/bash
# Makes (once) the project's own Wine prefix in the given folder: never the
# user's ~/.wine, so nothing outside the project is ever tuned.
#   scripts/wine-prefix.sh <prefix-folder>
set -euo pipefail
prefix=$(realpath -m "$1")
source "$(dirname "$0")/wine-env.sh" "$prefix"

if [ -f "$prefix/.lumora-ready" ]; then
  exit 0
fi
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.lumora-ready" ]; then
  exit 0
fi
echo "lumora: making the Wine prefix $prefix (once; takes a few seconds)" >&2
if ! wine wineboot --init >/dev/null 2>&1 || ! wineserver -w || [ ! -f "$prefix/system.reg" ]; then
  echo "lumora: wineboot failed; removing the half-made prefix $prefix" >&2
  rm -rf "$prefix"
  exit 1
fi
# A crash must fail a test, not wait for somebody to close winedbg's dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.lumora-ready"
