#!/bin/sh
# Exits 0 when this machine's kernel runs 32-bit x86 programs, 1 when it does not.
#
# Asked by running one: a 96-byte i386 ELF executable whose only code is
# exit(42) through int 0x80. A kernel without 32-bit emulation refuses to execute
# it ("Exec format error") or kills it; only a kernel that runs it returns 42.
# Wine's own loader would answer the same question, but only once Wine is installed.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/runs-32bit.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes): class 32, little-endian, ET_EXEC, EM_386, entry 0x08048054,
# program headers at 52, one of 32 bytes.
# Program header: PT_LOAD of the whole file at 0x08048000, read + execute.
# Code at 0x54: mov eax, 1; mov ebx, 42; int 0x80
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
printf '\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\273\052\000\000\000\315\200' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
