#!/bin/sh
# The image check's own rules, on copies of the built plug-in (never loaded): as built
# it passes; flagged NO_SEH it fails; given a SafeSEH table that lists both handlers
# of the plug-in's own it passes, given one that leaves one of them out it fails.
# Usage: check_plugin_image_test.sh CHECK IMAGE MAP WORK_DIR
set -eu
check=$1
asi=$2
map=$3
work=$4
rm -rf "$work"
mkdir -p "$work"
fail=0

expect() {  # expect pass|fail NAME IMAGE TEXT: the check's verdict, and TEXT in its output
  verdict=pass
  "$check" "$3" "$map" >"$work/$2.txt" 2>&1 || verdict=fail
  if [ "$verdict" != "$1" ]; then
    echo "FAIL: $2: the check says $verdict, expected $1"
    sed 's/^/  /' "$work/$2.txt"
    fail=1
  elif ! grep -q "$4" "$work/$2.txt"; then
    echo "FAIL: $2: no \"$4\" in the check's output"
    sed 's/^/  /' "$work/$2.txt"
    fail=1
  else
    echo "ok: $2 ($1)"
  fi
}

u32() {  # u32 FILE OFFSET: the little-endian 32-bit value there
  od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '
}
put_u32() {  # put_u32 FILE OFFSET VALUE
  v=$3
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

expect pass "as built" "$asi" "no SafeSEH table"

# DllCharacteristics: PE header offset at 0x3C, then 4 + 20 + 70 bytes on (16 bits);
# NO_SEH is 0x0400.
pe=$(u32 "$asi" 60)
characteristics=$(($(u32 "$asi" $((pe + 94))) & 0xFFFF))
cp "$asi" "$work/no_seh.asi"
put_u32 "$work/no_seh.asi" $((pe + 94)) $(($(u32 "$asi" $((pe + 94))) | 0x0400))
expect fail "flagged NO_SEH" "$work/no_seh.asi" "NO_SEH"
[ $((characteristics & 0x0400)) -eq 0 ]

# A load configuration (IMAGE_LOAD_CONFIG_DIRECTORY32, 72 bytes) written over the start
# of .rdata, its SafeSEH table of two relative addresses right after it, and the data
# directory entry 10 (PE + 24 + 96 + 10 * 8) pointing at it.
image_base=$(u32 "$asi" $((pe + 24 + 28)))
rdata=$(i686-w64-mingw32-objdump -h "$asi" | awk '$2 == ".rdata" { print $4, $6 }')
rdata_rva=$((0x${rdata% *} - image_base))
rdata_offset=$((0x${rdata#* }))
handler_rva() {  # handler_rva NAME: the handler's relative address, from the link map
  echo $((0x$(sed -n "s/^ *0x\([0-9a-fA-F]*\) *_\{0,1\}$1\$/\1/p" "$map" | head -n 1) - image_base))
}
lookup_rva=$(handler_rva LookupGuardHandler)
unwind_rva=$(handler_rva UnwindGuardHandler)
for listed in yes no; do
  copy="$work/safeseh_$listed.asi"
  cp "$asi" "$copy"
  put_u32 "$copy" $rdata_offset 72
  put_u32 "$copy" $((rdata_offset + 0x40)) $((image_base + rdata_rva + 72))
  put_u32 "$copy" $((rdata_offset + 0x44)) 2
  put_u32 "$copy" $((rdata_offset + 72)) $lookup_rva
  if [ $listed = yes ]; then
    put_u32 "$copy" $((rdata_offset + 76)) $unwind_rva
  else
    put_u32 "$copy" $((rdata_offset + 76)) $((unwind_rva + 16))
  fi
  put_u32 "$copy" $((pe + 200)) $rdata_rva
  put_u32 "$copy" $((pe + 204)) 72
done
expect pass "SafeSEH table listing both handlers" "$work/safeseh_yes.asi" "lists UnwindGuardHandler"
expect fail "SafeSEH table without the unwind guard" "$work/safeseh_no.asi" "leaves out UnwindGuardHandler"
exit $fail
