#!/usr/bin/env bash
# Sets the machine up (idempotent) and builds every flavour this machine tests
# (PINYIN_FLAVOURS; or the one PINYIN_FLAVOUR names), each in its own folder:
# build/ the 32-bit program, build-win64/ the 64-bit one.
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
    if [ ! -f "$PINYIN_BUILD/CMakeCache.txt" ]; then
      echo "build: configuring $PINYIN_BUILD ($flavour)" >&2
      cmake -S "$here" -B "$PINYIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/$toolchain" \
            -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    echo "build: compiling into $PINYIN_BUILD ($flavour)" >&2
    cmake --build "$PINYIN_BUILD" -j"$(nproc)" "$@"
  )
done
