#!/usr/bin/env bash
# Makes the emulated x86-64 guest in which the Windows side runs on a machine whose
# kernel cannot run 32-bit programs, and prints the folder that holds it:
#   vmlinuz, initrd.img   Debian's kernel and initial RAM disk, from the guest's /boot
#   root.img              the guest's root file system (ext4), Debian bookworm with
#                         Wine, wine32:i386 and what the tests use beside them
#
# Made from Debian's packages only (debootstrap, then apt-get inside it), on first
# need, into a temporary folder of the cache that is renamed into place only once
# complete, so that a half-made guest is never booted. The cache lies outside the
# work tree (${WARDROBE_GUEST_CACHE:-~/.cache/wardrobe-guest}), so every clone on this
# machine shares it; its key is taken from this script and the guest's init, so a
# change to either makes a new guest (and the old one is removed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${WARDROBE_GUEST_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/wardrobe-guest}
mirror=${WARDROBE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
key=$(cat "$here/make-guest.sh" "$here/init" | sha256sum | cut -c1-16)
guest="$cache/$key"

# What the steps run inside: Wine for the Windows programs, CTest to run the suite,
# the MinGW objdump for the image check, zip and unzip for the package check, the font
# the simulated host draws text with.
packages=(wine wine32:i386 cmake binutils-mingw-w64-i686 zip unzip fonts-dejavu-core)

if [ -f "$guest/root.img" ]; then
  echo "$guest"
  exit 0
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
mkdir -p "$cache"
# One maker at a time; a second one waits, then finds the guest made.
exec 9>"$cache/.lock"
flock 9
if [ -f "$guest/root.img" ]; then
  echo "$guest"
  exit 0
fi

work=$(mktemp -d "$cache/.making-XXXXXX")
root="$work/root"
cleanup() {
  $sudo umount "$root/proc" 2>/dev/null || true
  $sudo rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
echo "guest: making the emulated guest once for this machine (about 3 to 4 minutes), in $cache" >&2
echo "guest: debootstrap of bookworm with Debian's kernel" >&2
$sudo debootstrap --variant=minbase --include=linux-image-amd64,kmod,util-linux \
  bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
  tail -n 30 "$work/debootstrap.log" >&2
  echo "guest: debootstrap failed" >&2
  exit 1
}

echo "guest: installing ${packages[*]}" >&2
$sudo mount -t proc proc "$root/proc"
$sudo chroot "$root" dpkg --add-architecture i386
$sudo chroot "$root" apt-get update -qq
$sudo chroot "$root" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${packages[@]}" >"$work/packages.log" 2>&1 || {
  tail -n 30 "$work/packages.log" >&2
  echo "guest: installing the packages failed" >&2
  exit 1
}
$sudo chroot "$root" apt-get clean
$sudo umount "$root/proc"
$sudo rm -rf "$root"/var/lib/apt/lists/* "$root"/var/cache/apt/*.bin
$sudo install -m 755 "$here/init" "$root/sbin/wardrobe-init"

echo "guest: writing the root image" >&2
$sudo cp "$root"/boot/vmlinuz-* "$work/vmlinuz"
$sudo cp "$root"/boot/initrd.img-* "$work/initrd.img"
# The root's size and a gigabyte more for what a step writes outside the checkout.
megabytes=$(( $($sudo du -sm "$root" | cut -f1) + 1024 ))
$sudo mke2fs -q -t ext4 -L wardrobe-guest -d "$root" "$work/root.img" "${megabytes}M" >&2
$sudo rm -rf "$root"
$sudo chown -R "$(id -u):$(id -g)" "$work"

# Complete: older guests go, this one takes its place in one rename.
for old in "$cache"/*; do
  [ -d "$old" ] && [ "$old" != "$guest" ] && rm -rf "$old"
done
mv "$work" "$guest"
trap - EXIT
echo "guest: made in $((SECONDS - started)) s" >&2
echo "$guest"
