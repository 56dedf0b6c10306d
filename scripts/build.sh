#!/usr/bin/env bash
# Sets the machine up (idempotent) and builds everything into build/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ "${PINYIN_SKIP_SETUP:-0}" = 1 ] || "$here/scripts/setup.sh"
build="${PINYIN_BUILD_DIR:-$here/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "build: configuring $build" >&2
  cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
echo "build: compiling into $build" >&2
cmake --build "$build" -j"$(nproc)" "$@"
