#!/bin/sh
# Checks the player's package: exactly Wardrobe.asi, Wardrobe.ini, README.txt and
# LICENSE.txt, in that order; the plug-in is the built one, the README names this version, and making
# the package again from the same files gives the same bytes.
#   tests/check_player_package.sh ZIP VERSION ASI SOURCE_DIR
set -eu
zip=$1 version=$2 asi=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {
  if ! eval "$2"; then
    echo "FAIL: $1"
    fail=1
  fi
}
members=$(unzip -Z1 "$zip" | tr '\n' ' ')
check "members are '$members'" '[ "$members" = "Wardrobe.asi Wardrobe.ini README.txt LICENSE.txt " ]'
unzip -q "$zip" -d "$work/unpacked"
check "Wardrobe.asi is the built plug-in" 'cmp -s "$work/unpacked/Wardrobe.asi" "$asi"'
check "README.txt names version $version" 'head -n 1 "$work/unpacked/README.txt" | grep -q "^Wardrobe $version"'
check "README.txt has Windows line ends" 'grep -q "$(printf "\r")\$" "$work/unpacked/README.txt"'
check "Wardrobe.ini is the default settings file, Windows line ends" '[ "$(tr -d "\r" <"$work/unpacked/Wardrobe.ini")" = "$(cat "$source/package/Wardrobe.ini")" ] && grep -q "$(printf "\r")\$" "$work/unpacked/Wardrobe.ini"'
check "LICENSE.txt is the MIT licence" 'grep -q "^MIT License" "$work/unpacked/LICENSE.txt"'
check "every member dated 2000-01-01 00:00" '[ "$(unzip -Z -T "$zip" | grep -c " 20000101.000000 ")" -eq 4 ]'
"$source/cmake/make-package.sh" "$work/again.zip" "$version" "$asi" "$source"
check "a second package from the same files is byte for byte the same" 'cmp -s "$zip" "$work/again.zip"'
[ $fail -eq 0 ] && echo "package $zip: $(wc -c <"$zip") bytes, members $members"
exit $fail
