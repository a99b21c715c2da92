#!/bin/bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs, which wine32's
# loader is. Some kernels are built or booted without that: there wine32
# installs but cannot start ("Exec format error"), and the tests must run at
# 64 bits. The probe is the smallest 32-bit program: exit(0).
#   scripts/can-run-i386.sh
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/lumora-i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes), one loadable segment (32 bytes), then the code:
# mov eax, 1; xor ebx, ebx; int 0x80.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
printf '\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\061\333\315\200' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
