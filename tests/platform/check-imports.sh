#!/bin/bash
# Fails when an executable imports a DLL outside the allowed list, or, given a
# list of reviewed functions, a function outside that list; with --late, when
# it imports a DLL that it must load only when first needed.
#   check-imports.sh [--late "a.dll b.dll"] <objdump> <program.exe> [reviewed-functions.txt]
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
#
# A function that the oldest Windows the program runs on lacks stops the
# program from loading there ("entry point not found"), and Wine, which
# exports everything under every version setting, cannot show it: hence the
# function by function list.
set -euo pipefail
late=" "
if [ "${1:-}" = "--late" ]; then
  late=" $2 "
  shift 2
fi
objdump=$1
program=$2
reviewed=${3:-}
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll \
msvcrt.dll ws2_32.dll comctl32.dll "

table=$("$objdump" -p "$program")
# dll:function for every import; dll:#N for one by ordinal.
imports=$(awk '
  /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
  dll != "" && /^[[:space:]]*$/ { dll = ""; next }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {
    if (NF >= 3) print dll ":" $3; else print dll ":#" $2
  }' <<<"$table" | sort -u)
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$table" | tr 'A-Z' 'a-z')
if [ -z "$dlls" ] || [ -z "$imports" ]; then
  echo "no import table read from $program" >&2
  exit 1
fi
status=0
for dll in $dlls; do
  if [[ "$allowed" != *" $dll "* ]]; then
    echo "$program imports $dll, which Windows may take from the program's folder" >&2
    status=1
  fi
  if [[ "$late" == *" $dll "* ]]; then
    echo "$program imports $dll, which it loads only when first needed: imported, it costs the start time and memory" >&2
    status=1
  fi
done
if [ -n "$reviewed" ]; then
  unknown=$(comm -23 <(echo "$imports") <(grep -v '^#' "$reviewed" | sed '/^$/d' | sort -u))
  if [ -n "$unknown" ]; then
    echo "$program imports functions outside the reviewed Windows 2000 list ($reviewed):" >&2
    sed 's/^/  /' <<<"$unknown" >&2
    status=1
  fi
fi
echo "imports of $(basename "$program"): $(wc -l <<<"$imports") functions from" $dlls
exit $status
