#!/bin/bash
# Fails when an executable imports a DLL outside the allowed list.
#   check-imports.sh <objdump> <program.exe>
#
# A DLL that a program imports is looked up in the program's folder before
# the system folder, unless Windows always takes it from the system folder.
# A program that runs with administrator rights must import only those:
#   - KnownDLLs on Windows 2000 to 10: kernel32, user32, gdi32, advapi32,
#     shell32, ole32, oleaut32;
#   - msvcrt (the C runtime of every mingw program) and ws2_32: KnownDLLs on
#     Windows 7 and later;
#   - comctl32: version 6 comes from the side-by-side store through the
#     program's manifest.
# Everything else (winmm, hhctrl.ocx, ...) is loaded by full path from the
# system folder when first needed.
set -euo pipefail
objdump=$1
program=$2
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll \
msvcrt.dll ws2_32.dll comctl32.dll "

imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$imports" ]; then
  echo "no import table read from $program" >&2
  exit 1
fi
status=0
for dll in $imports; do
  if [[ "$allowed" != *" $dll "* ]]; then
    echo "$program imports $dll, which Windows may take from the program's folder" >&2
    status=1
  fi
done
echo "imports of $(basename "$program"):" $imports
exit $status
