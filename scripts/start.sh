#!/usr/bin/env bash
# Sets the machine up, builds the tool and starts it under Wine: the 32-bit
# program where this machine runs 32-bit programs, else the 64-bit one.
# Without a DISPLAY it starts a private Xvfb and notes it, so that
# scripts/screenshot.sh (from another shell) can show what is on it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
export PINYIN_FLAVOURS=$PINYIN_RUN_FLAVOUR
pinyin_say_flavours run
[ "${PINYIN_SKIP_SETUP:-0}" = 1 ] || "$here/scripts/setup.sh"
export PINYIN_FLAVOUR=$PINYIN_RUN_FLAVOUR
PINYIN_SKIP_SETUP=1 "$here/scripts/build.sh" --target PinyinRenamer
. "$here/scripts/wine-env.sh"
pinyin_hold_prefix
"$here/scripts/wineprefix.sh"
. "$here/scripts/display.sh"
pinyin_start_display
record="${TMPDIR:-/tmp}/pinyin-renamer-display"
echo "$DISPLAY" > "$record"
trap 'rm -f "$record"; pinyin_stop_display' EXIT
echo "display $DISPLAY: the $PINYIN_FLAVOUR tool; the start-up message box comes first; look with scripts/screenshot.sh" >&2
"$PINYIN_WINE" "$PINYIN_BUILD/app/PinyinRenamer.exe"
