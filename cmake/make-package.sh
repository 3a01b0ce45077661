#!/bin/sh
# Writes the player's package, OUTPUT.zip: Wardrobe.asi, Wardrobe.ini (the settings,
# every one at its default), README.txt (the player's instructions with the version
# filled in) and LICENSE.txt, in that order.
#   cmake/make-package.sh OUTPUT VERSION ASI SOURCE_DIR      (absolute paths)
# The same sources give the same bytes: the members are written in a fixed order with
# fixed times (2000-01-01 00:00 UTC) and modes, and without zip's extra fields.
set -eu
output=$1 version=$2 asi=$3 source=$4
stage="$output.stage"
rm -rf "$stage" "$output"
mkdir -p "$stage"
cp "$asi" "$stage/Wardrobe.asi"
sed 's/$/\r/' "$source/package/Wardrobe.ini" >"$stage/Wardrobe.ini"
sed "s/@VERSION@/$version/g" "$source/package/README.txt" | sed 's/$/\r/' >"$stage/README.txt"
sed 's/$/\r/' "$source/LICENSE" >"$stage/LICENSE.txt"
chmod 644 "$stage"/*
TZ=UTC touch -d '2000-01-01 00:00:00' "$stage"/*
(cd "$stage" && TZ=UTC zip -q -X -D "$output.new" Wardrobe.asi Wardrobe.ini README.txt LICENSE.txt)
mv "$output.new" "$output"
rm -rf "$stage"
