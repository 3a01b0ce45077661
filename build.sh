#!/usr/bin/env bash
# Two commands, both from a fresh Debian machine:
#   ./build.sh        installs what is missing, builds Wardrobe.asi and the simulated
#                     host, and runs the demo scenario (screenshots in build/demo/)
#   ./build.sh test   installs what is missing, builds, runs every test (Windows tests
#                     under Wine, native tests under sanitizers, a bounded fuzz run)
#                     and reports the benchmarks
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
mode=${1:-demo}
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-i686-dev wine wine32:i386
          googletest libstb-dev fonts-dejavu-core clang libclang-rt-14-dev g++)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_windows() {
  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build build -j "$jobs"
  # A fresh Wine prefix takes a few seconds to create: do it once, before any test.
  if [ ! -f build/wineprefix/system.reg ]; then
    WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$root/build/wineprefix" wineserver -w || true
  fi
}

build_native() {
  CC=clang CXX=clang++ cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build/native -j "$jobs"
}

stop_wine() {
  WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true
}

install_missing
case "$mode" in
  demo)
    build_windows
    trap stop_wine EXIT
    ./sim/run-demo.sh "$root/build"
    ;;
  test)
    build_windows
    build_native
    trap stop_wine EXIT
    echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
    ctest --test-dir build/native --output-on-failure
    echo "== fuzzing the INI reader (${FUZZ_SECONDS:-30} s)"
    # New inputs go to a scratch corpus in the build tree; the seeds stay as committed.
    mkdir -p build/native/fuzz-corpus
    build/native/ini_fuzzer -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=0 -artifact_prefix=build/native/ \
      build/native/fuzz-corpus tests/native/corpus 2>&1 | tail -n 3
    echo "== benchmarks (reported, never asserted)"
    ./bench/run-all.sh "$root/build"
    echo "== Windows tests under Wine"
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  *)
    echo "usage: $0 [test]" >&2
    exit 2
    ;;
esac
