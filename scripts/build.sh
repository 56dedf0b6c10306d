#!/usr/bin/env bash
# Sets the machine up (idempotent) and builds every flavour (PINYIN_FLAVOURS;
# or the one PINYIN_FLAVOUR names), each in its own folder: build/ the 32-bit
# program, build-win64/ the 64-bit one. Both build on every machine, whether or
# not it runs 32-bit programs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
pinyin_say_flavours
[ "${PINYIN_SKIP_SETUP:-0}" = 1 ] || "$here/scripts/setup.sh"
for flavour in ${PINYIN_FLAVOUR:-$PINYIN_FLAVOURS}; do
  (
    PINYIN_FLAVOUR=$flavour
    . "$here/scripts/wine-env.sh"
    case $flavour in
    win32) toolchain=mingw-i686.cmake ;;
    win64) toolchain=mingw-x86_64.cmake ;;
    esac
    # Configured only by a configure that succeeded: one that failed (say, a
    # compiler not installed yet) can leave a CMakeCache.txt without the build
    # files, and its cached answers are not trusted again.
    configured="$PINYIN_BUILD/.pinyin-configured"
    if [ ! -f "$configured" ] || { [ ! -f "$PINYIN_BUILD/Makefile" ] && [ ! -f "$PINYIN_BUILD/build.ninja" ]; }; then
      fresh=()
      [ ! -f "$PINYIN_BUILD/CMakeCache.txt" ] || fresh=(--fresh)
      echo "build: configuring $PINYIN_BUILD ($flavour${fresh:+, afresh: no configure there is known to have finished})" >&2
      rm -f "$configured"
      log=$(mktemp)
      if ! cmake "${fresh[@]}" -S "$here" -B "$PINYIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/$toolchain" \
               -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1; then
        echo "build: configuring $PINYIN_BUILD ($flavour) failed; the next run configures it again. CMake said:" >&2
        grep -v '^--' "$log" | grep . | tail -15 >&2
        rm -f "$log"; exit 1
      fi
      rm -f "$log"
      touch "$configured"
    fi
    echo "build: compiling into $PINYIN_BUILD ($flavour)" >&2
    cmake --build "$PINYIN_BUILD" -j"$(nproc)" "$@"
  )
done
