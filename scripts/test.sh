#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test program under
# Wine on a private Xvfb display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh"
# The prefix is checked even when the package set-up is skipped: a prefix
# without the font replacements draws other glyphs than the tool gets.
"$here/scripts/wineprefix.sh"
. "$here/scripts/display.sh"
PINYIN_OWN_DISPLAY=1 pinyin_start_display
cd "${PINYIN_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j4 "$@"
