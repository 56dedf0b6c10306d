#!/usr/bin/env bash
# Builds the gallery of skinned controls, runs it on a private Xvfb display
# (it presses, focuses and releases every control itself) and saves the
# screen into a PNG whose path it prints. The flavour is the one that runs
# here, or PINYIN_FLAVOUR.
#   scripts/gallery.sh [file.png]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
export PINYIN_FLAVOUR=${PINYIN_FLAVOUR:-$PINYIN_RUN_FLAVOUR} PINYIN_FLAVOURS=${PINYIN_FLAVOUR:-$PINYIN_RUN_FLAVOUR}
pinyin_say_flavours run
"$here/scripts/build.sh" --target skin_gallery >/dev/null
. "$here/scripts/wine-env.sh"
pinyin_hold_prefix
"$here/scripts/wineprefix.sh"
. "$here/scripts/display.sh"
PINYIN_OWN_DISPLAY=1 pinyin_start_display
out=${1:-${TMPDIR:-/tmp}/pinyin-gallery-$(date +%Y%m%d-%H%M%S).png}
log=$(mktemp)
"$PINYIN_WINE" "$PINYIN_BUILD/tests/gallery/skin_gallery.exe" 60 >"$log" 2>&1 &
gallery=$!
for _ in $(seq 600); do grep -q ready "$log" && break; sleep 0.1; done
if ! grep -q ready "$log"; then
  echo "the gallery did not come up:" >&2; cat "$log" >&2; kill "$gallery" 2>/dev/null || true
  rm -f "$log"; exit 1
fi
import -display "$DISPLAY" -window root "$out"
kill "$gallery" 2>/dev/null || true
rm -f "$log"
echo "$out"
