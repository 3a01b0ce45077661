#!/bin/sh
# The linker gives every DLL an export directory, even an empty one. Wardrobe.asi has
# nothing to export: clear the directory entry and drop the empty .edata section, so
# the loaded image shows no export table at all.
set -eu
image=$1
objcopy=${2:-i686-w64-mingw32-objcopy}
# e_lfanew at 0x3C; the export entry is the first data directory of the PE32 optional
# header: signature (4) + file header (20) + 96 bytes into the optional header.
lfanew=$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')
entry=$((lfanew + 4 + 20 + 96))
dd if=/dev/zero of="$image" bs=1 seek="$entry" count=8 conv=notrunc status=none
"$objcopy" --remove-section=.edata "$image"
