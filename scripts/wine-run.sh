#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix and locale, in the
# flavour PINYIN_FLAVOUR names (the build's own emulator line sets it).
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh" || exit
. "$here/scripts/flavour.sh"
pinyin_probe_32bit && pinyin_runs_here "$PINYIN_FLAVOUR" wine-run || exit
[ -x "$PINYIN_WINE" ] || { echo "wine-run: $PINYIN_WINE is not installed: run scripts/setup.sh" >&2; exit 127; }
exec "$PINYIN_WINE" "$@"
