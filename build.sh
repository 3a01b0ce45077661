#!/usr/bin/env bash
# Two commands, both from a fresh Debian machine:
#   ./build.sh        installs what is missing, builds Wardrobe.asi and the simulated
#                     host, and runs the demo scenario (screenshots in build/demo/)
#   ./build.sh test   installs what is missing, builds, runs every test (Windows tests
#                     under Wine, native tests under sanitizers, a bounded fuzz run)
#                     and runs each benchmark briefly
#   ./build.sh bench [--soak-frames N]
#                     installs what is missing, builds, runs every benchmark in full
#                     (the soak for N frames, 100,000 unless told)
#
# The Windows side (the Wine prefix, the demo, the benchmarks, the Windows tests) runs
# under Wine on this machine when its kernel runs 32-bit programs, and otherwise, or
# with WARDROBE_GUEST=1, inside an emulated x86-64 guest (guest/run.sh) that runs
# this same script's windows-demo or windows-test step.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
mode=${1:-demo}
[ $# -gt 0 ] && shift
# ./build.sh bench --soak-frames N: a plain count, passed on as it is.
soak_frames=()
if [ "$mode" = bench ] || [ "$mode" = windows-bench ]; then
  while [ $# -gt 0 ]; do
    case "$1" in
      --soak-frames)
        if ! [[ "${2:-}" =~ ^[1-9][0-9]*$ ]]; then
          echo "$0: --soak-frames needs a frame count" >&2
          exit 2
        fi
        soak_frames=(--soak-frames "$2")
        shift 2
        ;;
      *) echo "usage: $0 bench [--soak-frames N]" >&2; exit 2 ;;
    esac
  done
fi
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-i686-dev
          googletest libstb-dev fonts-dejavu-core clang libclang-rt-14-dev clang-format-14 g++ zip unzip)
use_guest=0
case "$mode" in
  demo|test|bench)
    if [ "${WARDROBE_GUEST:-0}" = 1 ]; then
      use_guest=1
      echo "== the Windows side runs in the emulated guest (WARDROBE_GUEST=1)"
    elif ! guest/runs-32bit.sh; then
      use_guest=1
      echo "== this kernel does not run 32-bit programs: the Windows side runs in the emulated guest"
    fi
    ;;
esac
if [ "$use_guest" = 1 ]; then
  packages+=(qemu-system-x86 debootstrap e2fsprogs)
else
  packages+=(wine wine32:i386)
fi

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if [ "$use_guest" = 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

version=$(head -n 1 VERSION)

build_windows() {
  echo "== Wardrobe $version"
  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build build -j "$jobs"
  echo "== the player's package: build/dist/Wardrobe-$version.zip"
}

build_native() {
  CC=clang CXX=clang++ cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build/native -j "$jobs"
}

# The steps that run Windows programs, here or in the guest (with the soak's frame
# count, checked above to be a plain number).
windows_side() {
  if [ "$use_guest" = 1 ]; then
    guest/run.sh "./build.sh windows-$1 ${soak_frames[*]}"
  else
    ./build.sh "windows-$1" "${soak_frames[@]}"
  fi
}

# A fresh Wine prefix takes a while to create: it is made once, before any program
# runs, and kept in the build tree.
prepare_wine() {
  export WINEPREFIX="$root/build/wineprefix"
  if [ ! -f build/wineprefix/system.reg ]; then
    echo "== creating the Wine prefix"
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Only the Wine processes of this build tree's prefix, which this script started.
  trap 'wineserver -k 2>/dev/null || true' EXIT
}

case "$mode" in
  demo)
    install_missing
    build_windows
    windows_side demo
    ;;
  test)
    install_missing
    build_windows
    build_native
    echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
    ctest --test-dir build/native --output-on-failure
    echo "== fuzzing the INI reader (${FUZZ_SECONDS:-30} s)"
    # New inputs go to a scratch corpus in the build tree; the seeds stay as committed.
    mkdir -p build/native/fuzz-corpus
    build/native/ini_fuzzer -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=0 -artifact_prefix=build/native/ \
      build/native/fuzz-corpus tests/native/corpus 2>&1 | tail -n 3
    windows_side test
    ;;
  bench)
    install_missing
    build_windows
    windows_side bench
    ;;
  windows-demo)
    prepare_wine
    ./sim/run-demo.sh "$root/build"
    ;;
  windows-test)
    prepare_wine
    echo "== benchmarks, each briefly (reported, never asserted; in full: ./build.sh bench)"
    ./bench/run-all.sh "$root/build" --brief
    echo "== Windows tests under Wine"
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  windows-bench)
    prepare_wine
    echo "== benchmarks (reported, never asserted)"
    ./bench/run-all.sh "$root/build" "${soak_frames[@]}"
    ;;
  *)
    echo "usage: $0 [test | bench [--soak-frames N]]" >&2
    exit 2
    ;;
esac
