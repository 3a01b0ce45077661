#!/usr/bin/env bash
# Runs one command of the Windows side inside the emulated x86-64 guest, for machines
# whose kernel cannot run 32-bit programs:
#   guest/run.sh COMMAND        (a shell command line, run from the checkout's root)
#
# The checkout is shared into the guest at its own absolute path, so build trees,
# CTest's files and Wine's Z: paths are the same inside and out. The command's
# output appears as it is written; its exit status is this script's. The guest boots
# from the same image every time (-snapshot: what it writes to its own disk is
# thrown away); only what it writes to the checkout remains. A guest that has not
# finished after WARDROBE_GUEST_MINUTES (default 60) is stopped and reported.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
checkout=$(cd "$here/.." && pwd)
command=${1:?usage: guest/run.sh COMMAND}
minutes=${WARDROBE_GUEST_MINUTES:-60}

case "$checkout" in
  *[[:space:]]*) echo "guest: the checkout's path must not contain spaces: $checkout" >&2; exit 2 ;;
esac

guest=$("$here/make-guest.sh")

exchange="$checkout/build/guest"
mkdir -p "$exchange"
rm -f "$exchange/status"
printf '%s\n%s %s\n%s\n' "$checkout" "$(id -u)" "$(id -g)" "$command" >"$exchange/request"

# TCG on every machine (no /dev/kvm is assumed). SMAP off: with it, the guest kernel
# kills every 32-bit process at its return to user mode under this emulation.
started=$SECONDS
status=0
timeout -k 20 "$((minutes * 60))" qemu-system-x86_64 \
  -accel tcg,thread=multi -smp "${WARDROBE_GUEST_CPUS:-$(nproc)}" -m 4G -cpu max,smap=off \
  -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 quiet loglevel=1 init=/sbin/wardrobe-init panic=1 ${WARDROBE_GUEST_9P:+wardrobe.9p=$WARDROBE_GUEST_9P}" \
  -drive "file=$guest/root.img,if=virtio,format=raw,snapshot=on" \
  -virtfs "local,path=$checkout,mount_tag=checkout,security_model=passthrough,id=checkout" \
  -nic none -display none -monitor none -no-reboot \
  -serial "file:$exchange/console.log" -serial stdio </dev/null || status=$?

if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "guest: stopped after $minutes minutes without finishing: the step hung" \
    "(its console: build/guest/console.log)" >&2
  exit 124
fi
if [ "$status" -ne 0 ]; then
  echo "guest: qemu-system-x86_64 failed with status $status" >&2
  exit "$status"
fi
if [ ! -f "$exchange/status" ]; then
  echo "guest: the guest stopped without the step's status (it crashed or could not start);" \
    "the end of its console, build/guest/console.log:" >&2
  tail -n 20 "$exchange/console.log" >&2
  exit 1
fi
status=$(cat "$exchange/status")
echo "guest: step ended with status $status after $((SECONDS - started)) s" >&2
exit "$status"
