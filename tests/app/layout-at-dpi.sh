#!/bin/bash
# Runs the layout test under Wine at 96, 120, 144, 168 and 192 dpi: the
# prefix's LogPixels sets the dpi that programs see once the wineserver has
# started anew. The prefix is left at 96 dpi, also when a run fails.
#   tests/app/layout-at-dpi.sh <prefix-folder> <layout_tests.exe>
# The runs have a virtual screen of their own, 3840 x 2160: at 192 dpi the
# main window is 1528 pixels wide, and Windows keeps a window that is larger
# than the screen to the screen's size.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
test_exe=$2
wine_run="$here/../../scripts/wine-run.sh"
"$here/../../scripts/wine-prefix.sh" "$prefix"
source "$here/../../scripts/wine-env.sh" "$(realpath -m "$prefix")"

if [ -z "${LUMORA_DPI_SCREEN:-}" ]; then
  export LUMORA_DPI_SCREEN=1
  exec xvfb-run -a -s "-screen 0 3840x2160x24" bash "$0" "$@"
fi

set_dpi() {
  for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
  # The server writes the registry out as it ends; the next one reads it.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
trap 'set_dpi 96' EXIT

status=0
for dpi in 96 120 144 168 192; do
  echo "=== layout at $dpi dpi ==="
  set_dpi "$dpi"
  LUMORA_EXPECT_DPI=$dpi "$wine_run" --prefix "$prefix" "$test_exe" || status=1
done
exit $status
