#!/bin/bash
# Fails when an executable carries a symbol table or debugging information,
# which a shipped program leaves out.
#   check-stripped.sh <objdump> <program.exe>
set -euo pipefail
objdump=$1
program=$2
sections=$("$objdump" -h "$program" | awk '$2 ~ /^\.debug/ { print $2 }')
status=0
if "$objdump" -f "$program" | grep -qw 'HAS_SYMS'; then
  echo "$program has a symbol table" >&2
  status=1
fi
if [ -n "$sections" ]; then
  echo "$program has debugging sections:" $sections >&2
  status=1
fi
echo "$(basename "$program"): $(stat -c %s "$program") bytes"
exit $status
