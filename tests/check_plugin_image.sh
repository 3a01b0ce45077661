#!/bin/sh
# Checks the built Wardrobe.asi as Windows will see it:
# - no exports, and only DLLs that every Windows system has (no C/C++ runtime DLL
#   beside it);
# - the exception handlers of the plug-in's own can run (the fault guard around the
#   host's native lookup, LookupGuardHandler, and the records that put things back as
#   the stack unwinds, UnwindGuardHandler): Windows calls no handler of an image
#   flagged NO_SEH (IMAGE_DLLCHARACTERISTICS_NO_SEH, 0x0400), and none that the
#   image's SafeSEH table (load configuration, SEHandlerTable) leaves out.
# Usage: check_plugin_image.sh IMAGE MAP (MAP: the link map, which gives the
# handlers' addresses).
set -eu
asi=$1
map=$2
dump=$(i686-w64-mingw32-objdump -p "$asi")
fail=0
if printf '%s\n' "$dump" | grep -q "^The Export Tables"; then
  echo "FAIL: $asi has an export table"
  fail=1
fi
allowed='^(KERNEL32|USER32|VERSION|msvcrt|ADVAPI32)\.dll$'
for dll in $(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p'); do
  if ! printf '%s\n' "$dll" | grep -Eiq "$allowed"; then
    echo "FAIL: $asi imports $dll"
    fail=1
  else
    echo "imports $dll"
  fi
done

header_field() {  # the hexadecimal value of a line "NAME<tab>VALUE" of the header dump
  printf '%s\n' "$dump" | sed -n "s/^$1[[:space:]]*\([0-9a-fA-F]*\)\$/\1/p" | head -n 1
}
image_base=$((0x$(header_field ImageBase)))
characteristics=$((0x$(header_field DllCharacteristics)))
if [ $((characteristics & 0x0400)) -ne 0 ]; then
  echo "FAIL: $asi is flagged NO_SEH (DllCharacteristics $(printf '0x%04X' $characteristics)): Windows would call none of its exception handlers"
  fail=1
else
  echo "exception handlers allowed (DllCharacteristics $(printf '0x%04X' $characteristics))"
fi

# The 32-bit value at a relative virtual address of the image, through its sections.
sections=$(i686-w64-mingw32-objdump -h "$asi" | awk '$1 ~ /^[0-9]+$/ { print $3, $4, $6 }')
u32_at() {
  va=$((image_base + $1))
  printf '%s\n' "$sections" | while read -r size vma offset; do
    if [ $va -ge $((0x$vma)) ] && [ $va -lt $((0x$vma + 0x$size)) ]; then
      od -An -tu4 -j $((0x$offset + va - 0x$vma)) -N4 "$asi" | tr -d ' '
      break
    fi
  done
}

config=$(printf '%s\n' "$dump" | sed -n 's/^Entry a \([0-9a-fA-F]*\) \([0-9a-fA-F]*\) .*/\1 \2/p')
config_rva=$((0x${config% *}))
config_size=$((0x${config#* }))
table=0
count=0
if [ $config_rva -ne 0 ] && [ $config_size -ge 72 ]; then
  # IMAGE_LOAD_CONFIG_DIRECTORY32: SEHandlerTable (a virtual address) at 0x40,
  # SEHandlerCount at 0x44.
  table=$(u32_at $((config_rva + 0x40)))
  count=$(u32_at $((config_rva + 0x44)))
fi
for name in LookupGuardHandler UnwindGuardHandler; do
  handler=$(sed -n "s/^ *0x\([0-9a-fA-F]*\) *_\{0,1\}$name\$/\1/p" "$map" | head -n 1)
  if [ -z "$handler" ]; then
    echo "FAIL: $map does not give the address of $name"
    fail=1
    continue
  fi
  handler_rva=$((0x$handler - image_base))
  if [ "$table" -eq 0 ]; then
    echo "no SafeSEH table: $name at RVA $(printf '0x%X' $handler_rva) is allowed"
    continue
  fi
  listed=0
  i=0
  while [ $i -lt "$count" ]; do
    if [ "$(u32_at $((table - image_base + 4 * i)))" -eq $handler_rva ]; then
      listed=1
      break
    fi
    i=$((i + 1))
  done
  if [ $listed -eq 1 ]; then
    echo "the SafeSEH table ($count handlers) lists $name at RVA $(printf '0x%X' $handler_rva)"
  else
    echo "FAIL: the SafeSEH table ($count handlers) leaves out $name at RVA $(printf '0x%X' $handler_rva): Windows would not call it"
    fail=1
  fi
done
exit $fail
