#!/bin/sh
# Checks the import and export tables of the built Wardrobe.asi: no exports, and only
# DLLs that every Windows system has (no C/C++ runtime DLL beside it).
set -eu
asi=$1
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
exit $fail
