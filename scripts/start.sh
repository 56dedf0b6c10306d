#!/usr/bin/env bash
# Sets the machine up, builds the tool and starts it under Wine. Without a
# DISPLAY it starts a private Xvfb and notes it, so that scripts/screenshot.sh
# (from another shell) can show what is on it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh" --target PinyinRenamer
"$here/scripts/wineprefix.sh"
. "$here/scripts/display.sh"
pinyin_start_display
record="${TMPDIR:-/tmp}/pinyin-renamer-display"
echo "$DISPLAY" > "$record"
trap 'rm -f "$record"; pinyin_stop_display' EXIT
echo "display $DISPLAY: the start-up message box comes first; look with scripts/screenshot.sh" >&2
wine "${PINYIN_BUILD_DIR:-$here/build}/app/PinyinRenamer.exe"
