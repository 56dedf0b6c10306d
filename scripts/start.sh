#!/usr/bin/env bash
# Sets the machine up, builds the tool and starts it under Wine. Without a
# DISPLAY it starts a private Xvfb (look at it with scripts/screenshot.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh" --target PinyinRenamer
"$here/scripts/wineprefix.sh"
. "$here/scripts/display.sh"
pinyin_start_display
echo "display $DISPLAY" >&2
wine "${PINYIN_BUILD_DIR:-$here/build}/app/PinyinRenamer.exe"
